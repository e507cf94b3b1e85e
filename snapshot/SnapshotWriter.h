// Serving a grab request: naming the still, writing it and recording it as the last
// still. The dialog's WriteSnapshot wraps this with its counter and controls.
#pragma once

#include <windows.h>

enum class StillOutcome
{
    NothingPending,  // no request, or no frame yet: a leftover message
    NotWritten,      // request spent; name too long, file not opened or written short
    Written,         // the file is whole; lastStillPath, header and picture updated
};

// Takes the pending request inside the grab exclusion: forms the names from `counter`
// (advanced when `increment`, also for a file that then cannot be written, but not for
// a name that does not fit), writes the file and paints it into `stillFrame`. With
// `increment` the still takes the first number whose file does not exist yet and never
// replaces a file. A still that could not be written leaves its name in displayName
// and the cause in *failure (a name that does not fit leaves both empty).
StillOutcome WritePendingStill(LONG& counter, bool increment, HWND stillFrame, char (&displayName)[MAX_PATH],
                               HRESULT* failure = nullptr);
