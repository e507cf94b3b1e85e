#include "vcam/filter/JpegEncoder.h"

#include "comkit/Variant.h"

using Microsoft::WRL::ComPtr;

namespace
{

HRESULT AskQuality(IPropertyBag2* options, float quality)
{
    PROPBAG2 option = {};
    option.pstrName = const_cast<LPOLESTR>(L"ImageQuality");
    comkit::Variant value;
    value.Get()->vt = VT_R4;
    value.Get()->fltVal = quality;
    return options->Write(1, &option, value.Get());
}

}  // namespace

HRESULT JpegEncoder::Encode(const BYTE* bgr, LONG width, LONG height, LONG stride, BYTE* out, LONG capacity,
                            LONG* written)
{
    HRESULT hr = Prepare();
    ComPtr<IWICStream> stream;
    if (SUCCEEDED(hr))
        hr = m_factory->CreateStream(&stream);
    if (SUCCEEDED(hr))
        hr = stream->InitializeFromMemory(out, static_cast<DWORD>(capacity));
    ComPtr<IWICBitmapEncoder> encoder;
    if (SUCCEEDED(hr))
        hr = m_encoderClass->CreateInstance(nullptr, IID_PPV_ARGS(&encoder));
    if (SUCCEEDED(hr))
        hr = encoder->Initialize(stream.Get(), WICBitmapEncoderNoCache);
    if (SUCCEEDED(hr))
        hr = EncodeFrame(encoder.Get(), bgr, width, height, stride);
    if (SUCCEEDED(hr))
        hr = encoder->Commit();
    ULARGE_INTEGER end = {};
    if (SUCCEEDED(hr))
        hr = stream->Seek(LARGE_INTEGER{}, STREAM_SEEK_CUR, &end);
    if (FAILED(hr))
        return hr;
    *written = static_cast<LONG>(end.QuadPart);
    return S_OK;
}

HRESULT JpegEncoder::Prepare()
{
    HRESULT hr = S_OK;
    if (!m_factory)
        hr = CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER, IID_PPV_ARGS(&m_factory));
    if (SUCCEEDED(hr) && !m_encoderClass)
        hr = CoGetClassObject(CLSID_WICJpegEncoder, CLSCTX_INPROC_SERVER, nullptr, IID_PPV_ARGS(&m_encoderClass));
    return hr;
}

HRESULT JpegEncoder::EncodeFrame(IWICBitmapEncoder* encoder, const BYTE* bgr, LONG width, LONG height,
                                 LONG stride)
{
    ComPtr<IWICBitmapFrameEncode> frame;
    ComPtr<IPropertyBag2> options;
    HRESULT hr = encoder->CreateNewFrame(&frame, &options);
    if (SUCCEEDED(hr) && options)
        AskQuality(options.Get(), Quality);  // an encoder without the option keeps its own
    if (SUCCEEDED(hr))
        hr = frame->Initialize(options.Get());
    if (SUCCEEDED(hr))
        hr = frame->SetSize(static_cast<UINT>(width), static_cast<UINT>(height));
    WICPixelFormatGUID format = GUID_WICPixelFormat24bppBGR;
    if (SUCCEEDED(hr))
        hr = frame->SetPixelFormat(&format);
    if (SUCCEEDED(hr) && format != GUID_WICPixelFormat24bppBGR)
        hr = WINCODEC_ERR_UNSUPPORTEDPIXELFORMAT;
    if (SUCCEEDED(hr))
        hr = frame->WritePixels(static_cast<UINT>(height), static_cast<UINT>(stride),
                                static_cast<UINT>(stride) * static_cast<UINT>(height), const_cast<BYTE*>(bgr));
    return SUCCEEDED(hr) ? frame->Commit() : hr;
}
