// Settings on the camera's capture pin that both graph builders apply through its
// IAMStreamConfig. Neither fails the build: a camera that cannot take them keeps its
// own format or rate.
#pragma once

#include <windows.h>
#include <dshow.h>

// Applies capability `formatIndex`. An index at or past the number of capabilities
// goes back to 0 (so repeated steps cycle); with no stream configuration, no
// capabilities or an unreadable one, nothing is applied and the index is 0 when there
// are no capabilities to count.
void ApplyCaptureFormat(ICaptureGraphBuilder2* builder, IBaseFilter* camera, int& formatIndex);

// AvgTimePerFrame of the capture pin's current format (100 ns); 0 when it cannot be read.
REFERENCE_TIME CurrentFrameInterval(ICaptureGraphBuilder2* builder, IBaseFilter* camera);

// Sets AvgTimePerFrame of the current VIDEOINFOHEADER format to 1/rate s. Any other
// current format, or one that cannot be read, leaves the camera at its own rate.
void ApplyFrameRate(ICaptureGraphBuilder2* builder, IBaseFilter* camera, UINT rate);
