#include "CaptureBuilder.h"

#include <strmif.h>
#include <wrl/client.h>

#include "OutputFile.h"
#include "PlatformClass.h"
#include "comkit/Unknown.h"

using Microsoft::WRL::ComPtr;

namespace
{

class CaptureBuilder : public ICaptureGraphBuilder2, public ICaptureGraphBuilder
{
public:
    static const comkit::InterfaceEntry* Interfaces()
    {
        using namespace comkit;
        return InterfaceTable<CaptureBuilder, Is<ICaptureGraphBuilder2>,
                              IsIf<ICaptureGraphBuilder, &CaptureBuilder::HasOldInterface>>();
    }

    HRESULT FinalConstruct()
    {
        HRESULT hr = CreatePlatformCaptureBuilder(&m_library, &m_inner);
        if (SUCCEEDED(hr))
            m_inner.As(&m_innerOld);  // the old interface is optional
        return hr;
    }

    bool HasOldInterface() { return m_innerOld != nullptr; }

    // Shared by both interfaces.
    STDMETHODIMP SetFiltergraph(IGraphBuilder* graph) override { return m_inner->SetFiltergraph(graph); }
    STDMETHODIMP GetFiltergraph(IGraphBuilder** graph) override { return m_inner->GetFiltergraph(graph); }
    STDMETHODIMP SetOutputFileName(const GUID* type, LPCOLESTR file, IBaseFilter** mux,
                                   IFileSinkFilter** sink) override
    {
        return SetAviOutputFileName(m_inner.Get(), type, file, mux, sink);
    }
    STDMETHODIMP AllocCapFile(LPCOLESTR file, DWORDLONG size) override
    {
        return m_inner->AllocCapFile(file, size);
    }
    STDMETHODIMP CopyCaptureFile(LPOLESTR oldFile, LPOLESTR newFile, int allowEscAbort,
                                 IAMCopyCaptureFileProgress* progress) override
    {
        return m_inner->CopyCaptureFile(oldFile, newFile, allowEscAbort, progress);
    }

    // ICaptureGraphBuilder2
    STDMETHODIMP FindInterface(const GUID* category, const GUID* type, IBaseFilter* filter, REFIID riid,
                               void** ppv) override
    {
        return m_inner->FindInterface(category, type, filter, riid, ppv);
    }
    STDMETHODIMP RenderStream(const GUID* category, const GUID* type, IUnknown* source,
                              IBaseFilter* compressor, IBaseFilter* renderer) override
    {
        return m_inner->RenderStream(category, type, source, compressor, renderer);
    }
    STDMETHODIMP ControlStream(const GUID* category, const GUID* type, IBaseFilter* filter,
                               REFERENCE_TIME* start, REFERENCE_TIME* stop, WORD startCookie,
                               WORD stopCookie) override
    {
        return m_inner->ControlStream(category, type, filter, start, stop, startCookie, stopCookie);
    }
    STDMETHODIMP FindPin(IUnknown* source, PIN_DIRECTION direction, const GUID* category, const GUID* type,
                         BOOL unconnected, int index, IPin** pin) override
    {
        return m_inner->FindPin(source, direction, category, type, unconnected, index, pin);
    }

    // ICaptureGraphBuilder (only handed out when Wine's builder has it)
    STDMETHODIMP FindInterface(const GUID* category, IBaseFilter* filter, REFIID riid, void** ppv) override
    {
        return m_innerOld->FindInterface(category, filter, riid, ppv);
    }
    STDMETHODIMP RenderStream(const GUID* category, IUnknown* source, IBaseFilter* compressor,
                              IBaseFilter* renderer) override
    {
        return m_innerOld->RenderStream(category, source, compressor, renderer);
    }
    STDMETHODIMP ControlStream(const GUID* category, IBaseFilter* filter, REFERENCE_TIME* start,
                               REFERENCE_TIME* stop, WORD startCookie, WORD stopCookie) override
    {
        return m_innerOld->ControlStream(category, filter, start, stop, startCookie, stopCookie);
    }

protected:
    ~CaptureBuilder() = default;

private:
    LibraryHandle m_library;  // declared first: unloaded only after the objects below are gone
    ComPtr<ICaptureGraphBuilder2> m_inner;
    ComPtr<ICaptureGraphBuilder> m_innerOld;
};

}  // namespace

HRESULT CreateCaptureBuilder(REFIID riid, void** ppv)
{
    return comkit::CreateObject<CaptureBuilder>(riid, ppv);
}
