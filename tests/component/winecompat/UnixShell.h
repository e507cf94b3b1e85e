// Runs a Unix shell command from inside Wine. Wine gives back neither its output nor
// its exit code, so the command's output and "rc=N" go into a log file that is read.
#pragma once

#include <string>

struct ShellResult {
    bool finished = false;
    int exitCode = -1;
    std::string output;  // without the final rc line
};

// `command` must not contain double quotes.
ShellResult RunUnixShell(const std::string& command, const std::string& unixLogPath, unsigned timeoutMs);
