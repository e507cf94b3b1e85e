#include "decoders/WicJpegDecoder.h"

using Microsoft::WRL::ComPtr;

namespace decoders
{

namespace
{

// WIC hands rows out top down; a bottom-up DIB takes them in reverse, one at a time
// (the JPEG decoder keeps the decoded picture, so a row is a copy).
HRESULT CopyRows(IWICBitmapSource* source, const RgbTarget& out)
{
    const UINT stride = static_cast<UINT>(RgbFrameBytes(out.width, 1, out.bitCount));
    const LONG rows = out.height < 0 ? -out.height : out.height;
    if (out.height < 0)
        return source->CopyPixels(nullptr, stride, static_cast<UINT>(stride * rows), out.data);
    for (LONG y = 0; y < rows; ++y)
    {
        const WICRect row = {0, y, out.width, 1};
        HRESULT hr =
            source->CopyPixels(&row, stride, stride, out.data + static_cast<size_t>(stride) * (rows - 1 - y));
        if (FAILED(hr))
            return hr;
    }
    return S_OK;
}

}  // namespace

HRESULT WicJpegDecoder::Start()
{
    HRESULT hr = S_OK;
    if (!m_factory)
        hr = CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER, IID_PPV_ARGS(&m_factory));
    if (SUCCEEDED(hr) && !m_decoderClass)
        hr = CoGetClassObject(CLSID_WICJpegDecoder, CLSCTX_INPROC_SERVER, nullptr, IID_PPV_ARGS(&m_decoderClass));
    return hr;
}

void WicJpegDecoder::Stop()
{
    m_decoderClass.Reset();
    m_factory.Reset();
}

HRESULT WicJpegDecoder::OpenFrame(const BYTE* jpeg, size_t bytes, ComPtr<IWICBitmapFrameDecode>* frame) const
{
    if (!m_factory || !m_decoderClass)
        return E_UNEXPECTED;
    if (!jpeg || bytes == 0 || bytes > MAXDWORD)
        return E_INVALIDARG;
    ComPtr<IWICStream> stream;
    ComPtr<IWICBitmapDecoder> decoder;
    HRESULT hr = m_factory->CreateStream(&stream);
    if (SUCCEEDED(hr))
        hr = stream->InitializeFromMemory(const_cast<BYTE*>(jpeg), static_cast<DWORD>(bytes));
    if (SUCCEEDED(hr))
        hr = m_decoderClass->CreateInstance(nullptr, IID_PPV_ARGS(&decoder));
    if (SUCCEEDED(hr))
        hr = decoder->Initialize(stream.Get(), WICDecodeMetadataCacheOnDemand);
    if (SUCCEEDED(hr))
        hr = decoder->GetFrame(0, frame->ReleaseAndGetAddressOf());
    return hr;
}

HRESULT WicJpegDecoder::Decode(const BYTE* jpeg, size_t bytes, const RgbTarget& out) const
{
    const size_t needed = RgbFrameBytes(out.width, out.height, out.bitCount);
    if (!out.data || needed == 0 || out.bytes < needed)
        return E_INVALIDARG;
    ComPtr<IWICBitmapFrameDecode> frame;
    HRESULT hr = OpenFrame(jpeg, bytes, &frame);
    UINT width = 0, height = 0;
    if (SUCCEEDED(hr))
        hr = frame->GetSize(&width, &height);
    const UINT rows = static_cast<UINT>(out.height < 0 ? -out.height : out.height);
    if (SUCCEEDED(hr) && (width != static_cast<UINT>(out.width) || height != rows))
        hr = HRESULT_FROM_WIN32(ERROR_INVALID_DATA);
    WICPixelFormatGUID format{};
    if (SUCCEEDED(hr))
        hr = frame->GetPixelFormat(&format);
    const WICPixelFormatGUID& wanted =
        out.bitCount == 24 ? GUID_WICPixelFormat24bppBGR : GUID_WICPixelFormat32bppBGR;
    ComPtr<IWICBitmapSource> source;
    if (SUCCEEDED(hr) && format == wanted)
        hr = frame.As(&source);
    else if (SUCCEEDED(hr))
        hr = WICConvertBitmapSource(wanted, frame.Get(), &source);
    if (SUCCEEDED(hr))
        hr = CopyRows(source.Get(), out);
    return hr;
}

}  // namespace decoders
