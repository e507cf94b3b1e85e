// CString::LoadString: a string resource comes whole, and a missing one changes nothing.
#include <afxwin.h>
#include <gtest/gtest.h>

#include <string>

#include "TestResources.h"

TEST(String, LoadStringTakesTheWholeTextWhateverItsLength)
{
    std::string expected;
    for (int i = 0; i < 30; ++i)
        expected += "0123456789";
    CString text;
    ASSERT_TRUE(text.LoadString(IDS_AFX_LONG));
    EXPECT_EQ(text.GetLength(), 300);
    EXPECT_EQ(text.GetString(), expected);
}

TEST(String, LoadStringOfAMissingIdFailsAndKeepsTheText)
{
    CString text("kept");
    EXPECT_FALSE(text.LoadString(IDS_AFX_MISSING));
    EXPECT_STREQ(text, "kept");
}
