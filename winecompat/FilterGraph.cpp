#include "FilterGraph.h"

#include <dshow.h>
#include <wrl/client.h>

#include "PlatformClass.h"
#include "VideoWindowPlace.h"
#include "VideoWindowStyle.h"
#include "comkit/InterfaceIds.h"
#include "comkit/Unknown.h"

using Microsoft::WRL::ComPtr;

namespace
{

// Wine's graph with our object as its outer unknown: its interfaces count on us and
// ask us for others, so filters that query the graph they joined also get our window.
HRESULT CreateInnerGraph(LibraryHandle* library, IUnknown* outer, ComPtr<IUnknown>* inner)
{
    return CreatePlatformObject(library, L"quartz.dll", CLSID_FilterGraph, outer,
                                IID_PPV_ARGS(inner->ReleaseAndGetAddressOf()));
}

class FilterGraph : public IVideoWindow
{
public:
    static const comkit::InterfaceEntry* Interfaces()
    {
        return comkit::InterfaceTable<FilterGraph, comkit::Is<IVideoWindow>>();
    }

    HRESULT FinalConstruct() { return CreateInnerGraph(&m_library, Identity(), &m_inner); }

    // Everything but the window goes to Wine's graph.
    HRESULT QueryOther(REFIID riid, void** ppv)
    {
        return m_inner ? m_inner->QueryInterface(riid, ppv) : E_NOINTERFACE;
    }

    // IDispatch: Invoke runs on this object, so scripted placement is mended as well.
    STDMETHODIMP GetTypeInfoCount(UINT* count) override
    {
        return Forward([&](IVideoWindow* w) { return w->GetTypeInfoCount(count); });
    }
    STDMETHODIMP GetTypeInfo(UINT index, LCID lcid, ITypeInfo** info) override
    {
        return Forward([&](IVideoWindow* w) { return w->GetTypeInfo(index, lcid, info); });
    }
    STDMETHODIMP GetIDsOfNames(REFIID riid, LPOLESTR* names, UINT count, LCID lcid, DISPID* ids) override
    {
        return Forward([&](IVideoWindow* w) { return w->GetIDsOfNames(riid, names, count, lcid, ids); });
    }
    STDMETHODIMP Invoke(DISPID id, REFIID riid, LCID lcid, WORD flags, DISPPARAMS* params, VARIANT* result,
                        EXCEPINFO* exception, UINT* argument) override
    {
        if (riid != IID_NULL)
            return DISP_E_UNKNOWNINTERFACE;
        ComPtr<ITypeInfo> info;
        HRESULT hr = GetTypeInfo(0, lcid, &info);
        if (FAILED(hr))
            return hr;
        return info->Invoke(Identity(), id, flags, params, result, exception, argument);
    }

    // IVideoWindow: the placement and styling Wine gets wrong.
    STDMETHODIMP put_Left(LONG left) override
    {
        return Forward([&](IVideoWindow* w) { return MoveWindowLeft(w, left); });
    }
    STDMETHODIMP put_Top(LONG top) override
    {
        return Forward([&](IVideoWindow* w) { return MoveWindowTop(w, top); });
    }
    STDMETHODIMP get_Left(LONG* left) override { return ReadPlace(left, nullptr, nullptr, nullptr); }
    STDMETHODIMP get_Top(LONG* top) override { return ReadPlace(nullptr, top, nullptr, nullptr); }
    STDMETHODIMP GetWindowPosition(LONG* left, LONG* top, LONG* width, LONG* height) override
    {
        if (!left || !top || !width || !height)
            return E_POINTER;
        return ReadPlace(left, top, width, height);
    }

    STDMETHODIMP put_WindowStyle(LONG style) override
    {
        return Forward([&](IVideoWindow* w) { return ChangeWindowStyle(w, style); });
    }

