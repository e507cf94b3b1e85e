#include "decoders/MjpegDecoder.h"

#include <uuids.h>

#include <algorithm>

#include "comkit/TransformFilter.h"
#include "comkit/Unknown.h"
#include "decoders/MjpegFormats.h"
#include "decoders/WicJpegDecoder.h"

namespace
{

using decoders::RgbTarget;

class MjpegDecoder : public comkit::TransformFilter
{
public:
    MjpegDecoder() : TransformFilter(CLSID_MjpegDec) {}

    static const comkit::InterfaceEntry* Interfaces()
    {
        using namespace comkit;
        return InterfaceTable<MjpegDecoder, Is<IBaseFilter>, As<IBaseFilter, IMediaFilter>,
                              As<IBaseFilter, IPersist>>();
    }

private:
    HRESULT CheckInputType(const AM_MEDIA_TYPE& input) override
    {
        return decoders::IsMjpegInput(input) ? S_OK : VFW_E_TYPE_NOT_ACCEPTED;
    }

    HRESULT OutputTypes(const AM_MEDIA_TYPE& input, std::vector<comkit::MediaType>* types) override
    {
        return decoders::RgbOutputTypes(input, types);
    }

    HRESULT CheckTransform(const AM_MEDIA_TYPE& input, const AM_MEDIA_TYPE& output) override
    {
        return decoders::IsRgbOutputFor(input, output) ? S_OK : VFW_E_TYPE_NOT_ACCEPTED;
    }

    HRESULT SizeOutputBuffers(const AM_MEDIA_TYPE& output, ALLOCATOR_PROPERTIES* properties) override
    {
        const BITMAPINFOHEADER* out = decoders::VideoBitmapHeader(output);
        if (!out)
            return VFW_E_TYPE_NOT_ACCEPTED;
        const long bytes =
            static_cast<long>(decoders::RgbFrameBytes(out->biWidth, out->biHeight, out->biBitCount));
        properties->cbBuffer = std::max(properties->cbBuffer, bytes);
        properties->cBuffers = std::max(properties->cBuffers, 1L);
        properties->cbAlign = std::max(properties->cbAlign, 1L);
        return S_OK;
    }

    // The factory is made here, on a thread in COM (the graph's), and used from the
    // streaming thread, which WIC's in-process classes allow.
    HRESULT OnStreamStart() override
    {
        comkit::MediaType output;
        HRESULT hr = OutputType(&output);
        const BITMAPINFOHEADER* out = decoders::VideoBitmapHeader(output.Get());
        if (SUCCEEDED(hr) && !out)
            hr = VFW_E_NOT_CONNECTED;
        if (SUCCEEDED(hr))
        {
            m_width = out->biWidth;
            m_height = out->biHeight;
            m_bitCount = out->biBitCount;
            hr = m_jpeg.Start();
        }
        return hr;
    }

    void OnStreamEnd() override { m_jpeg.Stop(); }

    // A frame that does not decode is dropped; the stream goes on with the next one.
    HRESULT Transform(IMediaSample* in, IMediaSample* out) override
    {
        BYTE* jpeg = nullptr;
        BYTE* rgb = nullptr;
        HRESULT hr = in->GetPointer(&jpeg);
        if (SUCCEEDED(hr))
            hr = out->GetPointer(&rgb);
        if (FAILED(hr))
            return hr;
        const long length = in->GetActualDataLength();
        const long room = out->GetSize();
        if (length <= 0 || room <= 0)
            return S_FALSE;
        const RgbTarget target{rgb, static_cast<size_t>(room), m_width, m_height, m_bitCount};
        if (FAILED(m_jpeg.Decode(jpeg, static_cast<size_t>(length), target)))
            return S_FALSE;
        return out->SetActualDataLength(
            static_cast<long>(decoders::RgbFrameBytes(m_width, m_height, m_bitCount)));
    }

    // Set when streaming starts; used under the stream lock only.
    decoders::WicJpegDecoder m_jpeg;
    LONG m_width = 0;
    LONG m_height = 0;
    WORD m_bitCount = 24;
};

}  // namespace

HRESULT CreateMjpegDecoder(REFIID riid, void** ppv)
{
    return comkit::CreateObject<MjpegDecoder>(riid, ppv);
}
