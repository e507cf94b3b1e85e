// regsvr32 entry points: our class key, and TreatAs on the platform's capture graph
// builder so that every CoCreateInstance of it in the prefix reaches our wrapper.
#include <windows.h>
#include <strmif.h>
#include <uuids.h>

#include <string>

#include "ModuleLife.h"
#include "RegistryKey.h"
#include "WinecompatGuids.h"

namespace {

std::wstring GuidText(REFGUID guid)
{
    wchar_t text[40] = {};
    StringFromGUID2(guid, text, ARRAYSIZE(text));
    return text;
}

std::wstring ClassKeyPath(REFCLSID clsid)
{
    return L"CLSID\\" + GuidText(clsid);
}

HRESULT SetStringValue(HKEY key, const wchar_t* name, const std::wstring& value)
{
    DWORD bytes = static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t));
    LONG rc = RegSetValueExW(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()), bytes);
    return HRESULT_FROM_WIN32(rc);
}

HRESULT WriteKey(const std::wstring& path, const wchar_t* name, const std::wstring& value)
{
    RegistryKey key;
    LONG rc = RegCreateKeyExW(HKEY_CLASSES_ROOT, path.c_str(), 0, nullptr, 0, KEY_SET_VALUE,
                              nullptr, key.Receive(), nullptr);
    if (rc != ERROR_SUCCESS)
        return HRESULT_FROM_WIN32(rc);
    return SetStringValue(key.Get(), name, value);
}

HRESULT ModulePath(std::wstring* path)
{
    wchar_t buffer[MAX_PATH] = {};
    DWORD length = GetModuleFileNameW(ModuleHandle(), buffer, ARRAYSIZE(buffer));
    if (length == 0 || length >= ARRAYSIZE(buffer))
        return E_FAIL;
    path->assign(buffer, length);
    return S_OK;
}

bool TreatAsPointsToUs()
{
    std::wstring path = ClassKeyPath(CLSID_CaptureGraphBuilder2) + L"\\TreatAs";
    wchar_t value[40] = {};
    DWORD bytes = sizeof(value) - sizeof(wchar_t);
    LONG rc = RegGetValueW(HKEY_CLASSES_ROOT, path.c_str(), nullptr, RRF_RT_REG_SZ, nullptr, value, &bytes);
    return rc == ERROR_SUCCESS && GuidText(CLSID_TarnviewCaptureGraphBuilder) == value;
}

HRESULT DeleteTree(const std::wstring& path)
{
    LONG rc = RegDeleteTreeW(HKEY_CLASSES_ROOT, path.c_str());
    if (rc == ERROR_FILE_NOT_FOUND)
        rc = ERROR_SUCCESS;
    if (rc == ERROR_SUCCESS)
        rc = RegDeleteKeyW(HKEY_CLASSES_ROOT, path.c_str());
    return rc == ERROR_SUCCESS || rc == ERROR_FILE_NOT_FOUND ? S_OK : HRESULT_FROM_WIN32(rc);
}

HRESULT RegisterOurClass()
{
    std::wstring dll;
    HRESULT hr = ModulePath(&dll);
    const std::wstring key = ClassKeyPath(CLSID_TarnviewCaptureGraphBuilder);
    if (SUCCEEDED(hr))
        hr = WriteKey(key, nullptr, L"Tarnview capture graph builder (Wine)");
    if (SUCCEEDED(hr))
        hr = WriteKey(key + L"\\InprocServer32", nullptr, dll);
    if (SUCCEEDED(hr))
        hr = WriteKey(key + L"\\InprocServer32", L"ThreadingModel", L"Both");
    return hr;
}

}  // namespace

extern "C" HRESULT WINAPI DllUnregisterServer()
{
    HRESULT hr = S_OK;
    // Someone else's TreatAs is not ours to remove.
    if (TreatAsPointsToUs())
        hr = DeleteTree(ClassKeyPath(CLSID_CaptureGraphBuilder2) + L"\\TreatAs");
    HRESULT classHr = DeleteTree(ClassKeyPath(CLSID_TarnviewCaptureGraphBuilder));
    return FAILED(hr) ? hr : classHr;
}

extern "C" HRESULT WINAPI DllRegisterServer()
{
    HRESULT hr = RegisterOurClass();
    if (SUCCEEDED(hr))
        hr = WriteKey(ClassKeyPath(CLSID_CaptureGraphBuilder2) + L"\\TreatAs", nullptr,
                      GuidText(CLSID_TarnviewCaptureGraphBuilder));
    if (FAILED(hr))
        DllUnregisterServer();
    return hr;
}
