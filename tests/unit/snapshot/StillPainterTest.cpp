#include <gtest/gtest.h>

#include "GrabSupport.h"
#include "snapshot/BmpLayout.h"
#include "snapshot/GrabBlock.h"
#include "snapshot/GrabBuffer.h"
#include "snapshot/StillPainter.h"

namespace
{
constexpr COLORREF kBlue = RGB(0, 0, 255);
constexpr COLORREF kRed = RGB(255, 0, 0);

// A still whose upper half (as seen) is blue and lower half red, in the row order
// that the sign of `height` gives.
std::vector<BYTE> TwoBandStill(LONG width, LONG height)
{
    const LONG rows = height < 0 ? -height : height;
    const LONG stride = Rgb24RowBytes(width);
    std::vector<BYTE> bits(static_cast<size_t>(stride * rows), 0);
    for (LONG row = 0; row < rows; ++row)
    {
        const bool upperHalf = (height < 0) ? row < rows / 2 : row >= rows / 2;
        for (LONG x = 0; x < width; ++x)
        {
            BYTE* pixel = &bits[static_cast<size_t>(row * stride + x * 3)];
            pixel[0] = upperHalf ? 255 : 0;  // blue
            pixel[2] = upperHalf ? 0 : 255;  // red
        }
    }
    return bits;
}

// A frame block that ends exactly where an inaccessible page begins, so any read past
// what the still describes faults.
class GuardedBlock
{
public:
    explicit GuardedBlock(const std::vector<BYTE>& bits)
    {
        const SIZE_T page = 4096;
        const SIZE_T span = (bits.size() + page - 1) / page * page;
        m_base =
            static_cast<BYTE*>(VirtualAlloc(nullptr, span + page, MEM_RESERVE | MEM_COMMIT, PAGE_READWRITE));
        DWORD old = 0;
        VirtualProtect(m_base + span, page, PAGE_NOACCESS, &old);
        m_block = m_base + span - bits.size();
        std::copy(bits.begin(), bits.end(), m_block);
    }
    ~GuardedBlock() { VirtualFree(m_base, 0, MEM_RELEASE); }
    BYTE* Block() const { return m_block; }

private:
    BYTE* m_base;
    BYTE* m_block;
};

class StillPainterTest : public testing::Test
{
protected:
    void SetUp() override
    {
        ResetGrabBuffer();
        m_top = CreateWindowExA(WS_EX_TOOLWINDOW | WS_EX_TOPMOST, "STATIC", "", WS_POPUP | WS_VISIBLE, 10, 10,
                                200, 150, nullptr, nullptr, nullptr, nullptr);
        m_frame = CreateWindowExA(0, "STATIC", "", WS_CHILD | WS_VISIBLE | SS_BLACKRECT, 20, 20, 120, 90,
                                  m_top, nullptr, nullptr, nullptr);
        UpdateWindow(m_top);
        Pump();
    }
    void TearDown() override
    {
        GrabBuffer.frameBytes = nullptr;  // the guarded block is not the heap's
        ResetGrabBuffer();
        DestroyWindow(m_top);
    }

    void ShowStill(BYTE* block, LONG capacity, LONG stillWidth, LONG stillHeight, LONG runningWidth,
                   LONG runningHeight)
    {
        GrabBuffer.frameBytes = block;
        GrabBuffer.frameCapacity = capacity;
        GrabBuffer.frameLength = capacity;
        GrabBuffer.lastStillHeader = MakeStillInfoHeader(stillWidth, stillHeight);
        GrabBuffer.haveStill = 1;
        GrabBuffer.frameWidth = runningWidth;
        GrabBuffer.frameHeight = runningHeight;
        GrabBlockLock lock;
        PaintStillLocked(m_frame);
    }

    COLORREF PixelAt(int x, int y)
    {
        HDC dc = GetDC(m_frame);
        const COLORREF color = GetPixel(dc, x, y);
        ReleaseDC(m_frame, dc);
        return color;
    }

    void ExpectBands(const char* what)
    {
        EXPECT_EQ(kBlue, PixelAt(3, 3)) << what;
        EXPECT_EQ(kBlue, PixelAt(116, 3)) << what;
        EXPECT_EQ(kRed, PixelAt(3, 86)) << what;
        EXPECT_EQ(kRed, PixelAt(116, 86)) << what;
    }

    static void Pump()
    {
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE))
            DispatchMessageA(&msg);
    }

    HWND m_top = nullptr;
    HWND m_frame = nullptr;
};

TEST_F(StillPainterTest, NothingIsDrawnBeforeTheFirstStill)
{
    const COLORREF unpainted = PixelAt(60, 45);
    GrabBlockLock lock;
    PaintStillLocked(m_frame);
    EXPECT_EQ(unpainted, PixelAt(60, 45));
}

TEST_F(StillPainterTest, BottomUpAndTopDownStillsFillTheFrameUpright)
{
    std::vector<BYTE> bottomUp = TwoBandStill(32, 32);
    ShowStill(bottomUp.data(), static_cast<LONG>(bottomUp.size()), 32, 32, 32, 32);
    ExpectBands("bottom-up");
    GrabBuffer.frameBytes = nullptr;

    std::vector<BYTE> topDown = TwoBandStill(32, -32);
    ShowStill(topDown.data(), static_cast<LONG>(topDown.size()), 32, -32, 32, -32);
    ExpectBands("top-down");
    GrabBuffer.frameBytes = nullptr;
}

TEST_F(StillPainterTest, LargerRunningFormatIsClippedToTheStoredStill)
{
    const std::vector<BYTE> bits = TwoBandStill(30, 32);  // rows padded to 92 bytes
    GuardedBlock block(bits);
    ShowStill(block.Block(), static_cast<LONG>(bits.size()), 30, 32, 640, 480);
    ExpectBands("clipped");
}

TEST_F(StillPainterTest, BlockTooSmallForTheStillIsNotRead)
{
    const std::vector<BYTE> bits = TwoBandStill(32, 32);
    GuardedBlock block(std::vector<BYTE>(bits.begin(), bits.begin() + 96 * 16));
    const COLORREF unpainted = PixelAt(60, 45);
    ShowStill(block.Block(), 96 * 16, 32, 32, 32, 32);
    EXPECT_EQ(unpainted, PixelAt(60, 45));
}
}  // namespace
