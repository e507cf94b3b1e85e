#include "snapshot/NumberedFile.h"

#include <climits>

#include "snapshot/CaptureFileName.h"
#include "snapshot/CounterSearch.h"

namespace
{
// Names taken between the listing and the creation: another window capturing at the
// same moment takes one, so a handful covers every honest race.
constexpr int kTakenNamesMax = 16;

HRESULT LastErrorResult()
{
    const DWORD error = GetLastError();
    return HRESULT_FROM_WIN32(error != ERROR_SUCCESS ? error : ERROR_WRITE_FAULT);
}
}  // namespace

NumberedFileOutcome CreateNumberedFile(const char* directory, const char* baseName, const char* extension,
                                       long counter, bool increment,
                                       const std::function<HRESULT(const char* path)>& create,
                                       NumberedFile& file)
{
    file.failure = S_OK;
    file.number = counter;
    if (increment && !NextFreeCounter(directory, baseName, counter, extension, file.number))
        return NumberedFileOutcome::NoFreeNumber;
    for (int attempt = 0;; ++attempt)
    {
        if (!FormatCaptureNames(directory, baseName, file.number, extension, file.fullPath, file.shortName))
            return NumberedFileOutcome::NameTooLong;
        file.failure = create(file.fullPath);
        if (SUCCEEDED(file.failure))
            return NumberedFileOutcome::Created;
        const bool taken = file.failure == HRESULT_FROM_WIN32(ERROR_FILE_EXISTS);
        if (!increment || !taken || attempt + 1 >= kTakenNamesMax || file.number == INT_MAX)
            return NumberedFileOutcome::NotCreated;
        ++file.number;
    }
}

HRESULT CreateEmptyFile(const char* path, ExistingFile existing)
{
    const DWORD disposition = existing == ExistingFile::Keep ? CREATE_NEW : CREATE_ALWAYS;
    const HANDLE file =
        CreateFileA(path, GENERIC_WRITE, 0, nullptr, disposition, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return LastErrorResult();
    return CloseHandle(file) ? S_OK : LastErrorResult();
}

void DeleteEmptyFile(const char* path)
{
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (GetFileAttributesExA(path, GetFileExInfoStandard, &data) && data.nFileSizeHigh == 0 &&
        data.nFileSizeLow == 0 && !(data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
        DeleteFileA(path);
}
