// Texts the capture controller shows on the capture status line.
#pragma once

namespace ControllerText
{
constexpr const char kCapturedFormat[] = "Captured: %u s";
// While frames or the disk are later than usual (a long exposure, a stall).
constexpr const char kAwaitingFramesFormat[] = "Captured: %u s, awaiting frames";
constexpr const char kAwaitingDiskFormat[] = "Captured: %u s, awaiting the disk";
constexpr const char kNameTooLong[] = "File name too long: nothing captured";
constexpr const char kInvalidName[] = "Invalid file name: nothing captured";
constexpr const char kNoFreeNumber[] = "No free file number: nothing captured";
constexpr const char kDirectoryTooLong[] = "Folder path too long: directory unchanged";
}  // namespace ControllerText
