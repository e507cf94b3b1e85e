// The capture graph builder that the prefix hands out for CLSID_CaptureGraphBuilder2:
// every call goes to Wine's own builder except SetOutputFileName, which Wine lacks.
#pragma once

#include <unknwn.h>

HRESULT CreateCaptureBuilder(REFIID riid, void** ppv);