    // IVideoWindow: the rest as Wine does it.
    STDMETHODIMP put_Caption(BSTR caption) override
    {
        return Forward([&](IVideoWindow* w) { return w->put_Caption(caption); });
    }
    STDMETHODIMP get_Caption(BSTR* caption) override
    {
        return Forward([&](IVideoWindow* w) { return w->get_Caption(caption); });
    }
    STDMETHODIMP get_WindowStyle(LONG* style) override
    {
        return Forward([&](IVideoWindow* w) { return w->get_WindowStyle(style); });
    }
    STDMETHODIMP put_WindowStyleEx(LONG style) override
    {
        return Forward([&](IVideoWindow* w) { return w->put_WindowStyleEx(style); });
    }
    STDMETHODIMP get_WindowStyleEx(LONG* style) override
    {
        return Forward([&](IVideoWindow* w) { return w->get_WindowStyleEx(style); });
    }
    STDMETHODIMP put_AutoShow(LONG show) override
    {
        return Forward([&](IVideoWindow* w) { return w->put_AutoShow(show); });
    }
    STDMETHODIMP get_AutoShow(LONG* show) override
    {
        return Forward([&](IVideoWindow* w) { return w->get_AutoShow(show); });
    }
    STDMETHODIMP put_WindowState(LONG state) override
    {
        return Forward([&](IVideoWindow* w) { return w->put_WindowState(state); });
    }
    STDMETHODIMP get_WindowState(LONG* state) override
    {
        return Forward([&](IVideoWindow* w) { return w->get_WindowState(state); });
    }
    STDMETHODIMP put_BackgroundPalette(LONG palette) override
    {
        return Forward([&](IVideoWindow* w) { return w->put_BackgroundPalette(palette); });
    }
    STDMETHODIMP get_BackgroundPalette(LONG* palette) override
    {
        return Forward([&](IVideoWindow* w) { return w->get_BackgroundPalette(palette); });
    }
    STDMETHODIMP put_Visible(LONG visible) override
    {
        return Forward([&](IVideoWindow* w) { return w->put_Visible(visible); });
    }
    STDMETHODIMP get_Visible(LONG* visible) override
    {
        return Forward([&](IVideoWindow* w) { return w->get_Visible(visible); });
    }
    STDMETHODIMP put_Width(LONG width) override
    {
        return Forward([&](IVideoWindow* w) { return w->put_Width(width); });
    }
    STDMETHODIMP get_Width(LONG* width) override
    {
        return Forward([&](IVideoWindow* w) { return w->get_Width(width); });
    }
    STDMETHODIMP put_Height(LONG height) override
    {
        return Forward([&](IVideoWindow* w) { return w->put_Height(height); });
    }
    STDMETHODIMP get_Height(LONG* height) override
    {
        return Forward([&](IVideoWindow* w) { return w->get_Height(height); });
    }
    STDMETHODIMP put_Owner(OAHWND owner) override
    {
        return Forward([&](IVideoWindow* w) { return w->put_Owner(owner); });
    }
    STDMETHODIMP get_Owner(OAHWND* owner) override
    {
        return Forward([&](IVideoWindow* w) { return w->get_Owner(owner); });
    }
    STDMETHODIMP put_MessageDrain(OAHWND drain) override
    {
        return Forward([&](IVideoWindow* w) { return w->put_MessageDrain(drain); });
    }
    STDMETHODIMP get_MessageDrain(OAHWND* drain) override
    {
        return Forward([&](IVideoWindow* w) { return w->get_MessageDrain(drain); });
    }
    STDMETHODIMP get_BorderColor(LONG* color) override
    {
        return Forward([&](IVideoWindow* w) { return w->get_BorderColor(color); });
    }
    STDMETHODIMP put_BorderColor(LONG color) override
    {
        return Forward([&](IVideoWindow* w) { return w->put_BorderColor(color); });
    }
    STDMETHODIMP get_FullScreenMode(LONG* mode) override
    {
        return Forward([&](IVideoWindow* w) { return w->get_FullScreenMode(mode); });
    }
    STDMETHODIMP put_FullScreenMode(LONG mode) override
    {
        return Forward([&](IVideoWindow* w) { return w->put_FullScreenMode(mode); });
    }
    STDMETHODIMP SetWindowForeground(LONG focus) override
    {
        return Forward([&](IVideoWindow* w) { return w->SetWindowForeground(focus); });
    }
    STDMETHODIMP NotifyOwnerMessage(OAHWND hwnd, LONG message, LONG_PTR wParam, LONG_PTR lParam) override
    {
        return Forward([&](IVideoWindow* w) { return w->NotifyOwnerMessage(hwnd, message, wParam, lParam); });
    }
    STDMETHODIMP SetWindowPosition(LONG left, LONG top, LONG width, LONG height) override
    {
        return Forward([&](IVideoWindow* w) { return w->SetWindowPosition(left, top, width, height); });
    }
    STDMETHODIMP GetMinIdealImageSize(LONG* width, LONG* height) override
    {
        return Forward([&](IVideoWindow* w) { return w->GetMinIdealImageSize(width, height); });
    }
    STDMETHODIMP GetMaxIdealImageSize(LONG* width, LONG* height) override
    {
        return Forward([&](IVideoWindow* w) { return w->GetMaxIdealImageSize(width, height); });
    }
    STDMETHODIMP GetRestorePosition(LONG* left, LONG* top, LONG* width, LONG* height) override
    {
        return Forward([&](IVideoWindow* w) { return w->GetRestorePosition(left, top, width, height); });
    }
    STDMETHODIMP HideCursor(LONG hide) override
    {
        return Forward([&](IVideoWindow* w) { return w->HideCursor(hide); });
    }
    STDMETHODIMP IsCursorHidden(LONG* hidden) override
    {
        return Forward([&](IVideoWindow* w) { return w->IsCursorHidden(hidden); });
    }

protected:
    ~FilterGraph()
    {
        // Wine's graph stops and empties itself on its last release, through interfaces
        // that count on us (comkit::Object keeps our count off zero meanwhile).
        m_inner.Reset();
    }

private:
    IUnknown* Identity() { return static_cast<IVideoWindow*>(this); }

    // The inner window is asked for on every call rather than kept: a kept one would
    // hold a reference on us and keep the graph alive for ever.
    template <class Call>
    HRESULT Forward(Call call)
    {
        ComPtr<IVideoWindow> inner;
        HRESULT hr = m_inner.As(&inner);
        return SUCCEEDED(hr) ? call(inner.Get()) : hr;
    }

    // Outputs are written only when the whole position was read.
    HRESULT ReadPlace(LONG* left, LONG* top, LONG* width, LONG* height)
    {
        if (!left && !top && !width && !height)
            return E_POINTER;
        WindowPlace place;
        HRESULT hr = Forward([&](IVideoWindow* w) { return ReadWindowPlace(w, &place); });
        if (FAILED(hr))
            return hr;
        if (left)
            *left = place.left;
        if (top)
            *top = place.top;
        if (width)
            *width = place.width;
        if (height)
            *height = place.height;
        return S_OK;
    }

    LibraryHandle m_library;   // declared first: unloaded only after the graph is gone
    ComPtr<IUnknown> m_inner;  // Wine's non-delegating unknown: its own count
};

}  // namespace

HRESULT CreateFilterGraph(REFIID riid, void** ppv)
{
    return comkit::CreateObject<FilterGraph>(riid, ppv);
}
