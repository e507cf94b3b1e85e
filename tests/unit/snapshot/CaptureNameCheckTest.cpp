// Base names that would open a device or a hidden stream are refused; everything a
// user may really mean by a name, folder separators included, passes.
#include <gtest/gtest.h>

#include "snapshot/CaptureNameCheck.h"

TEST(CaptureNameCheck, DeviceNamesAloneOrWithAnExtensionAreRefused)
{
    for (const char* name : {"CON", "prn", "Aux", "NUL", "com1", "COM9", "LPT1", "lpt9", "nul.x", "prn.txt",
                             "CON.tar.gz", "nul .x", "aux "})
        EXPECT_FALSE(IsSafeCaptureName(name)) << name;
}

TEST(CaptureNameCheck, DeviceNamesAreRefusedAsAnyComponent)
{
    for (const char* name : {"nul\\night", "night\\CON", "a/com3.log/b", "\\lpt2\\x"})
        EXPECT_FALSE(IsSafeCaptureName(name)) << name;
}

TEST(CaptureNameCheck, CharactersWindowsRefusesAreRefused)
{
    for (const char* name : {"clip:evil", "C:x", "M42 22:15", "a*", "a?", "say\"hi\"", "a<b", "a>b", "a|b",
                             "tab\there", "line\nbreak", "\x1f"})
        EXPECT_FALSE(IsSafeCaptureName(name)) << name;
}

TEST(CaptureNameCheck, OrdinaryNamesAndFolderSeparatorsPass)
{
    for (const char* name : {"", "Tarnview_Capture", "M42 22-15", "COM0", "COM10", "LPT", "CONSOLE", "nullx",
                             "null.x", "x.nul", "my_con", "night\\moon", "night/moon", "..\\up", "caf\xe9"})
        EXPECT_TRUE(IsSafeCaptureName(name)) << name;
}
