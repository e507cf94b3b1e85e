// A scratch folder under /tmp for one test process, seen from both sides of Wine.
#pragma once

#include <string>

std::string ScratchDirUnix();                              // "/tmp/tarnview-winecompat-<pid>"
std::string WindowsPathA(const std::string& unixPath);     // "Z:\\tmp\\..."
std::wstring WindowsPathW(const std::string& unixPath);
bool FileExistsUnix(const std::string& unixPath);
long long FileSizeUnix(const std::string& unixPath);       // -1 when missing
void RemoveScratchDir();  // not when TARNVIEW_KEEP_SCRATCH is set
