// The frame block inside GrabBuffer and the exclusion that keeps the streaming
// thread's copy apart from the user-interface thread's use of it.
#pragma once

#include <windows.h>

// Held by the user-interface thread around every use of the block (writing a still,
// painting it, releasing the block). It may wait for a copy in progress, which is
// short; nothing that waits for the streaming thread may run while it is held.
class GrabBlockLock
{
public:
    GrabBlockLock() noexcept;
    ~GrabBlockLock();
    GrabBlockLock(const GrabBlockLock&) = delete;
    GrabBlockLock& operator=(const GrabBlockLock&) = delete;
};

// Copies one frame into the block on the streaming thread. Never waits: when the
// user-interface thread holds the block the frame is skipped and the request stays
// pending for the next one.
//   S_OK          copied; the caller posts WM_FRAME_GRABBED
//   S_FALSE       not copied (block busy, or the request was served meanwhile)
//   E_OUTOFMEMORY no block could be had; the request stays pending
//   E_INVALIDARG  a length that is not a frame (zero or negative)
HRESULT StoreGrabbedFrame(const BYTE* buffer, LONG length) noexcept;

// Called by each preview-graph build when it sets the new frame size: a frame copied
// through the previous graph no longer matches it, so the block is marked as holding
// no frame (frameLength 0) and a pending request waits for the new graph's first frame.
void DiscardGrabbedFrame() noexcept;

// Where frame blocks come from. Tests replace it to reach the out-of-memory path;
// any replacement must hand out process-heap memory (blocks go back with HeapFree).
using GrabBlockAllocateFn = BYTE* (*)(LONG bytes);
GrabBlockAllocateFn SetGrabBlockAllocator(GrabBlockAllocateFn allocate) noexcept;
BYTE* AllocateFromProcessHeap(LONG bytes) noexcept;
