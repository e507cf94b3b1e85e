#include "SmallDisk.h"

#include "TestFiles.h"

SmallDisk::SmallDisk(const std::string& unixDir, unsigned megabytes) : m_dir(unixDir)
{
    m_mount = RunUnixShell("mkdir -p " + unixDir + " && mount -t tmpfs -o size=" + std::to_string(megabytes) +
                               "m tarnview-small-disk " + unixDir,
                           ScratchDirUnix() + "/mount.log", 30000);
}

SmallDisk::~SmallDisk()
{
    RunUnixShell("umount " + m_dir + "; rmdir " + m_dir, ScratchDirUnix() + "/umount.log", 30000);
}
