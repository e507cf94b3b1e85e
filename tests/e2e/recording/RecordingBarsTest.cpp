// Long recordings: every camera frame reaches the clip, once, in order.
#include <windows.h>
#include <gtest/gtest.h>

#include "RecordingFixture.h"

namespace e2e {
namespace {

TEST_F(RecordingTest, TenSecondsAt640x480And30Fps)
{
    StartInAviMode();
    ExpectWholeClip(RecordFor("10", "30"), 640, 480, 300, 3);
}

TEST_F(RecordingTest, TenSecondsAt1280x960And15Fps)
{
    StartInAviMode();
    window.ClickAndSettle(IDC_FORMAT);
    window.ClickAndSettle(IDC_FORMAT);
    ASSERT_TRUE(WaitForText(IDC_STATUS, "Preview: 1280 x 960"));
    ExpectWholeClip(RecordFor("10", "15"), 1280, 960, 150, 2);
}

}  // namespace
}  // namespace e2e
