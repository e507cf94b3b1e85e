#include "comkit/ServerRegistration.h"

#include "comkit/Module.h"
#include "comkit/RegistryKey.h"

namespace comkit
{

HRESULT ThisModulePath(std::wstring* path)
{
    const HMODULE self = ThisModule();
    if (!self)
        return HRESULT_FROM_WIN32(GetLastError());
    wchar_t buffer[MAX_PATH] = {};
    const DWORD length = GetModuleFileNameW(self, buffer, ARRAYSIZE(buffer));
    if (length == 0 || length >= ARRAYSIZE(buffer))
        return E_FAIL;
    try
    {
        path->assign(buffer, length);
    }
    catch (...)
    {
        return E_OUTOFMEMORY;
    }
    return S_OK;
}

std::wstring GuidText(REFGUID guid)
{
    wchar_t text[40] = {};
    if (StringFromGUID2(guid, text, ARRAYSIZE(text)) == 0)
        return std::wstring();
    return text;
}

std::wstring ClassKeyPath(REFCLSID clsid)
{
    return L"CLSID\\" + GuidText(clsid);
}

HRESULT WriteClassesString(const std::wstring& keyPath, const wchar_t* name, const std::wstring& value)
{
    RegistryKey key;
    LONG rc = RegCreateKeyExW(HKEY_CLASSES_ROOT, keyPath.c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr,
                              key.Receive(), nullptr);
    if (rc != ERROR_SUCCESS)
        return HRESULT_FROM_WIN32(rc);
    const DWORD bytes = static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t));
    rc = RegSetValueExW(key.Get(), name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()), bytes);
    return HRESULT_FROM_WIN32(rc);
}

HRESULT DeleteClassesTree(const std::wstring& keyPath)
{
    LONG rc = RegDeleteTreeW(HKEY_CLASSES_ROOT, keyPath.c_str());
    // Some registries leave the emptied key itself in place.
    if (rc == ERROR_SUCCESS || rc == ERROR_FILE_NOT_FOUND)
        rc = RegDeleteKeyW(HKEY_CLASSES_ROOT, keyPath.c_str());
    return rc == ERROR_SUCCESS || rc == ERROR_FILE_NOT_FOUND ? S_OK : HRESULT_FROM_WIN32(rc);
}

HRESULT RegisterInprocServer(REFCLSID clsid, const wchar_t* name)
{
    try
    {
        std::wstring module;
        HRESULT hr = ThisModulePath(&module);
        const std::wstring key = ClassKeyPath(clsid);
        if (SUCCEEDED(hr))
            hr = WriteClassesString(key, nullptr, name);
        if (SUCCEEDED(hr))
            hr = WriteClassesString(key + L"\\InprocServer32", nullptr, module);
        if (SUCCEEDED(hr))
            hr = WriteClassesString(key + L"\\InprocServer32", L"ThreadingModel", L"Both");
        return hr;
    }
    catch (...)
    {
        return E_OUTOFMEMORY;
    }
}

HRESULT UnregisterInprocServer(REFCLSID clsid)
{
    try
    {
        return DeleteClassesTree(ClassKeyPath(clsid));
    }
    catch (...)
    {
        return E_OUTOFMEMORY;
    }
}

}  // namespace comkit
