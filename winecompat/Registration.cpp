// regsvr32 entry points: our class keys, and TreatAs on the platform's classes we wrap
// so that every CoCreateInstance of them in the prefix reaches our wrappers.
#include <windows.h>
#include <strmif.h>
#include <uuids.h>

#include <string>

#include "ModuleLife.h"
#include "RegistryKey.h"
#include "WinecompatGuids.h"

namespace {

struct WrappedClass {
    const CLSID* platform;
    const CLSID* ours;
    const wchar_t* name;
};

const WrappedClass kWrappedClasses[] = {
    {&CLSID_CaptureGraphBuilder2, &CLSID_TarnviewCaptureGraphBuilder, L"Tarnview capture graph builder (Wine)"},
    {&CLSID_FilterGraph, &CLSID_TarnviewFilterGraph, L"Tarnview filter graph (Wine)"},
    {&CLSID_AviDest, &CLSID_TarnviewAviMux, L"Tarnview AVI mux (Wine)"},
};

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

bool TreatAsPointsToUs(const WrappedClass& wrapped)
{
    std::wstring path = ClassKeyPath(*wrapped.platform) + L"\\TreatAs";
    wchar_t value[40] = {};
    DWORD bytes = sizeof(value) - sizeof(wchar_t);
    LONG rc = RegGetValueW(HKEY_CLASSES_ROOT, path.c_str(), nullptr, RRF_RT_REG_SZ, nullptr, value, &bytes);
    return rc == ERROR_SUCCESS && GuidText(*wrapped.ours) == value;
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

HRESULT RegisterOurClass(const WrappedClass& wrapped)
{
    std::wstring dll;
    HRESULT hr = ModulePath(&dll);
    const std::wstring key = ClassKeyPath(*wrapped.ours);
    if (SUCCEEDED(hr))
        hr = WriteKey(key, nullptr, wrapped.name);
    if (SUCCEEDED(hr))
        hr = WriteKey(key + L"\\InprocServer32", nullptr, dll);
    if (SUCCEEDED(hr))
        hr = WriteKey(key + L"\\InprocServer32", L"ThreadingModel", L"Both");
    if (SUCCEEDED(hr))
        hr = WriteKey(ClassKeyPath(*wrapped.platform) + L"\\TreatAs", nullptr, GuidText(*wrapped.ours));
    return hr;
}

HRESULT UnregisterOurClass(const WrappedClass& wrapped)
{
    HRESULT hr = S_OK;
    // Someone else's TreatAs is not ours to remove.
    if (TreatAsPointsToUs(wrapped))
        hr = DeleteTree(ClassKeyPath(*wrapped.platform) + L"\\TreatAs");
    HRESULT classHr = DeleteTree(ClassKeyPath(*wrapped.ours));
    return FAILED(hr) ? hr : classHr;
}

}  // namespace

extern "C" HRESULT WINAPI DllUnregisterServer()
{
    HRESULT result = S_OK;
    for (const WrappedClass& wrapped : kWrappedClasses) {
        HRESULT hr = UnregisterOurClass(wrapped);
        if (SUCCEEDED(result))
            result = hr;
    }
    return result;
}

extern "C" HRESULT WINAPI DllRegisterServer()
{
    HRESULT hr = S_OK;
    for (const WrappedClass& wrapped : kWrappedClasses) {
        if (SUCCEEDED(hr))
            hr = RegisterOurClass(wrapped);
    }
    if (FAILED(hr))
        DllUnregisterServer();
    return hr;
}
