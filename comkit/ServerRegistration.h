// What DllRegisterServer writes for an in-process class, and what undoes it.
#pragma once

#include <windows.h>

#include <string>

namespace comkit
{

// The file of the DLL (or program) this library is linked into.
HRESULT ThisModulePath(std::wstring* path);

// "{xxxxxxxx-...}"; empty when the text cannot be made.
std::wstring GuidText(REFGUID guid);
// "CLSID\{...}" below HKEY_CLASSES_ROOT.
std::wstring ClassKeyPath(REFCLSID clsid);

// Writes a REG_SZ value below HKEY_CLASSES_ROOT, creating the key.
HRESULT WriteClassesString(const std::wstring& keyPath, const wchar_t* name, const std::wstring& value);
// Removes a key below HKEY_CLASSES_ROOT with everything under it; a missing key is S_OK.
HRESULT DeleteClassesTree(const std::wstring& keyPath);

// The class key, named `name`, served by this module ("Both" threading).
HRESULT RegisterInprocServer(REFCLSID clsid, const wchar_t* name);
HRESULT UnregisterInprocServer(REFCLSID clsid);

}  // namespace comkit
