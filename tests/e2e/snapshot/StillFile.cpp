#include "StillFile.h"

#include <windows.h>
#include <cstring>

#include "driver/MediaChecks.h"
#include "vcam/frame/FrameStamp.h"

namespace e2e
{

namespace
{

template <typename T>
T At(const std::vector<unsigned char>& bytes, size_t offset)
{
    T value;
    memcpy(&value, &bytes[offset], sizeof value);
    return value;
}

std::string CheckHeaders(const std::vector<unsigned char>& bytes)
{
    if (bytes.size() < 54)
        return "shorter than its headers";
    if (bytes[0] != 'B' || bytes[1] != 'M')
        return "no BM signature";
    if (At<uint32_t>(bytes, 2) != bytes.size())
        return "bfSize " + std::to_string(At<uint32_t>(bytes, 2)) + " for a file of " +
               std::to_string(bytes.size());
    if (At<uint16_t>(bytes, 6) != 0 || At<uint16_t>(bytes, 8) != 0)
        return "reserved fields set";
    if (At<uint32_t>(bytes, 10) != 54)
        return "bfOffBits is not 54";
    if (At<uint32_t>(bytes, 14) != 40)
        return "biSize is not 40";
    if (At<uint16_t>(bytes, 26) != 1 || At<uint16_t>(bytes, 28) != 24)
        return "not one plane of 24 bits";
    for (size_t offset = 30; offset < 54; offset += 4)
        if (At<uint32_t>(bytes, offset) != 0)
            return "header field at " + std::to_string(offset) + " is not 0";
    const long width = At<int32_t>(bytes, 18), height = At<int32_t>(bytes, 22);
    const size_t stride = ((static_cast<size_t>(width) * 3 + 3) / 4) * 4;
    const size_t rows = static_cast<size_t>(height < 0 ? -height : height);
    if (bytes.size() != 54 + stride * rows)
        return "pixel data of " + std::to_string(bytes.size() - 54) + " bytes for " + std::to_string(width) +
               "x" + std::to_string(height);
    return {};
}

}  // namespace

StillFile ReadStill(const std::string& windowsPath)
{
    StillFile still;
    std::vector<unsigned char> bytes = ReadFileBytes(windowsPath);
    still.fileSize = bytes.size();
    still.problem = CheckHeaders(bytes);
    if (!still.problem.empty())
        return still;
    still.valid = true;
    still.width = At<int32_t>(bytes, 18);
    still.height = At<int32_t>(bytes, 22);
    still.stamped = ReadFrameNumberFromDib(&bytes[54], still.width, still.height, &still.frameNumber);
    return still;
}

}  // namespace e2e
