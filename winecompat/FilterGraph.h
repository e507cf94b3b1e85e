// The filter graph that the prefix hands out for CLSID_FilterGraph: Wine's own graph,
// aggregated, with an IVideoWindow of ours in front of it that places a child video
// window in its owner's coordinates (Wine's uses screen coordinates) and keeps it
// shown when its style changes.
#pragma once

#include <unknwn.h>

HRESULT CreateFilterGraph(REFIID riid, void** ppv);
