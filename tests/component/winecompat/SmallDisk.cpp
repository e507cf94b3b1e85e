#include "SmallDisk.h"

#include "TestFiles.h"

SmallDisk::SmallDisk(const std::string& unixDir, unsigned megabytes) : m_dir(unixDir)
{
    m_mount =
        support::RunUnix("mkdir -p " + unixDir + " && mount -t tmpfs -o size=" + std::to_string(megabytes) +
                             "m tarnview-small-disk " + unixDir,
                         30000);
}

SmallDisk::~SmallDisk()
{
    support::RunUnix("umount " + m_dir + "; rmdir " + m_dir, 30000);
}
