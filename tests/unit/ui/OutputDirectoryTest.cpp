// The output directory: a folder with a backslash, in the dialog's 255-byte buffer.
#include <gtest/gtest.h>

#include <windows.h>
#include <shlobj.h>

#include <cstring>
#include <string>

#include "ui/OutputDirectory.h"

namespace
{
constexpr size_t kDirectoryBytes = 255;  // the dialog's m_szDirectory
}

TEST(OutputDirectory, AppendsOneBackslash)
{
    char directory[kDirectoryBytes] = {};
    ASSERT_TRUE(SetOutputDirectory(directory, sizeof directory, "C:\\Users\\sky\\Documents"));
    EXPECT_STREQ(directory, "C:\\Users\\sky\\Documents\\");
    // A drive root keeps its own backslash and gets another.
    ASSERT_TRUE(SetOutputDirectory(directory, sizeof directory, "E:\\"));
    EXPECT_STREQ(directory, "E:\\\\");
}

TEST(OutputDirectory, FolderThatWouldNotFitLeavesTheOldDirectory)
{
    char directory[kDirectoryBytes] = {};
    ASSERT_TRUE(SetOutputDirectory(directory, sizeof directory, std::string(200, 'f').c_str()));
    EXPECT_EQ(std::strlen(directory), 201u);
    // 253 characters, the backslash and the terminator fill the buffer exactly.
    ASSERT_TRUE(SetOutputDirectory(directory, sizeof directory, std::string(253, 'g').c_str()));
    EXPECT_EQ(std::strlen(directory), 254u);
    const std::string kept = directory;
    for (size_t length : {254u, 255u, 259u, 300u})
    {
        EXPECT_FALSE(SetOutputDirectory(directory, sizeof directory, std::string(length, 'h').c_str()))
            << length;
        EXPECT_EQ(kept, directory);
    }
}

TEST(OutputDirectory, DefaultIsTheDocumentsFolder)
{
    char documents[MAX_PATH] = {};
    ASSERT_TRUE(SHGetSpecialFolderPathA(nullptr, documents, CSIDL_PERSONAL, TRUE));
    char directory[kDirectoryBytes];
    std::memset(directory, 'x', sizeof directory);
    SetDefaultOutputDirectory(directory, sizeof directory);
    EXPECT_EQ(std::string(directory), std::string(documents) + "\\");
}

TEST(OutputDirectory, DefaultFallsBackWhenNothingFits)
{
    char original[MAX_PATH] = {};
    ASSERT_GT(GetCurrentDirectoryA(MAX_PATH, original), 0u);
    char current[MAX_PATH] = {};
    GetWindowsDirectoryA(current, MAX_PATH);
    ASSERT_TRUE(SetCurrentDirectoryA(current));
    char documents[MAX_PATH] = {};
    ASSERT_TRUE(SHGetSpecialFolderPathA(nullptr, documents, CSIDL_PERSONAL, TRUE));
    ASSERT_GT(std::strlen(documents), std::strlen(current))
        << "needs a current folder shorter than Documents";

    // Room for the current folder but not for Documents: the current folder is used.
    std::string directory(std::strlen(current) + 2, 'x');
    SetDefaultOutputDirectory(&directory[0], directory.size());
    EXPECT_STREQ(directory.c_str(), (std::string(current) + "\\").c_str());

    char tiny[3];
    std::memset(tiny, 'x', sizeof tiny);
    SetDefaultOutputDirectory(tiny, sizeof tiny);
    EXPECT_STREQ(tiny, "");
    SetCurrentDirectoryA(original);
}
