#include "TestFiles.h"

#include <windows.h>

std::string ScratchDirUnix()
{
    static const std::string dir = [] {
        std::string path = "/tmp/tarnview-winecompat-" + std::to_string(GetCurrentProcessId());
        CreateDirectoryA(WindowsPathA(path).c_str(), nullptr);
        return path;
    }();
    return dir;
}

std::string WindowsPathA(const std::string& unixPath)
{
    std::string path = "Z:" + unixPath;
    for (char& c : path) {
        if (c == '/')
            c = '\\';
    }
    return path;
}

std::wstring WindowsPathW(const std::string& unixPath)
{
    std::string narrow = WindowsPathA(unixPath);
    return std::wstring(narrow.begin(), narrow.end());  // scratch paths are ASCII
}

bool FileExistsUnix(const std::string& unixPath)
{
    return GetFileAttributesA(WindowsPathA(unixPath).c_str()) != INVALID_FILE_ATTRIBUTES;
}

long long FileSizeUnix(const std::string& unixPath)
{
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!GetFileAttributesExA(WindowsPathA(unixPath).c_str(), GetFileExInfoStandard, &data))
        return -1;
    return (static_cast<long long>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
}

void RemoveScratchDir()
{
    if (GetEnvironmentVariableA("TARNVIEW_KEEP_SCRATCH", nullptr, 0) != 0)
        return;  // kept for a look at the recorded files
    std::string pattern = WindowsPathA(ScratchDirUnix()) + "\\*";
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA(pattern.c_str(), &found);
    if (search != INVALID_HANDLE_VALUE) {
        do {
            if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
                DeleteFileA((WindowsPathA(ScratchDirUnix()) + "\\" + found.cFileName).c_str());
        } while (FindNextFileA(search, &found));
        FindClose(search);
    }
    RemoveDirectoryA(WindowsPathA(ScratchDirUnix()).c_str());
}
