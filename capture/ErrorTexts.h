// Every text that the graph builders hand to CCaptureDlg::ReportError: each builder's texts
// for the steps both share (GraphAssembly), then its own in the order in which it can meet them.
#pragma once

#include "capture/GraphAssembly.h"

namespace ErrorText
{
// Preview graph.
constexpr GraphBuildTexts kPreviewSteps = {"Error creating low-level video filter",
                                           "Error assigning capture stream to capture graph", false,
                                           "Can't get a ICaptureGraphBuilder2 reference", "SetGraph failed"};
constexpr const char kNoCamera[] = "Cannot find Nightframe or any other camera\r\n\r\n";
constexpr const char kCreateSampleGrabber[] = "Could not create SampleGrabber (is qedit.dll registered?)";
constexpr const char kSetMediaType[] = "Could not set media type";
constexpr const char kAddGrabber[] = "Error assigning grabber to capture graph";
constexpr const char kMakeNullRenderer[] = "Unable to make a NULL renderer";
constexpr const char kAddNullRenderer[] = "Can't add the filter to graph";
constexpr const char kBuildGraph[] = "Can't build the graph";
constexpr const char kReadConnectedType[] = "Could not read the connected media type";
// Both graphs.
constexpr const char kGetVideoWindow[] = "Could not get video window interface";
constexpr const char kRunGraph[] = "Could not run graph";
// Recording graph.
constexpr GraphBuildTexts kRecordingSteps = {
    "Could not create filter graph", "Could not put capture device in graph", true,
    "Could not create capture graph builder2", "Could not set filtergraph on capture graph builder2"};
constexpr const char kMuxAndWriter[] = "Could not create/hookup mux and writer";
constexpr const char kConnectCapturePin[] = "Could not connect capture pin";
constexpr const char kRenderCapturePin[] = "Could not render capture pin";
}  // namespace ErrorText
