#include "vcam/filter/JpegAhead.h"

#include <cstring>
#include <system_error>

#include "comkit/ComApartment.h"

namespace
{

// What the picture depends on (the exposure only paces frames).
bool SamePicture(const SceneSettings& a, const SceneSettings& b)
{
    return a.starDensity == b.starDensity && a.brightness == b.brightness &&
           a.showFrameNumber == b.showFrameNumber && a.pattern == b.pattern;
}

}  // namespace

JpegAhead::~JpegAhead()
{
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_stop = true;
    }
    m_wake.notify_all();
    if (m_thread.joinable())
        m_thread.join();
}

HRESULT JpegAhead::Paint(uint32_t number, const SceneSettings& scene, BYTE* out, LONG capacity, LONG* length)
{
    const Frame wanted{number, scene};
    {
        std::unique_lock<std::mutex> lock(m_mutex);
        m_wake.wait(lock, [this] { return !m_asked && !m_busy; });
    }
    // The thread is idle until asked again: its state is this thread's meanwhile.
    if (!Holds(wanted))
        Make(wanted);
    HRESULT hr = m_madeResult;
    if (SUCCEEDED(hr) && m_madeLength > capacity)
        hr = E_FAIL;
    if (SUCCEEDED(hr))
    {
        std::memcpy(out, m_jpeg.data(), static_cast<size_t>(m_madeLength));
        *length = m_madeLength;
    }
    if (!m_thread.joinable() && !m_threadFailed)
        StartThread();
    if (m_thread.joinable())
    {
        {
            std::lock_guard<std::mutex> lock(m_mutex);
            m_next = Frame{number + 1, scene};
            m_asked = true;
        }
        m_wake.notify_all();
    }
    return hr;
}

void JpegAhead::StartThread()
{
    try
    {
        m_thread = std::thread(&JpegAhead::ThreadMain, this);
    }
    catch (const std::system_error&)
    {
        m_threadFailed = true;
    }
}

void JpegAhead::ThreadMain()
{
    comkit::ComApartment apartment(COINIT_MULTITHREADED);
    std::unique_lock<std::mutex> lock(m_mutex);
    for (;;)
    {
        m_wake.wait(lock, [this] { return m_stop || m_asked; });
        if (m_stop)
            return;
        const Frame frame = m_next;
        m_asked = false;
        m_busy = true;
        lock.unlock();
        Make(frame);
        lock.lock();
        m_busy = false;
        m_wake.notify_all();
    }
}

bool JpegAhead::Holds(const Frame& frame) const
{
    return SUCCEEDED(m_madeResult) && m_made.number == frame.number && SamePicture(m_made.scene, frame.scene);
}

void JpegAhead::Make(const Frame& frame)
{
    const FrameLayout layout = Rgb24Layout(m_width, -m_height);
    const size_t bytes = static_cast<size_t>(layout.stride) * m_height;
    m_made = frame;
    try
    {
        m_rgb.resize(bytes);
        m_jpeg.resize(bytes);  // a JPEG larger than the bitmap is a frame the camera loses
        m_generator.Render(layout, m_rgb.data(), frame.number, frame.scene);
        m_madeResult = m_encoder.Encode(m_rgb.data(), m_width, m_height, layout.stride, m_jpeg.data(),
                                        static_cast<LONG>(bytes), &m_madeLength);
    }
    catch (...)
    {
        // Out of memory, possibly on the encoding thread: a lost frame, not a lost process.
        m_madeResult = E_OUTOFMEMORY;
    }
}
