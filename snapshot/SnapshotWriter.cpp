#include "snapshot/SnapshotWriter.h"

#include <cstring>

#include "snapshot/BmpLayout.h"
#include "snapshot/GrabBlock.h"
#include "snapshot/GrabBuffer.h"
#include "snapshot/StillFile.h"
#include "snapshot/StillPainter.h"
#include "snapshot/CaptureFileName.h"

namespace
{
// Called inside the exclusion, so the callback cannot copy another frame once the
// flag is down. A block without a frame of the running format (released, or discarded
// by a rebuild) leaves the request for the next frame.
bool TakePendingGrab()
{
    if (!GrabBuffer.grabPending.load() || !GrabBuffer.frameBytes || GrabBuffer.frameLength <= 0)
        return false;
    GrabBuffer.grabPending.store(0);
    return true;
}

void RecordWrittenStill(const char (&path)[MAX_PATH], const BITMAPINFOHEADER& info)
{
    std::memcpy(GrabBuffer.lastStillPath, path, sizeof GrabBuffer.lastStillPath);
    GrabBuffer.lastStillHeader = info;
    GrabBuffer.haveStill = 1;
}
}  // namespace

StillOutcome WritePendingStill(LONG& counter, bool increment, HWND stillFrame, char (&displayName)[MAX_PATH],
                               HRESULT* failure)
{
    displayName[0] = '\0';
    HRESULT ignored = S_OK;
    HRESULT& cause = failure ? *failure : ignored;
    cause = S_OK;
    GrabBlockLock lock;
    if (!TakePendingGrab())
        return StillOutcome::NothingPending;
    const LONG number =
        increment ? FirstFreeCounter(GrabBuffer.snapDirectory, GrabBuffer.snapBaseName, counter, "bmp")
                  : counter;
    char path[MAX_PATH];
    // No file is attempted under a name that does not fit, so the number stays free.
    if (!FormatCaptureNames(GrabBuffer.snapDirectory, GrabBuffer.snapBaseName, number, "bmp", path,
                            displayName))
        return StillOutcome::NotWritten;
    if (increment)
        counter = number + 1;
    const BITMAPINFOHEADER info = MakeStillInfoHeader(GrabBuffer.frameWidth, GrabBuffer.frameHeight);
    cause = WriteStillFile(path, info, GrabBuffer.frameBytes, GrabBuffer.frameLength,
                           increment ? ExistingFile::Keep : ExistingFile::Replace);
    if (FAILED(cause))
        return StillOutcome::NotWritten;
    RecordWrittenStill(path, info);
    PaintStillLocked(stillFrame);
    return StillOutcome::Written;
}
