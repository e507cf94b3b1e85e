// The frame size in a connected video media type.
#pragma once

#include <windows.h>
#include <dshow.h>

// Reads biWidth and biHeight (as the format states them) from a VIDEOINFOHEADER or
// VIDEOINFOHEADER2 block that is as long as its structure. False for any other type.
bool ReadFrameSize(const AM_MEDIA_TYPE& type, LONG* width, LONG* height);
