// A device's friendly name, converted for the dialog's ANSI controls.
#pragma once

#include <windows.h>

#include <string>

// The whole name in the ANSI code page, however long; characters the code page lacks
// come out as its default character. A null BSTR gives an empty text.
std::string AnsiDeviceName(BSTR name);
