// The dialog's timers: the recording's one-second progress, the preview's pulse.
#pragma once

#include <windows.h>

constexpr UINT_PTR kRecordingTimerId = 1;
constexpr UINT_PTR kPreviewWatchTimerId = 2;
