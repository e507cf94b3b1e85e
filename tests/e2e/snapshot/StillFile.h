// A snapshot file as written to disk: its BMP headers checked field by field, and
// the frame number the virtual camera stamped into its pixels.
#pragma once

#include <cstdint>
#include <string>

namespace e2e
{

struct StillFile
{
    bool valid = false;   // headers as a 24-bit uncompressed BMP with nothing else
    std::string problem;  // why not
    long width = 0;
    long height = 0;  // as stored: negative for top-down rows
    size_t fileSize = 0;
    bool stamped = false;
    uint32_t frameNumber = 0;
};

StillFile ReadStill(const std::string& windowsPath);

}  // namespace e2e
