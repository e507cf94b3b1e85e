// Texts the capture controller shows on the capture status line.
#pragma once

namespace ControllerText
{
constexpr const char kCapturedFormat[] = "Captured: %u s";
constexpr const char kNameTooLong[] = "File name too long: nothing captured";
constexpr const char kDirectoryTooLong[] = "Folder path too long: directory unchanged";
}  // namespace ControllerText
