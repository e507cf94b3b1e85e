// What a graph event means for the dialog, and the words it shows for a failure.
#pragma once

#include <windows.h>

#include <string>

enum class GraphEventKind
{
    Other,        // nothing the dialog acts on
    StreamEnded,  // EC_COMPLETE: every stream has ended
    Failed,       // EC_ERRORABORT, EC_STREAM_ERROR_STOPPED: cause in the HRESULT
    DeviceLost,   // EC_DEVICE_LOST with 0
    DeviceBack,   // EC_DEVICE_LOST with 1
};

struct GraphEventMeaning
{
    GraphEventKind kind;
    HRESULT cause;  // for Failed; S_OK otherwise
};

GraphEventMeaning ClassifyGraphEvent(long code, LONG_PTR param1, LONG_PTR param2);

// The cause of a failure in words for the status lines ("the disk is full", "access
// denied", ...). An HRESULT without words of ours gets the system's message, and one
// without that a plain "an unexpected error": never a bare number.
std::string FailureCauseText(HRESULT hr);

// The end of a recording that the dialog did not ask for, in words.
std::string StopCauseText(const GraphEventMeaning& meaning);
constexpr const char kCameraStoppedText[] = "the camera stopped";
constexpr const char kWritingStoppedText[] = "the file stopped growing";

// "Stopped after 5 s: the disk is full"
std::string RecordingStoppedText(unsigned keptSeconds, const std::string& cause);

// "Snapshot not written: the disk is full (Tarnview_Capture_0002.bmp)"
std::string SnapshotNotWrittenText(HRESULT hr, const char* fileName);

// "Recording not started: access denied (Tarnview_Capture_0002.avi)"
std::string RecordingNotStartedText(HRESULT hr, const char* fileName);

// "Camera lost: <name>"
std::string CameraLostText(const char* cameraName);
