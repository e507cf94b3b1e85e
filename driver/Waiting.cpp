#include "driver/Waiting.h"

namespace e2e
{

namespace
{
void PumpPendingMessages()
{
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE))
    {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
}
}  // namespace

bool WaitUntil(const std::function<bool()>& condition, DWORD deadlineMs)
{
    const DWORD start = GetTickCount();
    for (;;)
    {
        if (condition())
            return true;
        if (GetTickCount() - start >= deadlineMs)
            return condition();
        PumpPendingMessages();
        Sleep(15);
    }
}

}  // namespace e2e
