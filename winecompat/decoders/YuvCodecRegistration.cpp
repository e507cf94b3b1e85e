// regsvr32 entry points of the YUV codec: Windows finds VfW codecs by the values
// vidc.<FOURCC> = <driver file> under Drivers32, so that is what registration writes.
#include <windows.h>

#include <string>

#include "comkit/RegistryKey.h"
#include "comkit/ServerRegistration.h"

namespace
{

const wchar_t kDrivers32[] = L"Software\\Microsoft\\Windows NT\\CurrentVersion\\Drivers32";
const wchar_t* const kValues[] = {L"vidc.YUY2", L"vidc.YUYV", L"vidc.UYVY", L"vidc.YVYU",
                                  L"vidc.I420", L"vidc.IYUV", L"vidc.NV12"};

// winmm cuts a driver's file name at its first space (what follows are arguments).
HRESULT DriverFileName(std::wstring* name)
{
    HRESULT hr = comkit::ThisModulePath(name);
    if (FAILED(hr) || name->find(L' ') == std::wstring::npos)
        return hr;
    wchar_t shortName[MAX_PATH] = {};
    const DWORD length = GetShortPathNameW(name->c_str(), shortName, ARRAYSIZE(shortName));
    if (length == 0 || length >= ARRAYSIZE(shortName) || wcschr(shortName, L' '))
        return HRESULT_FROM_WIN32(ERROR_BAD_PATHNAME);
    name->assign(shortName, length);
    return S_OK;
}

// This module's driver file name and the Drivers32 key, opened for `access`.
HRESULT OpenDrivers32(REGSAM access, std::wstring* file, comkit::RegistryKey* key)
{
    HRESULT hr = DriverFileName(file);
    if (FAILED(hr))
        return hr;
    return HRESULT_FROM_WIN32(RegCreateKeyExW(HKEY_LOCAL_MACHINE, kDrivers32, 0, nullptr, 0, access, nullptr,
                                              key->Receive(), nullptr));
}

bool ValueIs(HKEY key, const wchar_t* value, const std::wstring& expected)
{
    wchar_t text[MAX_PATH] = {};
    DWORD bytes = sizeof(text) - sizeof(wchar_t);
    return RegGetValueW(key, nullptr, value, RRF_RT_REG_SZ, nullptr, text, &bytes) == ERROR_SUCCESS &&
           _wcsicmp(text, expected.c_str()) == 0;
}

}  // namespace

extern "C" HRESULT WINAPI DllUnregisterServer()
{
    try
    {
        std::wstring file;
        comkit::RegistryKey key;
        HRESULT hr = OpenDrivers32(KEY_QUERY_VALUE | KEY_SET_VALUE, &file, &key);
        // Another codec's values are not ours to remove.
        for (const wchar_t* value : kValues)
        {
            if (SUCCEEDED(hr) && ValueIs(key.Get(), value, file))
                hr = HRESULT_FROM_WIN32(RegDeleteValueW(key.Get(), value));
        }
        return hr;
    }
    catch (...)
    {
        return E_OUTOFMEMORY;
    }
}

extern "C" HRESULT WINAPI DllRegisterServer()
{
    try
    {
        std::wstring file;
        comkit::RegistryKey key;
        HRESULT hr = OpenDrivers32(KEY_SET_VALUE, &file, &key);
        const DWORD bytes = static_cast<DWORD>((file.size() + 1) * sizeof(wchar_t));
        for (const wchar_t* value : kValues)
        {
            if (SUCCEEDED(hr))
                hr = HRESULT_FROM_WIN32(RegSetValueExW(key.Get(), value, 0, REG_SZ,
                                                       reinterpret_cast<const BYTE*>(file.c_str()), bytes));
        }
        if (FAILED(hr))
            DllUnregisterServer();
        return hr;
    }
    catch (...)
    {
        return E_OUTOFMEMORY;
    }
}
