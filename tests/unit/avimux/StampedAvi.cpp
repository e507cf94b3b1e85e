#include "StampedAvi.h"

#include "snapshot/BmpLayout.h"

#include <cstring>

#include "TestFiles.h"
#include "avimux/FileHandleSink.h"
#include "vcam/frame/FrameStamp.h"

namespace
{

FrameLayout LayoutOf(const AviVideoFormat& format)
{
    const BITMAPINFOHEADER& bmi = format.Header();
    return FrameLayout{bmi.biWidth, bmi.biHeight, Rgb24Stride(bmi.biWidth)};
}

}  // namespace

AviVideoFormat Rgb24Format(LONG width, LONG height, REFERENCE_TIME frameDuration)
{
    AviVideoFormat format;
    format.bitmapInfo.resize(sizeof(BITMAPINFOHEADER));
    BITMAPINFOHEADER bmi = MakeStillInfoHeader(width, height);  // uncompressed RGB24
    bmi.biSizeImage = static_cast<DWORD>(Rgb24Stride(width) * (height < 0 ? -height : height));
    memcpy(format.bitmapInfo.data(), &bmi, sizeof(bmi));
    format.frameDuration = frameDuration;
    return format;
}

DWORD FrameBytesOf(const AviVideoFormat& format)
{
    return format.Header().biSizeImage;
}

std::vector<BYTE> StampedFrame(const AviVideoFormat& format, uint32_t number)
{
    std::vector<BYTE> dib(FrameBytesOf(format));
    for (size_t i = 0; i < dib.size(); ++i)
        dib[i] = static_cast<BYTE>(i * 7 + number * 13);
    DrawFrameStamp(LayoutOf(format), dib.data(), number);
    return dib;
}

std::vector<BYTE> TopDownPacked(const AviVideoFormat& format, const std::vector<BYTE>& dib)
{
    const FrameLayout layout = LayoutOf(format);
    const LONG rows = layout.height < 0 ? -layout.height : layout.height;
    const size_t packedRow = static_cast<size_t>(layout.width) * 3;
    std::vector<BYTE> packed(packedRow * rows);
    for (LONG y = 0; y < rows; ++y)
    {
        const LONG stored = layout.height < 0 ? y : rows - 1 - y;
        memcpy(&packed[packedRow * y], &dib[static_cast<size_t>(layout.stride) * stored], packedRow);
    }
    return packed;
}

HANDLE CreateAviFile(const std::string& unixPath)
{
    return CreateFileA(WindowsPathA(unixPath).c_str(), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ, nullptr,
                       CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
}

WrittenAvi WriteStampedAvi(const std::string& unixPath, const AviVideoFormat& format, uint32_t count,
                           ULONGLONG segmentLimit)
{
    std::vector<uint32_t> slots(count);
    for (uint32_t n = 0; n < count; ++n)
        slots[n] = n;
    return WriteStampedAviAt(unixPath, format, slots, segmentLimit);
}

WrittenAvi WriteStampedAviAt(const std::string& unixPath, const AviVideoFormat& format,
                             const std::vector<uint32_t>& slots, ULONGLONG segmentLimit)
{
    WrittenAvi written;
    HANDLE file = CreateAviFile(unixPath);
    if (file == INVALID_HANDLE_VALUE)
        return written;
    FileHandleSink sink(file);
    OpenDmlWriter writer(sink, format, FrameBytesOf(format), segmentLimit);
    written.hr = writer.Start();
    for (uint32_t n = 0; n < slots.size() && SUCCEEDED(written.hr); ++n)
    {
        const std::vector<BYTE> frame = StampedFrame(format, n);
        written.hr = writer.WriteFrameAt(slots[n] * EffectiveFrameDuration(format.frameDuration),
                                         frame.data(), static_cast<DWORD>(frame.size()), true);
    }
    if (SUCCEEDED(written.hr))
        written.hr = writer.Finish();
    written.frames = writer.Frames();
    written.segments = writer.Segments();
    CloseHandle(file);
    return written;
}

bool NumberedFromZero(const std::vector<uint32_t>& numbers)
{
    for (size_t i = 0; i < numbers.size(); ++i)
    {
        if (numbers[i] != i)
            return false;
    }
    return true;
}
