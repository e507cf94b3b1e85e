// regsvr32 support: the class keys of the filter and of its settings page. Devices
// are registered separately (vcamctl), since one class serves every device.
#include <windows.h>
#include <string>

#include "vcam/VcamGuids.h"

namespace {

class RegKey
{
public:
    RegKey() = default;
    ~RegKey() { if (m_key) RegCloseKey(m_key); }
    RegKey(const RegKey&) = delete;
    RegKey& operator=(const RegKey&) = delete;
    HKEY* Receive() { return &m_key; }
    HKEY Get() const { return m_key; }

private:
    HKEY m_key = nullptr;
};

std::wstring ClsidKeyPath(REFCLSID clsid)
{
    wchar_t text[40] = {};
    if (StringFromGUID2(clsid, text, ARRAYSIZE(text)) == 0)
        return std::wstring();
    return std::wstring(L"CLSID\\") + text;
}

HRESULT SetString(HKEY key, const wchar_t* name, const std::wstring& value)
{
    const DWORD bytes = static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t));
    const LONG rc = RegSetValueExW(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()), bytes);
    return HRESULT_FROM_WIN32(rc);
}

HRESULT ModulePath(std::wstring* path)
{
    HMODULE self = nullptr;
    if (!GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                            reinterpret_cast<LPCWSTR>(&ModulePath), &self))
        return HRESULT_FROM_WIN32(GetLastError());
    wchar_t buffer[MAX_PATH] = {};
    const DWORD length = GetModuleFileNameW(self, buffer, ARRAYSIZE(buffer));
    if (length == 0 || length >= ARRAYSIZE(buffer))
        return E_FAIL;
    path->assign(buffer, length);
    return S_OK;
}

HRESULT RegisterComClass(REFCLSID clsid, const wchar_t* name, const std::wstring& modulePath)
{
    const std::wstring keyPath = ClsidKeyPath(clsid);
    RegKey classKey;
    LONG rc = RegCreateKeyExW(HKEY_CLASSES_ROOT, keyPath.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr,
                              classKey.Receive(), nullptr);
    if (rc != ERROR_SUCCESS)
        return HRESULT_FROM_WIN32(rc);
    HRESULT hr = SetString(classKey.Get(), nullptr, name);
    if (FAILED(hr))
        return hr;
    RegKey serverKey;
    rc = RegCreateKeyExW(classKey.Get(), L"InprocServer32", 0, nullptr, 0, KEY_WRITE, nullptr,
                         serverKey.Receive(), nullptr);
    if (rc != ERROR_SUCCESS)
        return HRESULT_FROM_WIN32(rc);
    hr = SetString(serverKey.Get(), nullptr, modulePath);
    if (FAILED(hr))
        return hr;
    return SetString(serverKey.Get(), L"ThreadingModel", L"Both");
}

HRESULT UnregisterComClass(REFCLSID clsid)
{
    const LONG rc = RegDeleteTreeW(HKEY_CLASSES_ROOT, ClsidKeyPath(clsid).c_str());
    if (rc == ERROR_SUCCESS || rc == ERROR_FILE_NOT_FOUND)
        return S_OK;
    return HRESULT_FROM_WIN32(rc);
}

} // namespace

extern "C" HRESULT WINAPI DllRegisterServer()
{
    try {
        std::wstring path;
        HRESULT hr = ModulePath(&path);
        if (FAILED(hr))
            return hr;
        hr = RegisterComClass(CLSID_TarnviewVirtualCamera, L"Tarnview Virtual Camera", path);
        if (FAILED(hr))
            return hr;
        return RegisterComClass(CLSID_TarnviewVcamScenePage, L"Tarnview Virtual Camera Picture Page", path);
    } catch (...) {
        return E_OUTOFMEMORY;
    }
}

extern "C" HRESULT WINAPI DllUnregisterServer()
{
    try {
        const HRESULT filterResult = UnregisterComClass(CLSID_TarnviewVirtualCamera);
        const HRESULT pageResult = UnregisterComClass(CLSID_TarnviewVcamScenePage);
        return FAILED(filterResult) ? filterResult : pageResult;
    } catch (...) {
        return E_OUTOFMEMORY;
    }
}
