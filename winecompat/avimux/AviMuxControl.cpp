// The mux's IMediaSeeking (how much is written), IConfigInterleaving and IConfigAviMux.
// One video stream needs no interleaving, so every mode is taken and kept as set.
#include "AviMux.h"

#include <uuids.h>

#include "comkit/OutParam.h"

namespace
{
constexpr DWORD kSeekingCapabilities =
    AM_SEEKING_CanGetCurrentPos | AM_SEEKING_CanGetStopPos | AM_SEEKING_CanGetDuration;

// Media time is the only time format the mux counts in; `other` is what any other gets.
HRESULT MediaTimeOnly(const GUID* format, HRESULT other)
{
    if (!format)
        return E_POINTER;
    return *format == TIME_FORMAT_MEDIA_TIME ? S_OK : other;
}

// The mux's settings are read and written under its data lock.
template <class T, class Value>
HRESULT LockedSet(comkit::CriticalSection& lock, T& setting, const Value& value)
{
    comkit::Lock data(lock);
    setting = value;
    return S_OK;
}

template <class T, class Value>
HRESULT LockedGet(comkit::CriticalSection& lock, const T& setting, Value* out)
{
    comkit::Lock data(lock);
    return comkit::SetOut(out, setting);
}
}  // namespace

STDMETHODIMP AviMux::GetCapabilities(DWORD* capabilities)
{
    return comkit::SetOut(capabilities, kSeekingCapabilities);
}

STDMETHODIMP AviMux::CheckCapabilities(DWORD* capabilities)
{
    if (!capabilities)
        return E_POINTER;
    const DWORD asked = *capabilities;
    *capabilities &= kSeekingCapabilities;
    return *capabilities == asked ? S_OK : *capabilities ? S_FALSE : E_FAIL;
}

STDMETHODIMP AviMux::IsFormatSupported(const GUID* format)
{
    return MediaTimeOnly(format, S_FALSE);
}

STDMETHODIMP AviMux::QueryPreferredFormat(GUID* format)
{
    return GetTimeFormat(format);
}

STDMETHODIMP AviMux::GetTimeFormat(GUID* format)
{
    return comkit::SetOut(format, TIME_FORMAT_MEDIA_TIME);
}

STDMETHODIMP AviMux::IsUsingTimeFormat(const GUID* format)
{
    return IsFormatSupported(format);
}

STDMETHODIMP AviMux::SetTimeFormat(const GUID* format)
{
    return MediaTimeOnly(format, E_INVALIDARG);
}

STDMETHODIMP AviMux::GetDuration(LONGLONG* duration)
{
    return GetCurrentPosition(duration);
}

STDMETHODIMP AviMux::GetStopPosition(LONGLONG* stop)
{
    return GetCurrentPosition(stop);
}

STDMETHODIMP AviMux::GetCurrentPosition(LONGLONG* current)
{
    return comkit::SetOut(current, WrittenDuration());
}

STDMETHODIMP AviMux::ConvertTimeFormat(LONGLONG* target, const GUID* targetFormat, LONGLONG source,
                                       const GUID* sourceFormat)
{
    if (!target)
        return E_POINTER;
    const bool mediaTime = (!targetFormat || *targetFormat == TIME_FORMAT_MEDIA_TIME) &&
                           (!sourceFormat || *sourceFormat == TIME_FORMAT_MEDIA_TIME);
    if (!mediaTime)
        return E_INVALIDARG;
    *target = source;
    return S_OK;
}

STDMETHODIMP AviMux::SetPositions(LONGLONG*, DWORD, LONGLONG*, DWORD)
{
    return E_NOTIMPL;  // a recording is not seekable
}

STDMETHODIMP AviMux::GetPositions(LONGLONG* current, LONGLONG* stop)
{
    const LONGLONG written = WrittenDuration();
    if (current)
        *current = written;
    if (stop)
        *stop = written;
    return S_OK;
}

STDMETHODIMP AviMux::GetAvailable(LONGLONG* earliest, LONGLONG* latest)
{
    if (earliest)
        *earliest = 0;
    if (latest)
        *latest = WrittenDuration();
    return S_OK;
}

STDMETHODIMP AviMux::SetRate(double rate)
{
    return rate == 1.0 ? S_OK : E_INVALIDARG;
}

STDMETHODIMP AviMux::GetRate(double* rate)
{
    return comkit::SetOut(rate, 1.0);
}

STDMETHODIMP AviMux::GetPreroll(LONGLONG* preroll)
{
    return comkit::SetOut(preroll, 0LL);
}

STDMETHODIMP AviMux::put_Mode(InterleavingMode mode)
{
    if (mode < INTERLEAVE_NONE || mode > INTERLEAVE_NONE_BUFFERED)
        return E_INVALIDARG;
    return LockedSet(DataLock(), m_mode, mode);
}

STDMETHODIMP AviMux::get_Mode(InterleavingMode* mode)
{
    return LockedGet(DataLock(), m_mode, mode);
}

STDMETHODIMP AviMux::put_Interleaving(const REFERENCE_TIME* interleave, const REFERENCE_TIME* preroll)
{
    comkit::Lock data(DataLock());
    if (interleave)
        m_interleave = *interleave;
    if (preroll)
        m_preroll = *preroll;
    return S_OK;
}

STDMETHODIMP AviMux::get_Interleaving(REFERENCE_TIME* interleave, REFERENCE_TIME* preroll)
{
    if (!interleave || !preroll)
        return E_POINTER;
    comkit::Lock data(DataLock());
    *interleave = m_interleave;
    *preroll = m_preroll;
    return S_OK;
}

STDMETHODIMP AviMux::SetMasterStream(LONG stream)
{
    if (stream < -1 || stream > 0)
        return E_INVALIDARG;  // -1: none, 0: the video stream
    return LockedSet(DataLock(), m_masterStream, stream);
}

STDMETHODIMP AviMux::GetMasterStream(LONG* stream)
{
    return LockedGet(DataLock(), m_masterStream, stream);
}

STDMETHODIMP AviMux::SetOutputCompatibilityIndex(BOOL compatible)
{
    return LockedSet(DataLock(), m_compatibilityIndex, compatible);
}

STDMETHODIMP AviMux::GetOutputCompatibilityIndex(BOOL* compatible)
{
    return LockedGet(DataLock(), m_compatibilityIndex, compatible);
}
