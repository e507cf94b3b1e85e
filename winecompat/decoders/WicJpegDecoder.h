// JPEG frames (one MJPG sample each) to RGB DIBs through the platform's WIC JPEG decoder.
#pragma once

#include <windows.h>
#include <wincodec.h>
#include <wrl/client.h>

#include "decoders/YuvToRgb.h"

namespace decoders
{

class WicJpegDecoder
{
public:
    // Makes the imaging factory and the decoders' class object; call on a thread that
    // has joined COM.
    HRESULT Start();
    void Stop();

    // Decodes one JPEG into `out`, whose size must be the picture's (any row order,
    // 24 or 32 bits). Fails, writing nothing, for a picture of another size or a buffer
    // too small; a damaged picture fails with the decoder's error.
    HRESULT Decode(const BYTE* jpeg, size_t bytes, const RgbTarget& out) const;

private:
    HRESULT OpenFrame(const BYTE* jpeg, size_t bytes,
                      Microsoft::WRL::ComPtr<IWICBitmapFrameDecode>* frame) const;

    Microsoft::WRL::ComPtr<IWICImagingFactory> m_factory;
    // Decoders come from the JPEG decoder's class object: the imaging factory's
    // CreateDecoder searches the registered codecs on every call.
    Microsoft::WRL::ComPtr<IClassFactory> m_decoderClass;
};

}  // namespace decoders
