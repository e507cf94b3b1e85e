// Looks at tarnview-winecompat.dll as COM loaded it into the test process.
#pragma once

#include <windows.h>

inline HMODULE WinecompatModule()
{
    return GetModuleHandleW(L"tarnview-winecompat.dll");
}

// -1 when the DLL is not loaded.
inline LONG WinecompatLiveObjects()
{
    HMODULE module = WinecompatModule();
    if (!module)
        return -1;
    auto live = reinterpret_cast<LONG(WINAPI*)()>(
        reinterpret_cast<void*>(GetProcAddress(module, "WinecompatLiveObjects")));
    return live ? live() : -1;
}

template <class Fn>
Fn WinecompatExport(const char* name)
{
    HMODULE module = WinecompatModule();
    return module ? reinterpret_cast<Fn>(reinterpret_cast<void*>(GetProcAddress(module, name))) : nullptr;
}
