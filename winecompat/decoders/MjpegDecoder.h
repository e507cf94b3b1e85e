// The MJPEG Decompressor Windows has (CLSID_MjpegDec), for Wine: a transform filter on
// comkit's base that decodes each MJPG sample through WIC's JPEG decoder into RGB.
#pragma once

#include <windows.h>
#include <strmif.h>

HRESULT CreateMjpegDecoder(REFIID riid, void** ppv);
