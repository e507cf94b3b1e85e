// The class factory of the capture graph builder.
#pragma once

#include <unknwn.h>

HRESULT GetCaptureBuilderFactory(REFIID riid, void** ppv);
