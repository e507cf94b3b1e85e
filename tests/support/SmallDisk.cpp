#include "support/SmallDisk.h"

namespace support
{

std::string SmallDisk::Mount(const std::string& unixFolder, const std::string& size)
{
    std::string folder = unixFolder;
    while (folder.size() > 1 && folder.back() == '/')
        folder.pop_back();
    const std::string quoted = ShellQuote(folder);
    const bool existed = RunUnix("test -d " + quoted, 30000).exitCode == 0;
    const UnixResult result = RunUnix("mkdir -p " + quoted + " && mount -t tmpfs -o size=" + size +
                                          " tarnview-small-disk " + quoted,
                                      30000);
    if (!result.started)
        m_why = "the mount command could not be started";
    else if (result.exitCode != 0)
        m_why = "mount failed (" + std::to_string(result.exitCode) + "): " + result.output;
    else
    {
        m_folder = folder;
        m_madeFolder = !existed;
    }
    return m_why;
}

// Lazily: a program's last handles on the folder may still be closing.
SmallDisk::~SmallDisk()
{
    if (m_folder.empty())
        return;
    std::string command = "umount -l " + ShellQuote(m_folder);
    if (m_madeFolder)
        command += "; rmdir " + ShellQuote(m_folder);
    RunUnix(command, 30000);
}

}  // namespace support
