#include "NextFrameGrab.h"

#include <algorithm>
#include <cstring>

#include "comkit/MediaType.h"

namespace
{
bool WriteWhole(HANDLE file, const void* data, DWORD size)
{
    DWORD written = 0;
    return WriteFile(file, data, size, &written, nullptr) && written == size;
}
}  // namespace

NextFrameGrab::NextFrameGrab() : m_copied(CreateEventW(nullptr, FALSE, FALSE, nullptr))
{
}

NextFrameGrab::~NextFrameGrab()
{
    if (m_control)
        m_control->Stop();
}

HRESULT NextFrameGrab::Start(IBaseFilter* camera)
{
    HRESULT hr = m_chain.Build(camera);
    if (FAILED(hr) || FAILED(hr = m_chain.graph.As(&m_control)))
        return hr;
    ISampleGrabber* grabber = m_chain.grabber.Get();
    comkit::MediaType connected;
    if (FAILED(hr = grabber->GetConnectedMediaType(&connected.Edit())))
        return hr;
    const AM_MEDIA_TYPE& type = connected.Get();
    if (type.formattype != FORMAT_VideoInfo || type.cbFormat < sizeof(VIDEOINFOHEADER))
        return VFW_E_INVALIDMEDIATYPE;
    m_header = reinterpret_cast<const VIDEOINFOHEADER*>(type.pbFormat)->bmiHeader;
    m_frame.resize(m_header.biSizeImage);
    grabber->SetBufferSamples(FALSE);
    grabber->SetOneShot(FALSE);
    if (FAILED(hr = grabber->SetCallback(this, 1)))
        return hr;
    // S_FALSE: a live source cannot cue; the graph finishes the change running.
    return SUCCEEDED(hr = m_control->Run()) ? S_OK : hr;
}

bool NextFrameGrab::SnapTo(const std::string& path)
{
    m_armed.store(true);
    if (WaitForSingleObject(m_copied.Get(), 30000) != WAIT_OBJECT_0)
        return false;
    BITMAPFILEHEADER file = {};
    file.bfType = 0x4D42;
    file.bfOffBits = sizeof file + sizeof m_header;
    file.bfSize = file.bfOffBits + static_cast<DWORD>(m_frame.size());
    comkit::Handle out(CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
    return out && WriteWhole(out.Get(), &file, sizeof file) && WriteWhole(out.Get(), &m_header, sizeof m_header) &&
           WriteWhole(out.Get(), m_frame.data(), static_cast<DWORD>(m_frame.size()));
}

STDMETHODIMP NextFrameGrab::QueryInterface(REFIID riid, void** ppv)
{
    if (!ppv)
        return E_POINTER;
    if (riid == IID_IUnknown || riid == IID_ISampleGrabberCB)
    {
        *ppv = static_cast<ISampleGrabberCB*>(this);
        return S_OK;
    }
    *ppv = nullptr;
    return E_NOINTERFACE;
}

// The streaming thread copies only when armed, as the program's callback does.
STDMETHODIMP NextFrameGrab::BufferCB(double, BYTE* buffer, long length)
{
    if (!buffer || !m_armed.exchange(false))
        return S_OK;
    std::memcpy(m_frame.data(), buffer, std::min<size_t>(m_frame.size(), length > 0 ? length : 0));
    SetEvent(m_copied.Get());
    return S_OK;
}
