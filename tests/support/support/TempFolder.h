// Folders and files the tests write: under /tmp, so that the Unix checkers reach them
// by the same name, and removed with their files afterwards.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace support
{

class TempFolder
{
public:
    // "/tmp/tarnview-<name>-<process>-<serial>"
    explicit TempFolder(const std::string& name = "test");
    ~TempFolder();  // keeps the files when TARNVIEW_KEEP_SCRATCH is set, for a look at them
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    const std::string& Path() const { return m_windowsPath; }   // "Z:\tmp\...\" (ends in a backslash)
    const std::string& UnixPath() const { return m_unixPath; }  // "/tmp/..." (no final slash)
    std::string UnixFile(const std::string& name) const { return m_unixPath + "/" + name; }
    std::string WindowsFile(const std::string& name) const { return m_windowsPath + name; }

private:
    std::string m_unixPath;
    std::string m_windowsPath;
};

std::vector<BYTE> ReadFileBytes(const std::string& windowsPath);
bool FileExists(const std::string& windowsPath);
long long FileSize(const std::string& windowsPath);  // -1 when missing

}  // namespace support
