// A scratch folder under /tmp for one test process, seen from both sides of Wine.
#pragma once

#include <string>

std::string ScratchDirUnix();                           // "/tmp/tarnview-winecompat-<pid>-<n>"
std::string WindowsPathA(const std::string& unixPath);  // "Z:\\tmp\\..."
std::wstring WindowsPathW(const std::string& unixPath);
bool FileExistsUnix(const std::string& unixPath);
// The folder goes at exit at the latest; the next ScratchDirUnix makes a new one.
void RemoveScratchDir();  // not when TARNVIEW_KEEP_SCRATCH is set
