// Serving a grab request: naming the still, writing it and recording it as the last
// still. The dialog's WriteSnapshot wraps this with its counter and controls.
#pragma once

#include <windows.h>

enum class StillOutcome
{
    NothingPending,  // no request, or no frame yet: a leftover message
    NameTooLong,     // request spent; the name (with its number) does not fit
    NoFreeNumber,    // request spent; no number could be found for it
    NotWritten,      // request spent; file not opened or written short
    Written,         // the file is whole; lastStillPath, header and picture updated
};

// Takes the pending request inside the grab exclusion: forms the names from `counter`,
// writes the file and paints it into `stillFrame`. With `increment` the still takes
// the next free number (above every still of its name in the folder), never replaces
// a file, and the counter goes on past it, also when the file then cannot be written.
// A still that could not be written leaves its name in displayName and the cause in
// *failure (a refused name leaves both empty).
StillOutcome WritePendingStill(LONG& counter, bool increment, HWND stillFrame, char (&displayName)[MAX_PATH],
                               HRESULT* failure = nullptr);
