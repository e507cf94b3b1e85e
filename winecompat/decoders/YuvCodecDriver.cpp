// The YUV codec's driver procedure: an installable VfW decompressor as Windows' msyuv
// and iyuv_32 are, which the AVI Decompressor finds through msvfw32 (vidc.<FOURCC>
// under Drivers32) and drives with ICM_DECOMPRESS_QUERY, _BEGIN and ICM_DECOMPRESS.
#include <windows.h>
#include <vfw.h>

#include <cwchar>

#include "decoders/YuvCodecFormats.h"

namespace
{

using namespace decoders;

const BITMAPINFOHEADER* Header(LPARAM value)
{
    return reinterpret_cast<const BITMAPINFOHEADER*>(value);
}

// Instances keep no state: the driver id is the FOURCC the codec was opened for.
LRESULT Open(const ICOPEN* open)
{
    if (!open)
        return 1;  // the session's own open, before any codec instance
    const bool decompress = open->dwFlags == ICMODE_DECOMPRESS || open->dwFlags == ICMODE_FASTDECOMPRESS ||
                            open->dwFlags == ICMODE_QUERY;
    YuvLayout layout;
    if (open->fccType != ICTYPE_VIDEO || !decompress || !LayoutOfFourcc(open->fccHandler, &layout))
        return 0;
    const_cast<ICOPEN*>(open)->dwError = ICERR_OK;
    return open->fccHandler;
}

LRESULT Info(DWORD handler, ICINFO* info, LPARAM bytes)
{
    if (!info || bytes < static_cast<LPARAM>(sizeof(ICINFO)))
        return 0;
    *info = ICINFO{};
    info->dwSize = sizeof(ICINFO);
    info->fccType = ICTYPE_VIDEO;
    info->fccHandler = handler;
    info->dwVersion = 0x00010000;
    info->dwVersionICM = ICVERSION;
    wcsncpy(info->szName, L"TarnviewYUV", ARRAYSIZE(info->szName) - 1);
    wcsncpy(info->szDescription, L"Tarnview YUV to RGB decompressor", ARRAYSIZE(info->szDescription) - 1);
    return sizeof(ICINFO);
}

LRESULT GetFormat(LPARAM in, LPARAM out)
{
    if (!AcceptConversion(Header(in), nullptr))
        return ICERR_BADFORMAT;
    if (!out)
        return sizeof(BITMAPINFOHEADER);
    DefaultOutput(*Header(in), reinterpret_cast<BITMAPINFOHEADER*>(out));
    return ICERR_OK;
}

LRESULT Decompress(const ICDECOMPRESS* job)
{
    YuvLayout layout;
    if (!job || !AcceptInput(job->lpbiInput, &layout) || !AcceptConversion(job->lpbiInput, job->lpbiOutput))
        return ICERR_BADFORMAT;
    if (job->dwFlags & ICDECOMPRESS_HURRYUP)
        return ICERR_OK;
    const YuvFrame frame = FrameOf(*job->lpbiInput, job->lpInput, layout);
    const RgbTarget target = TargetOf(*job->lpbiOutput, job->lpOutput);
    return ConvertToRgb(frame, target) ? ICERR_OK : ICERR_BADSIZE;
}

LRESULT CodecMessage(DWORD_PTR id, UINT message, LPARAM p1, LPARAM p2)
{
    switch (message)
    {
    case ICM_GETINFO:
        return Info(static_cast<DWORD>(id), reinterpret_cast<ICINFO*>(p1), p2);
    case ICM_DECOMPRESS_QUERY:
        return AcceptConversion(Header(p1), Header(p2)) ? ICERR_OK : ICERR_BADFORMAT;
    case ICM_DECOMPRESS_BEGIN:
        // Wine's AVI Decompressor begins with its input format given as the output too;
        // nothing is kept between frames, and each ICM_DECOMPRESS checks its own pair.
        return AcceptConversion(Header(p1), nullptr) ? ICERR_OK : ICERR_BADFORMAT;
    case ICM_DECOMPRESS_GET_FORMAT:
        return GetFormat(p1, p2);
    case ICM_DECOMPRESS:
        return Decompress(reinterpret_cast<const ICDECOMPRESS*>(p1));
    case ICM_DECOMPRESS_END:
        return ICERR_OK;
    default:
        return ICERR_UNSUPPORTED;
    }
}

}  // namespace

extern "C" LRESULT WINAPI DriverProc(DWORD_PTR id, HDRVR driver, UINT message, LPARAM p1, LPARAM p2)
{
    try
    {
        switch (message)
        {
        case DRV_LOAD:
        case DRV_FREE:
        case DRV_ENABLE:
        case DRV_DISABLE:
        case DRV_CLOSE:
            return 1;
        case DRV_OPEN:
            return Open(reinterpret_cast<const ICOPEN*>(p2));
        case DRV_INSTALL:
        case DRV_REMOVE:
            return DRVCNF_OK;
        case DRV_QUERYCONFIGURE:
            return 0;
        default:
            if (message < DRV_USER)
                return DefDriverProc(id, driver, message, p1, p2);
            return CodecMessage(id, message, p1, p2);
        }
    }
    catch (...)
    {
        return ICERR_INTERNAL;
    }
}
