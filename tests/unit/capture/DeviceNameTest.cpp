#include <gtest/gtest.h>

#include <string>

#include "capture/DeviceName.h"
#include "comkit/Bstr.h"

namespace
{
std::string Converted(const wchar_t* name)
{
    const comkit::Bstr text(name);
    return AnsiDeviceName(text.Get());
}

TEST(DeviceName, ShownWholeAndSafelyWhateverItHolds)
{
    EXPECT_EQ("Generic USB Camera", Converted(L"Generic USB Camera"));
    EXPECT_EQ("", AnsiDeviceName(nullptr));

    const std::wstring longName(700, L'W');
    EXPECT_EQ(std::string(700, 'W'), Converted(longName.c_str()));

    // Characters the ANSI code page lacks come out as its default character, one each.
    const std::string odd = Converted(L"Cam \x4E2D\x6587 \x2603!");
    EXPECT_EQ(0u, odd.find("Cam "));
    EXPECT_EQ('!', odd.back());
    EXPECT_EQ(std::string::npos, odd.find('\0'));

    comkit::Bstr embedded;
    *embedded.Receive() = SysAllocStringLen(L"front\0back", 10);
    EXPECT_EQ("front", AnsiDeviceName(embedded.Get()));
}
}  // namespace
