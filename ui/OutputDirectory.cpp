#include "ui/OutputDirectory.h"

#include <windows.h>
#include <shlobj.h>

#include <cstring>

bool SetOutputDirectory(char* directory, size_t capacity, const char* folder)
{
    const size_t length = std::strlen(folder);
    if (length + 2 > capacity)
        return false;
    std::memcpy(directory, folder, length);
    directory[length] = '\\';
    directory[length + 1] = '\0';
    return true;
}

namespace
{
bool TryDocumentsFolder(char* directory, size_t capacity)
{
    char folder[MAX_PATH] = {};
    if (!SHGetSpecialFolderPathA(nullptr, folder, CSIDL_PERSONAL, TRUE) || folder[0] == '\0')
        return false;
    return SetOutputDirectory(directory, capacity, folder);
}

bool TryCurrentFolder(char* directory, size_t capacity)
{
    char folder[MAX_PATH] = {};
    const DWORD length = GetCurrentDirectoryA(MAX_PATH, folder);
    if (length == 0 || length >= MAX_PATH)
        return false;
    return SetOutputDirectory(directory, capacity, folder);
}
}  // namespace

void SetDefaultOutputDirectory(char* directory, size_t capacity)
{
    if (capacity == 0)
        return;
    if (TryDocumentsFolder(directory, capacity) || TryCurrentFolder(directory, capacity))
        return;
    directory[0] = '\0';
}
