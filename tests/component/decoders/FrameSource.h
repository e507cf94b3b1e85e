// A source filter of the tests: one output pin offering one video type, through which
// the test sends the frames it made (YUV or JPEG bytes), from its own thread.
#pragma once

#include <windows.h>
#include <dshow.h>
#include <wrl/client.h>

#include <vector>

#include "comkit/MediaType.h"

namespace testsource
{

// A VIDEOINFOHEADER video type of the given FOURCC (also its subtype), size and depth;
// `frameBytes` is the largest sample.
comkit::MediaType VideoType(DWORD fourcc, LONG width, LONG height, WORD bitCount, DWORD frameBytes);

class FrameSource;

// Makes the filter; *source points into it for as long as `filter` lives.
HRESULT CreateFrameSource(const comkit::MediaType& type, Microsoft::WRL::ComPtr<IBaseFilter>* filter,
                          FrameSource** source);

// Delivers one frame downstream with the given sample times, as a key frame.
HRESULT SendFrame(FrameSource* source, const std::vector<BYTE>& frame, REFERENCE_TIME start,
                  REFERENCE_TIME stop);

}  // namespace testsource
