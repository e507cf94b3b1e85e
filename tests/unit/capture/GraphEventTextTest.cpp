// Graph events as the dialog reads them, and the words it shows for each cause.
#include <gtest/gtest.h>

#include <dshow.h>

#include "capture/GraphEventText.h"

namespace
{
TEST(GraphEventText, EventsThatEndARecordingAndTheirCauses)
{
    const HRESULT diskFull = HRESULT_FROM_WIN32(ERROR_DISK_FULL);
    struct Case
    {
        long code;
        LONG_PTR param1, param2;
        GraphEventKind kind;
        const char* cause;
    } cases[] = {
        {EC_ERRORABORT, diskFull, 0, GraphEventKind::Failed, "the disk is full"},
        {EC_STREAM_ERROR_STOPPED, E_ACCESSDENIED, 0, GraphEventKind::Failed, "access denied"},
        {EC_ERRORABORT, HRESULT_FROM_WIN32(ERROR_PATH_NOT_FOUND), 0, GraphEventKind::Failed,
         "path not found"},
        {EC_DEVICE_LOST, 0, 0, GraphEventKind::DeviceLost, "the camera was unplugged"},
        {EC_COMPLETE, S_OK, 0, GraphEventKind::StreamEnded, "the stream ended"},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.cause);
        const GraphEventMeaning meaning = ClassifyGraphEvent(c.code, c.param1, c.param2);
        EXPECT_EQ(c.kind, meaning.kind);
        EXPECT_EQ(c.cause, StopCauseText(meaning));
    }
    EXPECT_EQ(GraphEventKind::DeviceBack, ClassifyGraphEvent(EC_DEVICE_LOST, 0, 1).kind);
    EXPECT_EQ(GraphEventKind::Other, ClassifyGraphEvent(EC_CLOCK_CHANGED, 0, 0).kind);
    EXPECT_EQ("Stopped after 5 s: the disk is full",
              RecordingStoppedText(5, StopCauseText({GraphEventKind::Failed, diskFull})));
}

TEST(GraphEventText, EveryCauseHasWordsNeverABareNumber)
{
    EXPECT_EQ("Snapshot not written: invalid name (a<b>c_0000.bmp)",
              SnapshotNotWrittenText(HRESULT_FROM_WIN32(ERROR_INVALID_NAME), "a<b>c_0000.bmp"));
    EXPECT_EQ("the disk is full", FailureCauseText(STG_E_MEDIUMFULL));
    for (HRESULT hr : {E_FAIL, HRESULT_FROM_WIN32(ERROR_NOT_READY), static_cast<HRESULT>(0x8badf00d)})
    {
        const std::string text = FailureCauseText(hr);
        EXPECT_FALSE(text.empty());
        EXPECT_EQ(std::string::npos, text.find("0x")) << text;
        EXPECT_EQ(std::string::npos, text.find_first_of("0123456789")) << text;
    }
    EXPECT_EQ("Camera lost: Tarnview Virtual Camera", CameraLostText("Tarnview Virtual Camera"));
}
}  // namespace
