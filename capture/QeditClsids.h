// Classes of qedit.dll that mingw-w64's qedit.h declares the interfaces of but not the
// class identifiers.
#pragma once

#include <windows.h>

// {C1F400A0-3F08-11D3-9F0B-006008039E37}
inline constexpr CLSID CLSID_SampleGrabber = {
    0xc1f400a0, 0x3f08, 0x11d3, {0x9f, 0x0b, 0x00, 0x60, 0x08, 0x03, 0x9e, 0x37}};
// {C1F400A4-3F08-11D3-9F0B-006008039E37}
inline constexpr CLSID CLSID_NullRenderer = {
    0xc1f400a4, 0x3f08, 0x11d3, {0x9f, 0x0b, 0x00, 0x60, 0x08, 0x03, 0x9e, 0x37}};
