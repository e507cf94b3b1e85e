// The mux's COM identity and its states on comkit's FilterBase. Pause starts a new file
// (the header region goes out at once), Stop finishes it; samples are taken only in between.
#include "AviMuxFilter.h"

#include "../WinecompatGuids.h"
#include "AviMux.h"

AviMux::AviMux()
    : FilterBase(CLSID_TarnviewAviMux),
      m_input(*this, static_cast<MuxStreamHost&>(*this)),
      m_output(*this)
{
}

const comkit::InterfaceEntry* AviMux::Interfaces()
{
    using namespace comkit;
    return InterfaceTable<AviMux, Is<IBaseFilter>, As<IBaseFilter, IMediaFilter>, As<IBaseFilter, IPersist>,
                          Is<IMediaSeeking>, Is<IConfigInterleaving>, Is<IConfigAviMux>>();
}

comkit::PinBase* AviMux::PinAt(size_t index)
{
    if (index == 0)
        return &m_input;
    return index == 1 ? &m_output : nullptr;
}

// A failed Pause leaves Wine's graph half paused and unable to let go of its filters,
// so a file that cannot start is reported as an event instead (BeginFile).
HRESULT AviMux::OnPause(FILTER_STATE from)
{
    if (from == State_Stopped)
        BeginFile();
    return S_OK;
}

void AviMux::OnStop()
{
    FinishFile();
}

HRESULT CreateAviMux(REFIID riid, void** ppv)
{
    return comkit::CreateObject<AviMux>(riid, ppv);
}
