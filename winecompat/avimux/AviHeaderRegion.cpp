#include "AviHeaderRegion.h"

#include <cstring>

namespace
{

class ByteWriter
{
public:
    explicit ByteWriter(std::vector<BYTE>& bytes) : m_bytes(bytes) {}

    ULONGLONG Offset() const { return m_bytes.size(); }
    template <class T>
    ULONGLONG Put(const T& value)
    {
        return PutBytes(&value, sizeof(value));
    }
    ULONGLONG PutBytes(const void* data, size_t size)
    {
        ULONGLONG at = m_bytes.size();
        const BYTE* begin = static_cast<const BYTE*>(data);
        m_bytes.insert(m_bytes.end(), begin, begin + size);
        return at;
    }
    // A list's cb counts everything after itself.
    void CloseList(ULONGLONG listAt)
    {
        DWORD size = static_cast<DWORD>(m_bytes.size() - listAt - 8);
        memcpy(&m_bytes[listAt + offsetof(RIFFLIST, cb)], &size, sizeof(size));
    }

private:
    std::vector<BYTE>& m_bytes;
};

RIFFLIST List(FOURCC fcc, FOURCC type)
{
    return RIFFLIST{fcc, 4, type};
}

AVIMAINHEADER MainHeader(const AviVideoFormat& format, DWORD frameBytes)
{
    const BITMAPINFOHEADER& bmi = format.Header();
    const REFERENCE_TIME duration = EffectiveFrameDuration(format.frameDuration);
    AVIMAINHEADER avih = {};
    avih.fcc = FourCC("avih");
    avih.cb = sizeof(avih) - 8;
    avih.dwMicroSecPerFrame = static_cast<DWORD>(duration / 10);
    const ULONGLONG bytesPerSec = (frameBytes + 8ULL) * FramesPerSecondOf(duration);
    avih.dwMaxBytesPerSec = bytesPerSec > MAXDWORD ? MAXDWORD : static_cast<DWORD>(bytesPerSec);
    avih.dwFlags = AVIF_ISINTERLEAVED | AVIF_WASCAPTUREFILE;
    avih.dwStreams = 1;
    avih.dwSuggestedBufferSize = frameBytes > MAXDWORD - 8 ? MAXDWORD : frameBytes + 8;
    avih.dwWidth = static_cast<DWORD>(bmi.biWidth);
    avih.dwHeight = static_cast<DWORD>(bmi.biHeight < 0 ? -bmi.biHeight : bmi.biHeight);
    return avih;
}

AVISTREAMHEADER StreamHeader(const AviVideoFormat& format, DWORD frameBytes)
{
    const BITMAPINFOHEADER& bmi = format.Header();
    AVISTREAMHEADER strh = {};
    strh.fcc = FourCC("strh");
    strh.cb = sizeof(strh) - 8;
    strh.fccType = FourCC("vids");
    strh.fccHandler =
        bmi.biCompression == BI_RGB || bmi.biCompression == BI_BITFIELDS ? FourCC("DIB ") : bmi.biCompression;
    AviRateOf(format.frameDuration, &strh.dwRate, &strh.dwScale);
    strh.dwSuggestedBufferSize = frameBytes;
    strh.dwQuality = static_cast<DWORD>(-1);
    strh.rcFrame.right = static_cast<short>(bmi.biWidth);
    strh.rcFrame.bottom = static_cast<short>(bmi.biHeight < 0 ? -bmi.biHeight : bmi.biHeight);
    return strh;
}

AVISUPERINDEX EmptySuperIndex(DWORD chunkId)
{
    AVISUPERINDEX indx = {};
    indx.fcc = FourCC("indx");
    indx.cb = sizeof(indx) - 8;
    indx.wLongsPerEntry = 4;
    indx.bIndexType = AVI_INDEX_OF_INDEXES;
    indx.dwChunkId = chunkId;
    return indx;
}

}  // namespace

DWORD VideoChunkIdOf(const BITMAPINFOHEADER& header)
{
    const bool rgb = header.biCompression == BI_RGB || header.biCompression == BI_BITFIELDS;
    return rgb ? FourCC("00db") : FourCC("00dc");
}

AviHeaderRegion BuildHeaderRegion(const AviVideoFormat& format, DWORD frameBytes)
{
    AviHeaderRegion region;
    ByteWriter out(region.bytes);
    region.bytes.reserve(sizeof(AVISUPERINDEX) + 1024);

    const ULONGLONG riffAt = out.Put(List(FourCC("RIFF"), FourCC("AVI ")));
    region.riffSizeAt = riffAt + offsetof(RIFFLIST, cb);
    const ULONGLONG hdrlAt = out.Put(List(FourCC("LIST"), FourCC("hdrl")));
    const ULONGLONG avihAt = out.Put(MainHeader(format, frameBytes));
    region.avihFlagsAt = avihAt + offsetof(AVIMAINHEADER, dwFlags);
    region.avihTotalFramesAt = avihAt + offsetof(AVIMAINHEADER, dwTotalFrames);

    const ULONGLONG strlAt = out.Put(List(FourCC("LIST"), FourCC("strl")));
    const ULONGLONG strhAt = out.Put(StreamHeader(format, frameBytes));
    region.strhLengthAt = strhAt + offsetof(AVISTREAMHEADER, dwLength);
    const DWORD formatBytes = static_cast<DWORD>(format.bitmapInfo.size());
    out.Put(RIFFCHUNK{FourCC("strf"), formatBytes});
    out.PutBytes(format.bitmapInfo.data(), formatBytes);
    if (formatBytes & 1)
        out.Put(BYTE{0});
    region.superIndexAt = out.Put(EmptySuperIndex(VideoChunkIdOf(format.Header())));
    out.CloseList(strlAt);

    const ULONGLONG odmlAt = out.Put(List(FourCC("LIST"), FourCC("odml")));
    AVIEXTHEADER dmlh = {};
    dmlh.fcc = FourCC("dmlh");
    dmlh.cb = sizeof(dmlh) - 8;
    region.grandFramesAt = out.Put(dmlh) + offsetof(AVIEXTHEADER, dwGrandFrames);
    out.CloseList(odmlAt);
    out.CloseList(hdrlAt);
    out.CloseList(riffAt);
    return region;
}
