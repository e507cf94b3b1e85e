// put_WindowStyle that leaves the window shown or hidden as it was, as on Windows.
// Wine's sets the style word as given, so a style without WS_VISIBLE hides a window
// that was already shown (the recording graph shows its window before styling it).
#pragma once

#include <control.h>

HRESULT ChangeWindowStyle(IVideoWindow* window, LONG style);
