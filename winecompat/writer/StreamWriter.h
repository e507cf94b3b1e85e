// A file writer filter whose input pin offers IStream (see WriterPin.h).
#pragma once

#include <unknwn.h>

HRESULT CreateStreamWriter(REFIID riid, void** ppv);
