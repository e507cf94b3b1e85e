// What the fault scenarios need beside the driver: a disk that really fills, and the
// removal of the large files they write.
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

// Deletes the files in the program's output folder whose names start with baseName.
void DeleteCaptures(const std::string& baseName);

}  // namespace e2e
