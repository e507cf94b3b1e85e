// regsvr32 entry points: our class keys, TreatAs on the platform's classes we wrap so
// that every CoCreateInstance of them in the prefix reaches our wrappers, and the
// filters Windows has that Wine lacks.
#include <windows.h>
#include <strmif.h>
#include <uuids.h>

#include <string>

#include "WinecompatGuids.h"
#include "decoders/MjpegRegistration.h"
#include "comkit/ServerRegistration.h"

namespace
{

using comkit::ClassKeyPath;
using comkit::GuidText;

struct WrappedClass
{
    const CLSID* platform;
    const CLSID* ours;
    const wchar_t* name;
};

const WrappedClass kWrappedClasses[] = {
    {&CLSID_CaptureGraphBuilder2, &CLSID_TarnviewCaptureGraphBuilder,
     L"Tarnview capture graph builder (Wine)"},
    {&CLSID_FilterGraph, &CLSID_TarnviewFilterGraph, L"Tarnview filter graph (Wine)"},
    {&CLSID_AviDest, &CLSID_TarnviewAviMux, L"Tarnview AVI mux (Wine)"},
};

bool TreatAsPointsToUs(const WrappedClass& wrapped)
{
    std::wstring path = ClassKeyPath(*wrapped.platform) + L"\\TreatAs";
    wchar_t value[40] = {};
    DWORD bytes = sizeof(value) - sizeof(wchar_t);
    LONG rc = RegGetValueW(HKEY_CLASSES_ROOT, path.c_str(), nullptr, RRF_RT_REG_SZ, nullptr, value, &bytes);
    return rc == ERROR_SUCCESS && GuidText(*wrapped.ours) == value;
}

HRESULT RegisterOurClass(const WrappedClass& wrapped)
{
    try
    {
        HRESULT hr = comkit::RegisterInprocServer(*wrapped.ours, wrapped.name);
        if (SUCCEEDED(hr))
            hr = comkit::WriteClassesString(ClassKeyPath(*wrapped.platform) + L"\\TreatAs", nullptr,
                                            GuidText(*wrapped.ours));
        return hr;
    }
    catch (...)
    {
        return E_OUTOFMEMORY;
    }
}

HRESULT UnregisterOurClass(const WrappedClass& wrapped)
{
    HRESULT hr = S_OK;
    try
    {
        // Someone else's TreatAs is not ours to remove.
        if (TreatAsPointsToUs(wrapped))
            hr = comkit::DeleteClassesTree(ClassKeyPath(*wrapped.platform) + L"\\TreatAs");
    }
    catch (...)
    {
        hr = E_OUTOFMEMORY;
    }
    HRESULT classHr = comkit::UnregisterInprocServer(*wrapped.ours);
    return FAILED(hr) ? hr : classHr;
}

}  // namespace

extern "C" HRESULT WINAPI DllUnregisterServer()
{
    HRESULT result = UnregisterMjpegDecoder();
    for (const WrappedClass& wrapped : kWrappedClasses)
    {
        HRESULT hr = UnregisterOurClass(wrapped);
        if (SUCCEEDED(result))
            result = hr;
    }
    return result;
}

extern "C" HRESULT WINAPI DllRegisterServer()
{
    HRESULT hr = S_OK;
    for (const WrappedClass& wrapped : kWrappedClasses)
    {
        if (SUCCEEDED(hr))
            hr = RegisterOurClass(wrapped);
    }
    if (SUCCEEDED(hr))
        hr = RegisterMjpegDecoder();
    if (FAILED(hr))
        DllUnregisterServer();
    return hr;
}
