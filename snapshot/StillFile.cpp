#include "snapshot/StillFile.h"

#include "snapshot/BmpLayout.h"

namespace
{
StillWriteFn writeBytes = &::WriteFile;

class FileHandle
{
public:
    explicit FileHandle(HANDLE handle) : m_handle(handle) {}
    ~FileHandle() { Close(); }
    FileHandle(const FileHandle&) = delete;
    FileHandle& operator=(const FileHandle&) = delete;

    bool IsValid() const { return m_handle != INVALID_HANDLE_VALUE; }
    HANDLE Get() const { return m_handle; }
    bool Close()
    {
        if (!IsValid())
            return true;
        const BOOL closed = CloseHandle(m_handle);
        m_handle = INVALID_HANDLE_VALUE;
        return closed != FALSE;
    }

private:
    HANDLE m_handle;
};

bool WriteWhole(HANDLE file, const void* data, DWORD size)
{
    DWORD written = 0;
    return writeBytes(file, data, size, &written, nullptr) && written == size;
}
}  // namespace

StillWriteFn SetStillWriteFunction(StillWriteFn write)
{
    StillWriteFn previous = writeBytes;
    writeBytes = write ? write : &::WriteFile;
    return previous;
}

bool WriteStillFile(const char* path, const BITMAPINFOHEADER& info, const BYTE* pixels,
                    LONG length)
{
    if (!path || !pixels || length < 0)
        return false;
    FileHandle file(CreateFileA(path, GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_ALWAYS,
                                0, nullptr));
    if (!file.IsValid())
        return false;
    const BITMAPFILEHEADER header = MakeStillFileHeader(static_cast<DWORD>(length));
    const bool complete = WriteWhole(file.Get(), &header, sizeof header) &&
                          WriteWhole(file.Get(), &info, sizeof info) &&
                          WriteWhole(file.Get(), pixels, static_cast<DWORD>(length));
    const bool closed = file.Close();
    if (complete && closed)
        return true;
    DeleteFileA(path);
    return false;
}
