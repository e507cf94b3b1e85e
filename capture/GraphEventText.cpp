#include "capture/GraphEventText.h"

#include <dshow.h>

#include <cctype>

#include "capture/TextFormat.h"

namespace
{
struct CauseWords
{
    HRESULT hr;
    const char* text;
};

const CauseWords kCauses[] = {
    {HRESULT_FROM_WIN32(ERROR_DISK_FULL), "the disk is full"},
    {HRESULT_FROM_WIN32(ERROR_HANDLE_DISK_FULL), "the disk is full"},
    {STG_E_MEDIUMFULL, "the disk is full"},
    {E_ACCESSDENIED, "access denied"},
    {STG_E_ACCESSDENIED, "access denied"},
    {HRESULT_FROM_WIN32(ERROR_WRITE_PROTECT), "access denied"},
    {HRESULT_FROM_WIN32(ERROR_SHARING_VIOLATION), "the file is in use"},
    {HRESULT_FROM_WIN32(ERROR_LOCK_VIOLATION), "the file is in use"},
    {HRESULT_FROM_WIN32(ERROR_PATH_NOT_FOUND), "path not found"},
    {HRESULT_FROM_WIN32(ERROR_FILE_NOT_FOUND), "path not found"},
    {STG_E_PATHNOTFOUND, "path not found"},
    {HRESULT_FROM_WIN32(ERROR_INVALID_NAME), "invalid name"},
    {HRESULT_FROM_WIN32(ERROR_BAD_PATHNAME), "invalid name"},
    {HRESULT_FROM_WIN32(ERROR_DIRECTORY), "invalid name"},
    {HRESULT_FROM_WIN32(ERROR_FILE_EXISTS), "a file of that name exists"},
    {HRESULT_FROM_WIN32(ERROR_ALREADY_EXISTS), "a file of that name exists"},
    {HRESULT_FROM_WIN32(ERROR_DEVICE_NOT_CONNECTED), "the camera was unplugged"},
    {HRESULT_FROM_WIN32(ERROR_GEN_FAILURE), "the device failed"},
    {E_OUTOFMEMORY, "out of memory"},
};

// The system's own words, lower-case first letter, without the closing full stop.
std::string SystemText(HRESULT hr)
{
    char buffer[256] = {};
    const DWORD length = FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
                                        static_cast<DWORD>(hr), 0, buffer, sizeof buffer, nullptr);
    std::string text(buffer, length < sizeof buffer ? length : 0);
    while (!text.empty() && (std::isspace(static_cast<unsigned char>(text.back())) || text.back() == '.'))
        text.pop_back();
    if (!text.empty())
        text[0] = static_cast<char>(std::tolower(static_cast<unsigned char>(text[0])));
    return text;
}

}  // namespace

GraphEventMeaning ClassifyGraphEvent(long code, LONG_PTR param1, LONG_PTR param2)
{
    switch (code)
    {
    case EC_COMPLETE:
        return {GraphEventKind::StreamEnded, S_OK};
    case EC_ERRORABORT:
    case EC_STREAM_ERROR_STOPPED:
        return {GraphEventKind::Failed, static_cast<HRESULT>(param1)};
    case EC_DEVICE_LOST:
        return {param2 == 0 ? GraphEventKind::DeviceLost : GraphEventKind::DeviceBack, S_OK};
    default:
        return {GraphEventKind::Other, S_OK};
    }
}

std::string FailureCauseText(HRESULT hr)
{
    for (const CauseWords& cause : kCauses)
        if (cause.hr == hr)
            return cause.text;
    std::string text = SystemText(hr);
    return text.empty() ? "an unexpected error" : text;
}

std::string StopCauseText(const GraphEventMeaning& meaning)
{
    switch (meaning.kind)
    {
    case GraphEventKind::StreamEnded:
        return "the stream ended";
    case GraphEventKind::Failed:
        return FailureCauseText(meaning.cause);
    case GraphEventKind::DeviceLost:
        return "the camera was unplugged";
    default:
        return kCameraStoppedText;
    }
}

std::string RecordingStoppedText(unsigned keptSeconds, const std::string& cause)
{
    return FormatText("Stopped after %u s: %s", keptSeconds, cause.c_str());
}

std::string SnapshotNotWrittenText(HRESULT hr, const char* fileName)
{
    return FormatText("Snapshot not written: %s (%s)", FailureCauseText(hr).c_str(),
                      fileName ? fileName : "");
}

std::string RecordingNotStartedText(HRESULT hr, const char* fileName)
{
    return FormatText("Recording not started: %s (%s)", FailureCauseText(hr).c_str(),
                      fileName ? fileName : "");
}

std::string CameraLostText(const char* cameraName)
{
    return FormatText("Camera lost: %s", cameraName ? cameraName : "");
}
