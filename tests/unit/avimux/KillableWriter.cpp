#include "KillableWriter.h"

#include <string>

#include "StampedAvi.h"
#include "avimux/FileHandleSink.h"

int RunKillableWriter(const std::string& unixPath, const std::string& progressHandle)
{
    HANDLE mapping = reinterpret_cast<HANDLE>(static_cast<ULONG_PTR>(std::stoull(progressHandle)));
    auto* progress =
        mapping ? static_cast<WriterProgress*>(MapViewOfFile(mapping, FILE_MAP_WRITE, 0, 0, 0)) : nullptr;
    HANDLE file = CreateAviFile(unixPath);
    if (!progress || file == INVALID_HANDLE_VALUE)
        return 2;
    const AviVideoFormat format = Rgb24Format(320, 240);
    FileHandleSink sink(file);
    OpenDmlWriter writer(sink, format, FrameBytesOf(format), kKillTestSegmentLimit);
    if (FAILED(writer.Start()))
        return 3;
    // Bounded, in case nobody kills us; a few ms apart so the killer can pick its moment.
    for (uint32_t n = 0; n < 5000; ++n)
    {
        const std::vector<BYTE> frame = StampedFrame(format, n);
        if (FAILED(writer.WriteFrame(frame.data(), static_cast<DWORD>(frame.size()))))
            return 4;
        InterlockedExchange(&progress->segments, static_cast<LONG>(writer.Segments()));
        InterlockedExchange(&progress->frames, static_cast<LONG>(writer.Frames()));
        Sleep(2);
    }
    return 0;
}
