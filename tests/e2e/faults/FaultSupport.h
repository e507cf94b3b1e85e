// A disk that really fills, for the fault scenarios.
#pragma once

#include <string>

namespace e2e {

// A small tmpfs mounted over the program's output folder for one test. The mount needs
// root; when it cannot be made the test fails, saying why.
class SmallDisk
{
public:
    SmallDisk() = default;
    ~SmallDisk();
    SmallDisk(const SmallDisk&) = delete;
    SmallDisk& operator=(const SmallDisk&) = delete;

    // Mounts `size` (mount's notation, "2240k") over the folder (a Windows path);
    // returns an empty text, or what went wrong.
    std::string Mount(const std::string& windowsFolder, const std::string& size);

private:
    std::string m_unixFolder;
};

}  // namespace e2e
