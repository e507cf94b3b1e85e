// An incrementing counter never reuses the name of a file that exists: not in a second
// run of the program, not after "&Reset Counter", for stills and clips alike.
#include <windows.h>
#include <gtest/gtest.h>

#include <map>
#include <vector>

#include "RecordingFixture.h"

namespace e2e
{
namespace
{

class NamesTest : public RecordingTest
{
protected:
    void TearDown() override
    {
        RecordingTest::TearDown();
        DeleteFilesStartingWith(DocumentsFolder(), baseName);
    }

    std::string Snap()
    {
        const std::string before = window.Text(IDC_LAST_FILE);
        window.ClickAndSettle(IDC_ACTION);
        EXPECT_TRUE(WaitUntil([&] { return window.Text(IDC_LAST_FILE) != before; }));
        return window.Text(IDC_LAST_FILE);
    }

    std::string Record()
    {
        window.ClickAndSettle(IDC_MODE_AVI);
        const std::string clip = RecordFor("1", "30");
        window.ClickAndSettle(IDC_MODE_SNAPSHOT);
        return clip.substr(DocumentsFolder().size());
    }

    void Restart()
    {
        ASSERT_TRUE(app.CloseAndWait());
        app.Kill();
        Start();
        ASSERT_TRUE(window);
        window.SetText(IDC_FILENAME, baseName);
    }

    void Keep(const std::string& name) { kept[name] = ReadFileBytes(OutputPath(name)); }

    std::map<std::string, std::vector<unsigned char>> kept;
};

TEST_F(NamesTest, ASecondRunAndAResetCounterGoOnFromTheFirstFreeNumber)
{
    AddDefaultCamera();
    Start();
    ASSERT_TRUE(window);
    UseUniqueBaseName();
    ASSERT_EQ(Snap(), baseName + "_0000.bmp");
    window.ClickAndSettle(IDC_RESET_COUNTER);
    ASSERT_EQ(Record(), baseName + "_0000.avi");
    Keep(baseName + "_0000.bmp");
    Keep(baseName + "_0000.avi");

    Restart();
    EXPECT_EQ(Snap(), baseName + "_0001.bmp");
    window.ClickAndSettle(IDC_RESET_COUNTER);
    EXPECT_EQ(Record(), baseName + "_0001.avi");
    window.ClickAndSettle(IDC_RESET_COUNTER);
    EXPECT_EQ(Snap(), baseName + "_0002.bmp");

    for (const auto& file : kept)
    {
        EXPECT_FALSE(file.second.empty()) << file.first;
        EXPECT_EQ(ReadFileBytes(OutputPath(file.first)), file.second) << file.first << " was overwritten";
    }
}

}  // namespace
}  // namespace e2e
