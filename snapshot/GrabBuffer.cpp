#include "snapshot/GrabBuffer.h"

#include <cstring>

#include "snapshot/GrabBlock.h"

GrabBufferRecord GrabBuffer{};

namespace
{
SRWLOCK blockLock = SRWLOCK_INIT;
GrabBlockAllocateFn allocateBlock = &AllocateFromProcessHeap;

// Copies at most size - 1 bytes and always terminates. A name longer than the field
// is cut here; the writer then refuses it because no cut name leaves room for the
// counter and extension in a 260-byte path.
void CopyTerminated(char* field, size_t size, const char* text)
{
    if (!text)
    {
        field[0] = '\0';
        return;
    }
    const size_t length = strnlen(text, size - 1);
    std::memcpy(field, text, length);
    field[length] = '\0';
}

void FreeBlockLocked()
{
    if (GrabBuffer.frameBytes)
        HeapFree(GetProcessHeap(), 0, GrabBuffer.frameBytes);
    GrabBuffer.frameBytes = nullptr;
}

// Makes sure the block holds at least `length` bytes. It only grows: a shorter frame
// reuses it, a longer one replaces it with a block of exactly its length.
bool EnsureBlockLocked(LONG length)
{
    if (GrabBuffer.frameCapacity < length)
    {
        FreeBlockLocked();
        GrabBuffer.frameCapacity = 0;
    }
    if (GrabBuffer.frameBytes)
        return true;
    GrabBuffer.frameBytes = allocateBlock(length);
    GrabBuffer.frameCapacity = GrabBuffer.frameBytes ? length : 0;
    return GrabBuffer.frameBytes != nullptr;
}
}  // namespace

GrabBlockLock::GrabBlockLock() noexcept
{
    AcquireSRWLockExclusive(&blockLock);
}

GrabBlockLock::~GrabBlockLock()
{
    ReleaseSRWLockExclusive(&blockLock);
}

BYTE* AllocateFromProcessHeap(LONG bytes) noexcept
{
    return static_cast<BYTE*>(HeapAlloc(GetProcessHeap(), 0, static_cast<SIZE_T>(bytes)));
}

GrabBlockAllocateFn SetGrabBlockAllocator(GrabBlockAllocateFn allocate) noexcept
{
    GrabBlockAllocateFn previous = allocateBlock;
    allocateBlock = allocate ? allocate : &AllocateFromProcessHeap;
    return previous;
}

HRESULT StoreGrabbedFrame(const BYTE* buffer, LONG length) noexcept
{
    if (length <= 0)
        return E_INVALIDARG;
    if (!TryAcquireSRWLockExclusive(&blockLock))
        return S_FALSE;
    HRESULT hr = S_FALSE;
    // The writer clears the flag inside the exclusion: once it has, the block must
    // keep the frame the still was written from.
    if (GrabBuffer.grabPending.load())
    {
        if (EnsureBlockLocked(length))
        {
            std::memcpy(GrabBuffer.frameBytes, buffer, static_cast<size_t>(length));
            GrabBuffer.frameLength = length;
            hr = S_OK;
        }
        else
        {
            hr = E_OUTOFMEMORY;
        }
    }
    ReleaseSRWLockExclusive(&blockLock);
    return hr;
}

void RequestGrab(const char* directory, const char* baseName)
{
    CopyTerminated(GrabBuffer.snapDirectory, sizeof GrabBuffer.snapDirectory, directory);
    CopyTerminated(GrabBuffer.snapBaseName, sizeof GrabBuffer.snapBaseName, baseName);
    GrabBuffer.grabPending.store(1);
}

void DiscardGrabbedFrame() noexcept
{
    GrabBlockLock lock;
    GrabBuffer.frameLength = 0;
}

void ReleaseGrabBlock()
{
    GrabBlockLock lock;
    FreeBlockLocked();
}
