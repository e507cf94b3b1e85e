// MJPG frames drawn and encoded one frame ahead on a thread of their own, as a camera's
// encoder works while the previous frame travels over USB: while the streaming thread
// hands frame n downstream (where decoding it for the preview takes as long as encoding
// it here), frame n+1 is encoded beside it. A frame asked for that was not made ahead
// (the first, one after dropped numbers, another scene) is made at once.
#pragma once

#include <windows.h>

#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <thread>
#include <vector>

#include "vcam/filter/StripJpegEncoder.h"
#include "vcam/frame/FrameGenerator.h"

class JpegAhead
{
public:
    JpegAhead(LONG width, LONG height) : m_width(width), m_height(height) {}
    ~JpegAhead();
    JpegAhead(const JpegAhead&) = delete;
    JpegAhead& operator=(const JpegAhead&) = delete;

    // Frame `number` of `scene` into out[0..capacity); *length: its bytes. Fails when
    // the JPEG does not fit or the encoder fails.
    HRESULT Paint(uint32_t number, const SceneSettings& scene, BYTE* out, LONG capacity, LONG* length);

private:
    struct Frame
    {
        uint32_t number = 0;
        SceneSettings scene;
    };

    void StartThread();
    void ThreadMain();
    bool Holds(const Frame& frame) const;
    // Draws and encodes into m_jpeg; only one thread at a time, while m_busy or idle.
    void Make(const Frame& frame);

    const LONG m_width;
    const LONG m_height;
    FrameGenerator m_generator;
    StripJpegEncoder m_encoder;
    std::vector<BYTE> m_rgb;
    std::vector<BYTE> m_jpeg;
    Frame m_made;  // what m_jpeg holds
    HRESULT m_madeResult = E_FAIL;
    LONG m_madeLength = 0;

    std::mutex m_mutex;
    std::condition_variable m_wake;
    bool m_asked = false;  // m_next waits for the thread
    bool m_busy = false;   // the thread is making m_next
    bool m_stop = false;
    Frame m_next;
    std::thread m_thread;
    bool m_threadFailed = false;  // no thread: every frame is made at once
};
