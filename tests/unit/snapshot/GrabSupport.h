// Helpers for driving the grab buffer as the streaming and user-interface threads do.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

// Puts GrabBuffer back to its start-of-process state (frees any block).
void ResetGrabBuffer();

// A window on the calling thread that receives WM_FRAME_GRABBED; counts and drains them.
class FrameGrabbedSink
{
public:
    FrameGrabbedSink();
    ~FrameGrabbedSink();
    HWND Window() const { return m_window; }
    int Drain();                        // messages waiting now
    bool WaitForOne(DWORD timeoutMs);   // consumes one message
private:
    HWND m_window;
};

// Calls BufferCB on a thread of its own, as the streaming thread would, and waits.
HRESULT DeliverFrame(BYTE* buffer, LONG length);

// A frame whose every byte is `value`.
std::vector<BYTE> UniformFrame(LONG length, BYTE value);

// A fresh folder under Z:\tmp (so the Unix checkers can reach it), removed afterwards.
class ScratchFolder
{
public:
    ScratchFolder();
    ~ScratchFolder();
    const std::string& Path() const { return m_path; }  // ends in a backslash
private:
    std::string m_path;
};

std::vector<BYTE> ReadWholeFile(const std::string& path);
bool FileExists(const std::string& path);
