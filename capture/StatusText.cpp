#include "capture/StatusText.h"

#include "capture/TextFormat.h"

std::string PreviewStatusText(LONG width, LONG height)
{
    return FormatText("Preview: %ld x %ld", width, height);
}

std::string CaptureStatusText(const char* path, LONG width, LONG height)
{
    return FormatText("Capturing %s (%ldx%ld)", path ? path : "", width, height);
}
