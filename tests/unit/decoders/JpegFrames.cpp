#include "JpegFrames.h"

#include <wincodec.h>
#include <wrl/client.h>

#include "YuvBars.h"
#include "vcam/frame/FrameStamp.h"

using Microsoft::WRL::ComPtr;

namespace testframes
{

std::vector<BYTE> MakeBarsBgr(LONG width, LONG height, uint32_t number)
{
    const size_t stride = static_cast<size_t>(width) * 3;
    std::vector<BYTE> bgr(stride * height);
    for (LONG y = 0; y < height; ++y)
    {
        for (LONG x = 0; x < width; ++x)
        {
            const decoders::Rgb& c = kBarsRgb[BarAt(x, width)];
            BYTE* px = &bgr[y * stride + x * 3];
            px[0] = c.b, px[1] = c.g, px[2] = c.r;
        }
    }
    DrawFrameStamp(FrameLayout{width, -height, static_cast<LONG>(stride)}, bgr.data(), number);
    return bgr;
}

namespace
{

HRESULT WriteFrame(IWICBitmapEncoder* encoder, const std::vector<BYTE>& bgr, LONG width, LONG height,
                   float quality)
{
    ComPtr<IWICBitmapFrameEncode> frame;
    ComPtr<IPropertyBag2> options;
    HRESULT hr = encoder->CreateNewFrame(&frame, &options);
    PROPBAG2 option = {};
    option.pstrName = const_cast<LPOLESTR>(L"ImageQuality");
    VARIANT value;
    VariantInit(&value);
    value.vt = VT_R4;
    value.fltVal = quality;
    if (SUCCEEDED(hr))
        hr = options->Write(1, &option, &value);
    if (SUCCEEDED(hr))
        hr = frame->Initialize(options.Get());
    if (SUCCEEDED(hr))
        hr = frame->SetSize(width, height);
    WICPixelFormatGUID format = GUID_WICPixelFormat24bppBGR;
    if (SUCCEEDED(hr))
        hr = frame->SetPixelFormat(&format);
    if (SUCCEEDED(hr))
        hr = frame->WritePixels(height, width * 3, static_cast<UINT>(bgr.size()),
                                const_cast<BYTE*>(bgr.data()));
    if (SUCCEEDED(hr))
        hr = frame->Commit();
    return hr;
}

}  // namespace

std::vector<BYTE> EncodeJpeg(const std::vector<BYTE>& bgr, LONG width, LONG height, float quality)
{
    ComPtr<IWICImagingFactory> factory;
    ComPtr<IStream> memory;
    ComPtr<IWICBitmapEncoder> encoder;
    HRESULT hr =
        CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER, IID_PPV_ARGS(&factory));
    if (SUCCEEDED(hr))
        hr = CreateStreamOnHGlobal(nullptr, TRUE, &memory);
    if (SUCCEEDED(hr))
        hr = factory->CreateEncoder(GUID_ContainerFormatJpeg, nullptr, &encoder);
    if (SUCCEEDED(hr))
        hr = encoder->Initialize(memory.Get(), WICBitmapEncoderNoCache);
    if (SUCCEEDED(hr))
        hr = WriteFrame(encoder.Get(), bgr, width, height, quality);
    if (SUCCEEDED(hr))
        hr = encoder->Commit();
    STATSTG stat = {};
    if (SUCCEEDED(hr))
        hr = memory->Stat(&stat, STATFLAG_NONAME);
    std::vector<BYTE> jpeg;
    if (FAILED(hr))
        return jpeg;
    jpeg.resize(static_cast<size_t>(stat.cbSize.QuadPart));
    const LARGE_INTEGER start = {};
    ULONG read = 0;
    if (FAILED(memory->Seek(start, STREAM_SEEK_SET, nullptr)) ||
        FAILED(memory->Read(jpeg.data(), static_cast<ULONG>(jpeg.size()), &read)) || read != jpeg.size())
        jpeg.clear();
    return jpeg;
}

}  // namespace testframes
