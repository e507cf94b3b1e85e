// vcamctl's command line, parsed into what to do.
#pragma once

#include <string>
#include <vector>

#include "vcam/registry/VcamDevices.h"

enum class ToolAction
{
    Add,
    Remove,
    RemoveAll,
    List,
    Help
};

struct ToolCommand
{
    ToolAction action = ToolAction::Help;
    DeviceSpec device;  // Add: everything; Remove: the instance
};

// Parses the arguments after the program name. On failure returns false and puts a
// one-line reason into *error.
bool ParseToolCommand(const std::vector<std::wstring>& args, ToolCommand* command, std::wstring* error);

// The usage text printed for `vcamctl help` and after a usage error.
const wchar_t* ToolUsage();
