// The MJPEG decompressor's registration: its class (CLSID_MjpegDec, served by this DLL)
// and its filter entry with the merit Windows gives it, so that intelligent connect
// picks it for MJPG before the AVI Decompressor.
#pragma once

#include <windows.h>

HRESULT RegisterMjpegDecoder();
HRESULT UnregisterMjpegDecoder();
