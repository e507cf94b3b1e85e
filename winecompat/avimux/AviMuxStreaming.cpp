// The mux's file: begun on Pause, fed by the input pin's samples, finished on Stop. A
// failed write ends the file (the writer keeps what is written readable) and is
// reported to the graph once, as EC_ERRORABORT with the failing HRESULT.
#include <evcode.h>

#include <new>

#include "AviMux.h"
#include "VideoFormatOf.h"

void AviMux::BeginFile()
{
    HRESULT hr;
    {
        comkit::Lock lock(m_writeLock);
        try
        {
            hr = BeginFileLocked();
        }
        catch (...)
        {
            hr = E_OUTOFMEMORY;
        }
        m_accepting = SUCCEEDED(hr);
    }
    if (FAILED(hr) && hr != VFW_E_NOT_CONNECTED)
        ReportFault(hr);
}

// Nothing connected, nothing written: a graph may pause a mux that records nothing.
HRESULT AviMux::BeginFileLocked()
{
    m_writer.reset();
    m_sink.reset();
    m_stream = m_output.PeerStream();
    m_faultReported = false;
    m_writtenFrames = 0;
    comkit::MediaType type;
    HRESULT hr = m_input.CopyType(&type);
    if (FAILED(hr) || !m_input.IsConnected() || !m_stream)
        return VFW_E_NOT_CONNECTED;
    AviVideoFormat format;
    hr = VideoFormatOf(type.Get(), &format);
    if (FAILED(hr))
        return hr;
    m_frameDuration = EffectiveFrameDuration(format.frameDuration);
    m_sink = std::make_unique<StreamSink>(m_stream.Get());
    m_writer = std::make_unique<OpenDmlWriter>(*m_sink, format, ConnectedFrameBytes(format.Header()));
    return m_writer->Start();
}

void AviMux::FinishFile()
{
    HRESULT hr = S_OK;
    {
        comkit::Lock lock(m_writeLock);
        m_accepting = false;
        if (m_writer && SUCCEEDED(m_writer->Fault()))
        {
            try
            {
                hr = m_writer->Finish();
            }
            catch (...)
            {
                hr = E_OUTOFMEMORY;
            }
        }
        m_writer.reset();
        m_sink.reset();
        m_stream.Reset();
    }
    if (FAILED(hr))
        ReportFault(hr);
}

HRESULT AviMux::OnFrame(IMediaSample* sample)
{
    HRESULT hr;
    {
        comkit::Lock lock(m_writeLock);
        if (!m_accepting || !m_writer)
            return VFW_E_WRONG_STATE;
        BYTE* data = nullptr;
        hr = sample->GetPointer(&data);
        const long length = sample->GetActualDataLength();
        if (SUCCEEDED(hr) && (length < 0 || !data))
            hr = E_INVALIDARG;
        if (SUCCEEDED(hr))
            hr = WriteSample(sample, data, static_cast<DWORD>(length));
        m_writtenFrames = static_cast<LONGLONG>(m_writer->Frames());
        if (SUCCEEDED(hr) || m_faultReported)
            return hr;
        m_faultReported = true;
        m_accepting = false;
    }
    ReportFault(hr);
    return hr;
}

HRESULT AviMux::OnEndOfStream()
{
    m_output.DeliverEndOfStream();
    return S_OK;
}

// Keyframes where the camera says so; a sample's time places it on the frame grid, so
// that frames the camera dropped become empty chunks (OpenDmlWriter::WriteFrameAt).
HRESULT AviMux::WriteSample(IMediaSample* sample, const BYTE* data, DWORD length)
{
    const bool keyframe = sample->IsSyncPoint() == S_OK;
    REFERENCE_TIME start = 0, stop = 0;
    try
    {
        if (SUCCEEDED(sample->GetTime(&start, &stop)))
            return m_writer->WriteFrameAt(start, data, length, keyframe);
        return m_writer->WriteFrame(data, length, keyframe);
    }
    catch (...)
    {
        return E_OUTOFMEMORY;
    }
}

void AviMux::ReportFault(HRESULT hr)
{
    NotifyEvent(EC_ERRORABORT, hr, 0);
}

LONGLONG AviMux::WrittenDuration() const
{
    return m_writtenFrames * m_frameDuration;
}
