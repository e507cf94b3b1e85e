// A small tmpfs mounted over a folder for one full-disk test (the tests run as root),
// unmounted when the object goes. A mount that fails is the test's failure, with the reason.
#pragma once

#include <string>

#include "unixtools/UnixTools.h"

namespace support
{

class SmallDisk
{
public:
    SmallDisk() = default;
    // Mounts at once; see Mounted() and Why().
    SmallDisk(const std::string& unixFolder, const std::string& size) { Mount(unixFolder, size); }
    ~SmallDisk();
    SmallDisk(const SmallDisk&) = delete;
    SmallDisk& operator=(const SmallDisk&) = delete;

    // Mounts a tmpfs of `size` (mount's notation: "12m", "2240k") over the folder (made
    // if missing); returns an empty text, or what went wrong.
    std::string Mount(const std::string& unixFolder, const std::string& size);

    bool Mounted() const { return !m_folder.empty(); }
    const std::string& Why() const { return m_why; }

private:
    std::string m_folder;
    bool m_madeFolder = false;
    std::string m_why;
};

}  // namespace support
