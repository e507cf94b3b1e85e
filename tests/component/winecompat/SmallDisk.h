// A small tmpfs mounted for a full-disk test (the tests run as root), unmounted when the
// object goes. A mount that fails is the test's failure, with the reason.
#pragma once

#include <string>

#include "driver/UnixTools.h"

class SmallDisk
{
public:
    SmallDisk(const std::string& unixDir, unsigned megabytes);
    ~SmallDisk();
    SmallDisk(const SmallDisk&) = delete;
    SmallDisk& operator=(const SmallDisk&) = delete;

    bool Mounted() const { return m_mount.started && m_mount.exitCode == 0; }
    std::string Why() const { return m_mount.output; }

private:
    std::string m_dir;
    support::UnixResult m_mount;
};
