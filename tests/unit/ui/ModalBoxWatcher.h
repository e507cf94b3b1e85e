// Closes the program's modal boxes ("Error!", the About box) from a second thread, as
// a user would press OK, and keeps what they said.
#pragma once

#include <windows.h>

#include <atomic>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "comkit/NonCopyable.h"

struct SeenBox
{
    std::string title;
    std::string text;  // the box's message, or its first static text
    HWND owner;
};

class ModalBoxWatcher : comkit::NonCopyable
{
public:
    ModalBoxWatcher();
    ~ModalBoxWatcher();

    std::vector<SeenBox> Take();

private:
    void Watch();
    static BOOL CALLBACK OnWindow(HWND hWnd, LPARAM self);

    std::atomic<bool> m_stop{false};
    std::mutex m_lock;
    std::vector<SeenBox> m_seen;
    std::vector<HWND> m_closing;
    std::thread m_thread;
};
