// An incrementing counter goes on above the files that exist: in a second run of the
// program, after "&Reset Counter", past a gap, for stills and clips alike. Names that
// would open a device or a hidden stream are refused before anything is captured.
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

    // The click is answered, with the refusal, and nothing was captured.
    void ExpectRefused(const std::string& name)
    {
        window.SetText(IDC_FILENAME, name);
        window.ClickAndSettle(IDC_ACTION);
        EXPECT_TRUE(window.Settle()) << name << ": the window does not answer";
        EXPECT_EQ(window.Text(IDC_CAPTURE_STATUS), "Invalid file name: nothing captured") << name;
        EXPECT_EQ(window.Text(IDC_LAST_FILE), "") << name;
        EXPECT_EQ(window.Text(IDC_ACTION),
                  window.IsChecked(IDC_MODE_AVI) ? "&Start Capture" : "&Take Snapshot");
    }

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

TEST_F(NamesTest, DeviceNamesAndColonsAreRefusedAndTheWindowAnswers)
{
    AddDefaultCamera();
    Start();
    ASSERT_TRUE(window);
    for (const char* name : {"nul.x", "prn.txt", "clip:evil"})
        ExpectRefused(name);
    window.ClickAndSettle(IDC_MODE_AVI);
    ExpectRefused("clip:evil");
    EXPECT_FALSE(app.HasDialog(kErrorCaption));
    for (const std::string& folder : {DocumentsFolder(), ExecutableFolder()})
    {
        WIN32_FIND_DATAA found;
        HANDLE search = FindFirstFileA((folder + "clip*").c_str(), &found);
        EXPECT_EQ(search, INVALID_HANDLE_VALUE) << folder << found.cFileName;
        if (search != INVALID_HANDLE_VALUE)
            FindClose(search);
    }
}

TEST_F(NamesTest, AStillGoesOnAboveTheFilesThereWithoutFillingAGap)
{
    AddDefaultCamera();
    Start();
    ASSERT_TRUE(window);
    UseUniqueBaseName();
    for (const char* number : {"_0000.bmp", "_0001.bmp", "_0005.bmp"})
    {
        HANDLE file = CreateFileA(OutputPath(baseName + number).c_str(), GENERIC_WRITE, 0, nullptr,
                                  CREATE_NEW, 0, nullptr);
        ASSERT_NE(file, INVALID_HANDLE_VALUE) << number;
        CloseHandle(file);
    }
    EXPECT_EQ(Snap(), baseName + "_0006.bmp");
}

}  // namespace
}  // namespace e2e
