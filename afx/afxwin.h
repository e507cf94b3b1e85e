// The MFC-compatible layer Tarnview is written against: the few classes and macros of
// MFC's dialog framework the program uses, over Win32 only, ANSI.
#pragma once

#ifdef UNICODE
#error "Tarnview's framework layer is ANSI only"
#endif

#include <windows.h>

#include "afxmsgmap.h"
#include "afxstr.h"
#include "afxgdi.h"
#include "afxwnd.h"
#include "afxapp.h"
