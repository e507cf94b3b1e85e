// The virtual camera's settings page (CLSID_TarnviewVcamScenePage): star density,
// brightness, exposure and whether the frame number shows, applied through IVcamScene.
#pragma once

#include <windows.h>

// Creates a new page and queries it for riid. The page counts itself as a live
// object of the DLL for as long as it exists.
HRESULT CreateScenePage(REFIID riid, void** ppv);
