// The AVI multiplexer filter put in place of Wine's (CLSID_AviDest is treated as it in
// the prefix): one video input, written as a crash-safe OpenDML file (OpenDmlWriter)
// through the IStream of the file writer on its output.
#pragma once

#include <strmif.h>

HRESULT CreateAviMux(REFIID riid, void** ppv);
