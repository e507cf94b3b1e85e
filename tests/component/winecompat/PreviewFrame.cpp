#include "PreviewFrame.h"

PreviewFrame::PreviewFrame()
{
    m_dialog = CreateWindowExW(0, L"STATIC", L"Preview test", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 100, 80, 420,
                               340, nullptr, nullptr, nullptr, nullptr);
    if (m_dialog)
        m_frame = CreateWindowExW(0, L"STATIC", L"", WS_CHILD | WS_VISIBLE, kFrameLeft, kFrameTop,
                                  kFrameWidth, kFrameHeight, m_dialog, nullptr, nullptr, nullptr);
    PumpMessages();
}

PreviewFrame::~PreviewFrame()
{
    if (m_dialog)
        DestroyWindow(m_dialog);
}

RECT PreviewFrame::FrameOnScreen() const
{
    RECT client = {};
    GetClientRect(m_frame, &client);
    MapWindowPoints(m_frame, HWND_DESKTOP, reinterpret_cast<POINT*>(&client), 2);
    return client;
}

void PumpMessages()
{
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE))
    {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
}
