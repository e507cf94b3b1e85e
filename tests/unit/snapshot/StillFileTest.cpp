#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "GrabSupport.h"
#include "unixtools/UnixTools.h"
#include "snapshot/BmpLayout.h"
#include "snapshot/StillFile.h"

namespace
{
DWORD ReadLe32(const std::vector<BYTE>& bytes, size_t at)
{
    return bytes[at] | (bytes[at + 1] << 8) | (bytes[at + 2] << 16) |
           (static_cast<DWORD>(bytes[at + 3]) << 24);
}

WORD ReadLe16(const std::vector<BYTE>& bytes, size_t at)
{
    return static_cast<WORD>(bytes[at] | (bytes[at + 1] << 8));
}

std::vector<BYTE> PatternFrame(size_t length)
{
    std::vector<BYTE> frame(length);
    for (size_t i = 0; i < length; ++i)
        frame[i] = static_cast<BYTE>(i * 31 + 7);
    return frame;
}

// Half of every write lands, then the disk is "full".
BOOL WINAPI HalfThenFull(HANDLE file, LPCVOID data, DWORD size, LPDWORD written, LPOVERLAPPED)
{
    DWORD half = 0;
    WriteFile(file, data, size / 2, &half, nullptr);
    *written = half;
    SetLastError(ERROR_DISK_FULL);
    return FALSE;
}

// Claims success but writes less: a short write that reports no error.
BOOL WINAPI ShortButQuiet(HANDLE file, LPCVOID data, DWORD size, LPDWORD written, LPOVERLAPPED)
{
    return WriteFile(file, data, size > 100 ? size - 100 : size, written, nullptr);
}

TEST(StillFile, VgaStillIsHeadersThenTheFrameByteForByte)
{
    support::TempFolder folder;
    const std::string path = folder.Path() + "vga.bmp";
    const std::vector<BYTE> frame = PatternFrame(640 * 480 * 3);
    ASSERT_EQ(S_OK, WriteStillFile(path.c_str(), MakeStillInfoHeader(640, 480), frame.data(),
                                   static_cast<LONG>(frame.size())));
    const std::vector<BYTE> file = support::ReadFileBytes(path);
    ASSERT_EQ(921654u, file.size());
    EXPECT_EQ('B', file[0]);
    EXPECT_EQ('M', file[1]);
    EXPECT_EQ(921654u, ReadLe32(file, 2));
    EXPECT_EQ(0u, ReadLe32(file, 6));  // both reserved words
    EXPECT_EQ(54u, ReadLe32(file, 10));
    EXPECT_EQ(40u, ReadLe32(file, 14));
    EXPECT_EQ(640u, ReadLe32(file, 18));
    EXPECT_EQ(480u, ReadLe32(file, 22));
    EXPECT_EQ(1, ReadLe16(file, 26));
    EXPECT_EQ(24, ReadLe16(file, 28));
    for (size_t at = 30; at < 54; at += 4)
        EXPECT_EQ(0u, ReadLe32(file, at)) << "offset " << at;
    EXPECT_EQ(0, std::memcmp(frame.data(), file.data() + 54, frame.size()));
}

TEST(StillFile, PaddedRowsAndTopDownFramesAreWrittenAsDelivered)
{
    EXPECT_EQ(1928, Rgb24RowBytes(642));
    EXPECT_EQ(1920, Rgb24RowBytes(640));
    EXPECT_EQ(4, Rgb24RowBytes(1));

    support::TempFolder folder;
    const std::vector<BYTE> padded = PatternFrame(1928 * 480);
    ASSERT_EQ(S_OK, WriteStillFile((folder.Path() + "w642.bmp").c_str(), MakeStillInfoHeader(642, 480),
                                   padded.data(), static_cast<LONG>(padded.size())));
    const std::vector<BYTE> file = support::ReadFileBytes(folder.Path() + "w642.bmp");
    ASSERT_EQ(54u + padded.size(), file.size());
    EXPECT_EQ(642u, ReadLe32(file, 18));

    const std::vector<BYTE> topDown = PatternFrame(640 * 480 * 3);
    ASSERT_EQ(S_OK, WriteStillFile((folder.Path() + "td.bmp").c_str(), MakeStillInfoHeader(640, -480),
                                   topDown.data(), static_cast<LONG>(topDown.size())));
    const std::vector<BYTE> tdFile = support::ReadFileBytes(folder.Path() + "td.bmp");
    ASSERT_EQ(921654u, tdFile.size());
    EXPECT_EQ(static_cast<LONG>(-480), static_cast<LONG>(ReadLe32(tdFile, 22)));
}

TEST(StillFile, ImageMagickReadsWhatWeWrite)
{
    support::TempFolder folder;
    const std::vector<BYTE> vga = PatternFrame(640 * 480 * 3);
    const std::vector<BYTE> odd = PatternFrame(1928 * 480);
    ASSERT_EQ(S_OK, WriteStillFile((folder.Path() + "a.bmp").c_str(), MakeStillInfoHeader(640, 480),
                                   vga.data(), static_cast<LONG>(vga.size())));
    ASSERT_EQ(S_OK, WriteStillFile((folder.Path() + "b.bmp").c_str(), MakeStillInfoHeader(642, 480),
                                   odd.data(), static_cast<LONG>(odd.size())));
    ASSERT_EQ(S_OK, WriteStillFile((folder.Path() + "c.bmp").c_str(), MakeStillInfoHeader(640, -480),
                                   vga.data(), static_cast<LONG>(vga.size())));
    const std::string dir = support::UnixPath(folder.Path());
    const support::UnixResult result =
        support::RunUnix("identify -format '%m %w %h %z\\n' " + support::ShellQuote(dir + "a.bmp") + " " +
                         support::ShellQuote(dir + "b.bmp") + " " + support::ShellQuote(dir + "c.bmp"));
    ASSERT_TRUE(result.started);
    EXPECT_EQ(0, result.exitCode) << result.output;
    EXPECT_NE(std::string::npos, result.output.find("BMP3 640 480 8\nBMP3 642 480 8\nBMP3 640 480 8"))
        << result.output;
}

TEST(StillFile, FailedOrShortWriteLeavesNoFile)
{
    support::TempFolder folder;
    const std::vector<BYTE> frame = PatternFrame(64 * 48 * 3);
    const BITMAPINFOHEADER info = MakeStillInfoHeader(64, 48);
    for (StillWriteFn broken : {&HalfThenFull, &ShortButQuiet})
    {
        const std::string path = folder.Path() + "full.bmp";
        const StillWriteFn previous = SetStillWriteFunction(broken);
        EXPECT_EQ(HRESULT_FROM_WIN32(ERROR_DISK_FULL),
                  WriteStillFile(path.c_str(), info, frame.data(), static_cast<LONG>(frame.size())));
        SetStillWriteFunction(previous);
        EXPECT_FALSE(support::FileExists(path));
    }
    EXPECT_EQ(HRESULT_FROM_WIN32(ERROR_PATH_NOT_FOUND),
              WriteStillFile((folder.Path() + "missing\\x.bmp").c_str(), info, frame.data(),
                             static_cast<LONG>(frame.size())));
}

TEST(StillFile, KeepingExistingFilesNeverReplacesOne)
{
    support::TempFolder folder("still");
    const std::vector<BYTE> frame = PatternFrame(64 * 48 * 3);
    const BITMAPINFOHEADER info = MakeStillInfoHeader(64, 48);
    const std::string path = folder.Path() + "kept.bmp";
    ASSERT_EQ(S_OK, WriteStillFile(path.c_str(), info, frame.data(), 100));
    EXPECT_EQ(HRESULT_FROM_WIN32(ERROR_FILE_EXISTS),
              WriteStillFile(path.c_str(), info, frame.data(), static_cast<LONG>(frame.size()),
                             ExistingFile::Keep));
    EXPECT_EQ(154, support::FileSize(path));
}
}  // namespace
