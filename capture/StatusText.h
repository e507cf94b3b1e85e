// The status lines that the graph builders show in IDC_STATUS, built whole.
#pragma once

#include <windows.h>

#include <string>

// "Preview: %d x %d"
std::string PreviewStatusText(LONG width, LONG height);

// "Capturing %s (%dx%d)"; the path can be a full 259 characters.
std::string CaptureStatusText(const char* path, LONG width, LONG height);
