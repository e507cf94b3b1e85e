// MJPG frames at little cost, as a camera's hardware encoder makes them: the picture is
// encoded by WIC as horizontal strips one MCU row high, each its own small JPEG, and
// only strips whose pixels changed since the last frame are encoded again (the frame
// stamp's, the moving stars'). A frame is one baseline JPEG: one header with a restart
// interval of one strip, the strips' entropy-coded data between RST markers. When the
// encoder's strips do not share one header (other tables per strip), whole pictures
// are encoded instead.
#pragma once

#include <windows.h>

#include <vector>

#include "vcam/filter/JpegEncoder.h"
#include "vcam/filter/JpegLayout.h"

class StripJpegEncoder
{
public:
    static constexpr LONG StripHeight = 16;  // the MCU of 4:2:0, or two of 4:4:4 and 4:2:2

    // As JpegEncoder::Encode; a picture of another size than the last starts afresh.
    HRESULT Encode(const BYTE* bgr, LONG width, LONG height, LONG stride, BYTE* out, LONG capacity,
                   LONG* written);

private:
    struct Strip
    {
        std::vector<BYTE> pixels;  // packed BGR rows as last encoded
        std::vector<BYTE> data;    // their entropy-coded data
    };

    void Restart(LONG width, LONG height);
    HRESULT EncodeChangedStrips(const BYTE* bgr, LONG stride);
    bool StripChanged(const Strip& strip, const BYTE* rows, LONG count, LONG stride) const;
    HRESULT EncodeStrip(Strip* strip, const BYTE* rows, LONG count, LONG stride);
    bool TakeHeader(const JpegLayout& layout);
    HRESULT Stitch(BYTE* out, LONG capacity, LONG* written) const;

    JpegEncoder m_jpeg;
    LONG m_width = 0;
    LONG m_height = 0;
    bool m_whole = false;           // strips cannot be joined: whole pictures
    std::vector<Strip> m_strips;
    std::vector<BYTE> m_encoded;    // one strip's JPEG
    std::vector<BYTE> m_reference;  // the first strip's header, which every strip must share
    JpegLayout m_referenceLayout;
    std::vector<BYTE> m_header;     // the joined frame's header
};
