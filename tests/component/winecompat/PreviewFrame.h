// A dialog-like top-level window with a borderless child frame, placed away from the
// screen's origin, as the program's preview frame sits inside its dialog.
#pragma once

#include <windows.h>

class PreviewFrame
{
public:
    PreviewFrame();
    ~PreviewFrame();
    PreviewFrame(const PreviewFrame&) = delete;
    PreviewFrame& operator=(const PreviewFrame&) = delete;

    bool Created() const { return m_dialog && m_frame; }
    HWND Dialog() const { return m_dialog; }
    HWND Frame() const { return m_frame; }
    RECT FrameOnScreen() const;  // the frame's client area in screen coordinates

    static constexpr int kFrameLeft = 15;
    static constexpr int kFrameTop = 20;
    static constexpr int kFrameWidth = 320;
    static constexpr int kFrameHeight = 240;

private:
    HWND m_dialog = nullptr;
    HWND m_frame = nullptr;
};

// Lets pending window messages through, as the program's message loop would.
void PumpMessages();
