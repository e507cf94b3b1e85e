// JPEG test frames: the colour bars with the camera's frame stamp, encoded with the
// platform's WIC JPEG encoder as an MJPG camera's frames are.
#pragma once

#include <windows.h>

#include <cstdint>
#include <vector>

namespace testframes
{

// Top-down BGR24 rows without padding: the bars below a stamp carrying `number`.
std::vector<BYTE> MakeBarsBgr(LONG width, LONG height, uint32_t number);

// One baseline JPEG of top-down BGR24 rows, as the virtual camera encodes its MJPG
// frames; empty on failure. COM must be joined.
std::vector<BYTE> EncodeJpeg(const std::vector<BYTE>& bgr, LONG width, LONG height);

}  // namespace testframes
