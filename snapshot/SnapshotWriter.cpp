#include "snapshot/SnapshotWriter.h"

#include <cstring>

#include "snapshot/BmpLayout.h"
#include "snapshot/GrabBlock.h"
#include "snapshot/GrabBuffer.h"
#include "snapshot/StillFile.h"
#include "snapshot/StillPainter.h"
#include "snapshot/CaptureFileName.h"
#include "snapshot/NumberedFile.h"

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
    const BITMAPINFOHEADER info = MakeStillInfoHeader(GrabBuffer.frameWidth, GrabBuffer.frameHeight);
    const auto write = [&info, increment](const char* path) {
        return WriteStillFile(path, info, GrabBuffer.frameBytes, GrabBuffer.frameLength,
                              increment ? ExistingFile::Keep : ExistingFile::Replace);
    };
    NumberedFile still;
    const NumberedFileOutcome outcome = CreateNumberedFile(GrabBuffer.snapDirectory, GrabBuffer.snapBaseName,
                                                           "bmp", counter, increment, write, still);
    // No file is attempted under a refused name, so its number stays free.
    if (outcome == NumberedFileOutcome::NameTooLong)
        return StillOutcome::NameTooLong;
    if (outcome == NumberedFileOutcome::NoFreeNumber)
        return StillOutcome::NoFreeNumber;
    std::memcpy(displayName, still.shortName, sizeof displayName);
    if (increment)
        counter = NextCounter(still.number);
    cause = still.failure;
    if (outcome != NumberedFileOutcome::Created)
        return StillOutcome::NotWritten;
    RecordWrittenStill(still.fullPath, info);
    PaintStillLocked(stillFrame);
    return StillOutcome::Written;
}
