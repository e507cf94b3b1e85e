#include "TestFiles.h"

#include <memory>

#include "support/TempFolder.h"
#include "unixtools/UnixTools.h"

namespace
{
std::unique_ptr<support::TempFolder>& Scratch()
{
    static std::unique_ptr<support::TempFolder> folder;
    return folder;
}
}  // namespace

std::string ScratchDirUnix()
{
    if (!Scratch())
        Scratch().reset(new support::TempFolder("winecompat"));
    return Scratch()->UnixPath();
}

std::string WindowsPathA(const std::string& unixPath)
{
    return support::WindowsPathOfUnix(unixPath);
}

std::wstring WindowsPathW(const std::string& unixPath)
{
    std::string narrow = WindowsPathA(unixPath);
    return std::wstring(narrow.begin(), narrow.end());  // scratch paths are ASCII
}

bool FileExistsUnix(const std::string& unixPath)
{
    return support::FileExists(WindowsPathA(unixPath));
}

void RemoveScratchDir()
{
    Scratch().reset();
}
