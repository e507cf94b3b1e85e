#include "support/TempFolder.h"

#include "unixtools/UnixTools.h"

namespace support
{

TempFolder::TempFolder(const std::string& name)
{
    static int serial = 0;
    m_unixPath = "/tmp/tarnview-" + name + "-" + ProcessTag() + "-" +
                 std::to_string(++serial);
    m_windowsPath = WindowsPathOfUnix(m_unixPath) + "\\";
    CreateDirectoryA(m_windowsPath.c_str(), nullptr);
}

TempFolder::~TempFolder()
{
    if (GetEnvironmentVariableA("TARNVIEW_KEEP_SCRATCH", nullptr, 0) != 0)
        return;
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((m_windowsPath + "*").c_str(), &found);
    if (search != INVALID_HANDLE_VALUE)
    {
        do
        {
            if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
                DeleteFileA((m_windowsPath + found.cFileName).c_str());
        } while (FindNextFileA(search, &found));
        FindClose(search);
    }
    RemoveDirectoryA(m_windowsPath.c_str());
}

std::vector<BYTE> ReadFileBytes(const std::string& windowsPath)
{
    std::vector<BYTE> bytes;
    HANDLE file = CreateFileA(windowsPath.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                              OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return bytes;
    bytes.resize(GetFileSize(file, nullptr));
    DWORD read = 0;
    if (!bytes.empty())
        ReadFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr);
    bytes.resize(read);
    CloseHandle(file);
    return bytes;
}

bool FileExists(const std::string& windowsPath)
{
    return GetFileAttributesA(windowsPath.c_str()) != INVALID_FILE_ATTRIBUTES;
}

long long FileSize(const std::string& windowsPath)
{
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!GetFileAttributesExA(windowsPath.c_str(), GetFileExInfoStandard, &data))
        return -1;
    return (static_cast<long long>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
}

}  // namespace support
