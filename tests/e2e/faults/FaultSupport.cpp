#include "FaultSupport.h"

#include <windows.h>

#include "driver/TarnviewProcess.h"

#include "driver/UnixTools.h"

namespace e2e {

std::string SmallDisk::Mount(const std::string& windowsFolder, const std::string& size)
{
    std::string folder = UnixPath(windowsFolder);
    while (folder.size() > 1 && folder.back() == '/')
        folder.pop_back();
    const UnixResult result = RunUnix("mount -t tmpfs -o size=" + size + " tmpfs " + ShellQuote(folder));
    if (!result.started)
        return "the mount command could not be started";
    if (result.exitCode != 0)
        return "mount failed (" + std::to_string(result.exitCode) + "): " + result.output;
    m_unixFolder = folder;
    return std::string();
}

// Lazily: the program's last handles on the folder may still be closing.
SmallDisk::~SmallDisk()
{
    if (!m_unixFolder.empty())
        RunUnix("umount -l " + ShellQuote(m_unixFolder));
}

void DeleteCaptures(const std::string& baseName)
{
    if (baseName.empty())
        return;
    const std::string folder = DocumentsFolder();
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((folder + baseName + "*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE)
        return;
    do {
        DeleteFileA((folder + found.cFileName).c_str());
    } while (FindNextFileA(search, &found));
    FindClose(search);
}

}  // namespace e2e
