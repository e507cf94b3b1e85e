#include "FaultSupport.h"

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

}  // namespace e2e
