// Capture file names: the counter's digits, and names at and past the 259-character
// limit, which are refused whole and never written past their buffers.
#include <gtest/gtest.h>

#include <climits>
#include <cstring>
#include <string>

#include "snapshot/CaptureFileName.h"

namespace
{
// The two name buffers with guard bytes behind each, to catch a write past the end.
struct GuardedNames
{
    char fullPath[MAX_PATH];
    char guardAfterFull[16];
    char shortName[MAX_PATH];
    char guardAfterShort[16];

    GuardedNames() { std::memset(this, 'x', sizeof *this); }
    bool GuardsIntact() const
    {
        for (size_t i = 0; i < sizeof guardAfterFull; ++i)
            if (guardAfterFull[i] != 'x' || guardAfterShort[i] != 'x')
                return false;
        return true;
    }
    bool Format(const std::string& directory, const std::string& base, long counter,
                const char* extension = "avi")
    {
        return FormatCaptureNames(directory.c_str(), base.c_str(), counter, extension, fullPath, shortName);
    }
};

std::string Directory(size_t length)
{
    std::string directory(length, 'd');
    if (length > 0)
        directory.back() = '\\';
    return directory;
}
}  // namespace

TEST(CaptureFileName, JoinsDirectoryBaseCounterAndExtension)
{
    GuardedNames names;
    ASSERT_TRUE(names.Format("C:\\Users\\sky\\Documents\\", "Tarnview_Capture", 0));
    EXPECT_STREQ(names.fullPath, "C:\\Users\\sky\\Documents\\Tarnview_Capture_0000.avi");
    EXPECT_STREQ(names.shortName, "Tarnview_Capture_0000.avi");
    ASSERT_TRUE(names.Format("D:\\Sky\\", "Tarnview_Capture", 1, "bmp"));
    EXPECT_STREQ(names.fullPath, "D:\\Sky\\Tarnview_Capture_0001.bmp");
}

TEST(CaptureFileName, CounterHasAtLeastFourDigits)
{
    GuardedNames names;
    const std::pair<long, const char*> cases[] = {{7, "n_0007.avi"},      {42, "n_0042.avi"},
                                                  {9999, "n_9999.avi"},   {10000, "n_10000.avi"},
                                                  {12345, "n_12345.avi"}, {INT_MAX, "n_2147483647.avi"}};
    for (const auto& [counter, expected] : cases)
    {
        ASSERT_TRUE(names.Format("", "n", counter));
        EXPECT_STREQ(names.shortName, expected);
    }
}

TEST(CaptureFileName, EmptyBaseNameStillGivesANumberedName)
{
    GuardedNames names;
    ASSERT_TRUE(names.Format("C:\\Out\\", "", 0));
    EXPECT_STREQ(names.shortName, "_0000.avi");
    EXPECT_STREQ(names.fullPath, "C:\\Out\\_0000.avi");
}

TEST(CaptureFileName, FullPathOfExactly259CharactersFits)
{
    GuardedNames names;
    // 200 + 50 + "_0000.avi" = 259.
    ASSERT_TRUE(names.Format(Directory(200), std::string(50, 'b'), 0));
    EXPECT_EQ(std::strlen(names.fullPath), 259u);
    EXPECT_EQ(std::strlen(names.shortName), 59u);
    EXPECT_TRUE(names.GuardsIntact());
}

TEST(CaptureFileName, OneCharacterTooManyIsRefusedAndBothNamesEmpty)
{
    GuardedNames names;
    EXPECT_FALSE(names.Format(Directory(200), std::string(51, 'b'), 0));
    EXPECT_STREQ(names.fullPath, "");
    EXPECT_STREQ(names.shortName, "");
    EXPECT_TRUE(names.GuardsIntact());
}

TEST(CaptureFileName, FifthCounterDigitCanPushTheNamePastTheLimit)
{
    GuardedNames names;
    EXPECT_TRUE(names.Format(Directory(200), std::string(50, 'b'), 9999));
    EXPECT_FALSE(names.Format(Directory(200), std::string(50, 'b'), 10000));
    EXPECT_STREQ(names.fullPath, "");
}

TEST(CaptureFileName, LongBaseNamesAreRefusedEvenWithoutDirectory)
{
    GuardedNames names;
    // 250 + "_0000.avi" = 259: fits alone, not behind any directory.
    EXPECT_TRUE(names.Format("", std::string(250, 'b'), 0));
    EXPECT_FALSE(names.Format("C:\\", std::string(250, 'b'), 0));
    for (size_t length : {255u, 259u, 300u})
    {
        EXPECT_FALSE(names.Format("", std::string(length, 'b'), 0)) << length;
        EXPECT_STREQ(names.shortName, "");
    }
    EXPECT_TRUE(names.GuardsIntact());
}

TEST(CaptureFileName, LongDirectoriesAreRefused)
{
    GuardedNames names;
    for (size_t length : {255u, 259u, 300u})
    {
        EXPECT_FALSE(names.Format(Directory(length), "Tarnview_Capture", 0)) << length;
        EXPECT_STREQ(names.fullPath, "");
        EXPECT_STREQ(names.shortName, "");
    }
    EXPECT_TRUE(names.GuardsIntact());
}

TEST(CopyWhole, CopiesWhatFitsAndRefusesTheRest)
{
    char buffer[MAX_PATH];
    EXPECT_TRUE(CopyWhole(buffer, sizeof buffer, std::string(259, 'a').c_str()));
    EXPECT_EQ(std::strlen(buffer), 259u);
    EXPECT_FALSE(CopyWhole(buffer, sizeof buffer, std::string(260, 'a').c_str()));
    EXPECT_STREQ(buffer, "");
}

TEST(NextCounter, StopsAtTheTopInsteadOfTurningNegative)
{
    EXPECT_EQ(1, NextCounter(0));
    EXPECT_EQ(INT_MAX, NextCounter(INT_MAX - 1));
    EXPECT_EQ(INT_MAX, NextCounter(INT_MAX));
}
