// Baseline JPEG frames for the MJPG formats, encoded by the platform's WIC JPEG encoder
// (present on Windows and in Wine). One encoder per streaming thread.
#pragma once

#include <windows.h>
#include <wincodec.h>
#include <wrl/client.h>

class JpegEncoder
{
public:
    // Quality asked of the encoder (Wine's ignores it and uses libjpeg's 75): the stamp's
    // 8x8 cells lie on the 8x8 blocks, so they survive far lower qualities.
    static constexpr float Quality = 0.85f;

    // Encodes a top-down BGR24 picture into out[0..capacity); *written is the JPEG's size.
    // Fails when the JPEG would not fit.
    HRESULT Encode(const BYTE* bgr, LONG width, LONG height, LONG stride, BYTE* out, LONG capacity,
                   LONG* written);

private:
    HRESULT Prepare();
    HRESULT EncodeFrame(IWICBitmapEncoder* encoder, const BYTE* bgr, LONG width, LONG height, LONG stride);

    Microsoft::WRL::ComPtr<IWICImagingFactory> m_factory;
    // Encoders come from the JPEG encoder's class object: the imaging factory's
    // CreateEncoder searches the registered codecs on every call (in Wine about 0.9 ms,
    // more than a small picture's encoding).
    Microsoft::WRL::ComPtr<IClassFactory> m_encoderClass;
};
