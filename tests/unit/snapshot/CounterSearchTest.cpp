// The next free number: above every capture of the name in the folder, never below the
// counter, and a search that gives up, rather than hang, on a listing without end.
#include <gtest/gtest.h>

#include <climits>
#include <cstring>
#include <string>

#include "snapshot/CounterSearch.h"
#include "support/TempFolder.h"

namespace
{
class CounterSearchTest : public testing::Test
{
protected:
    void Take(const std::string& name, bool asFolder = false)
    {
        const std::string path = folder.Path() + name;
        if (asFolder)
        {
            ASSERT_TRUE(CreateDirectoryA(path.c_str(), nullptr)) << name;
            folders.push_back(path);
            return;
        }
        HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr);
        ASSERT_NE(INVALID_HANDLE_VALUE, file) << name;
        CloseHandle(file);
    }
    long Next(const char* base, long counter, const char* extension = "avi")
    {
        long number = -1;
        EXPECT_TRUE(NextFreeCounter(folder.Path().c_str(), base, counter, extension, number));
        return number;
    }
    void TearDown() override
    {
        for (auto it = folders.rbegin(); it != folders.rend(); ++it)
            RemoveDirectoryA(it->c_str());
    }

    support::TempFolder folder{"counter"};
    std::vector<std::string> folders;
};

// A listing that never ends: the same name, over and over.
HANDLE WINAPI EndlessFirst(LPCSTR, LPWIN32_FIND_DATAA found)
{
    std::strcpy(found->cFileName, "clip_0001.avi");
    return reinterpret_cast<HANDLE>(1);
}
BOOL WINAPI EndlessNext(HANDLE, LPWIN32_FIND_DATAA found)
{
    std::strcpy(found->cFileName, "clip_0001.avi");
    return TRUE;
}
BOOL WINAPI SlowNext(HANDLE search, LPWIN32_FIND_DATAA found)
{
    Sleep(20);
    return EndlessNext(search, found);
}

struct ListingStandIn
{
    explicit ListingStandIn(FolderListing standIn) : previous(SetFolderListing(standIn)) {}
    ~ListingStandIn() { SetFolderListing(previous); }
    FolderListing previous;
};
}  // namespace

TEST_F(CounterSearchTest, GoesOnAboveTheHighestWithoutFillingGaps)
{
    for (const char* name : {"clip_0000.avi", "clip_0001.avi", "clip_0005.avi"})
        Take(name);
    EXPECT_EQ(6, Next("clip", 0));
    EXPECT_EQ(9, Next("clip", 9));  // never below the counter
}

TEST_F(CounterSearchTest, CountsFoldersAndLongNumbersButOnlyItsOwnNames)
{
    Take("clip_0002.avi", true);
    Take("CLIP_12345.AVI");
    for (const char* other :
         {"clip_0200.bmp", "clips_0300.avi", "clip_03a0.avi", "clip_.avi", "clip0400.avi", "x_clip_0500.avi"})
        Take(other);
    EXPECT_EQ(12346, Next("clip", 0));
    EXPECT_EQ(0, Next("other", 0));
}

TEST_F(CounterSearchTest, LooksInTheFolderTheBaseNameNames)
{
    Take("night", true);
    Take("night\\moon_0007.bmp");
    EXPECT_EQ(8, Next("night\\moon", 0, "bmp"));
    EXPECT_EQ(8, Next("night/moon", 0, "bmp"));
    EXPECT_EQ(0, Next("moon", 0, "bmp"));
    DeleteFileA((folder.Path() + "night\\moon_0007.bmp").c_str());
}

TEST_F(CounterSearchTest, MissingFolderLeavesTheCounter)
{
    long number = -1;
    EXPECT_TRUE(NextFreeCounter((folder.Path() + "gone\\").c_str(), "clip", 3, "avi", number));
    EXPECT_EQ(3, number);
}

TEST_F(CounterSearchTest, NoNumberAboveTheTopIsRefused)
{
    Take("clip_2147483647.avi");
    long number = 5;
    EXPECT_FALSE(NextFreeCounter(folder.Path().c_str(), "clip", 0, "avi", number));
    EXPECT_EQ(5, number);
}

TEST_F(CounterSearchTest, EndlessListingGivesUpAtTheEntryLimit)
{
    ListingStandIn endless({&EndlessFirst, &EndlessNext});
    long number = 5;
    EXPECT_FALSE(NextFreeCounter("C:\\", "clip", 0, "avi", number, {1000, 600000}));
    EXPECT_EQ(5, number);
}

TEST_F(CounterSearchTest, SlowListingGivesUpAtTheTimeLimit)
{
    ListingStandIn slow({&EndlessFirst, &SlowNext});
    long number = 5;
    EXPECT_FALSE(NextFreeCounter("C:\\", "clip", 0, "avi", number, {UINT_MAX, 200}));
    EXPECT_EQ(5, number);
}
