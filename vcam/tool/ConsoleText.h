// Writing UTF-16 text to stdout or stderr, whether a console or a redirected file.
#pragma once

#include <windows.h>
#include <string>

void WriteText(DWORD stdHandle, const std::wstring& text);

// "0x80070005 (Access is denied.)" for messages.
std::wstring DescribeHresult(HRESULT hr);
