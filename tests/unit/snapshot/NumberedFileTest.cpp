// Creating a numbered capture file: a name another window takes between the listing
// and the creation moves the number on, a bounded number of times.
#include <gtest/gtest.h>

#include <string>

#include "snapshot/NumberedFile.h"
#include "support/TempFolder.h"

namespace
{
class NumberedFileTest : public testing::Test
{
protected:
    NumberedFileOutcome Create(const std::function<HRESULT(const char*)>& create, bool increment = true)
    {
        return CreateNumberedFile(folder.Path().c_str(), "clip", "avi", 0, increment, create, file);
    }

    // A creation that always fails with `hr`, counting its calls.
    std::function<HRESULT(const char*)> Failing(HRESULT hr)
    {
        return [this, hr](const char*) {
            ++calls;
            return hr;
        };
    }

    support::TempFolder folder{"numbered"};
    NumberedFile file = {};
    int calls = 0;
};

HRESULT Keep(const char* path)
{
    return CreateEmptyFile(path, ExistingFile::Keep);
}
}  // namespace

TEST_F(NumberedFileTest, NameTakenMeanwhileMovesOnToTheNextNumber)
{
    // Another window creates each of the first two names just before this one does.
    const auto raced = [&](const char* path) {
        if (++calls <= 2)
        {
            EXPECT_EQ(S_OK, Keep(path));
        }
        return Keep(path);
    };
    ASSERT_EQ(NumberedFileOutcome::Created, Create(raced));
    EXPECT_EQ(2, file.number);
    EXPECT_STREQ("clip_0002.avi", file.shortName);
    EXPECT_EQ(folder.Path() + "clip_0002.avi", file.fullPath);
}

TEST_F(NumberedFileTest, NamesTakenWithoutEndGiveUp)
{
    EXPECT_EQ(NumberedFileOutcome::NotCreated, Create(Failing(HRESULT_FROM_WIN32(ERROR_FILE_EXISTS))));
    EXPECT_EQ(HRESULT_FROM_WIN32(ERROR_FILE_EXISTS), file.failure);
    EXPECT_LE(calls, 100);
}

TEST_F(NumberedFileTest, OtherFailuresAndFixedNumbersAreNotRetried)
{
    EXPECT_EQ(NumberedFileOutcome::NotCreated, Create(Failing(HRESULT_FROM_WIN32(ERROR_ACCESS_DENIED))));
    EXPECT_EQ(1, calls);
    EXPECT_EQ(HRESULT_FROM_WIN32(ERROR_ACCESS_DENIED), file.failure);
    EXPECT_STREQ("clip_0000.avi", file.shortName);
    ASSERT_EQ(S_OK, Keep((folder.Path() + "clip_0000.avi").c_str()));
    EXPECT_EQ(NumberedFileOutcome::NotCreated, Create(&Keep, false));
    EXPECT_EQ(0, file.number);
}
