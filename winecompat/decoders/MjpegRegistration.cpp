#include "decoders/MjpegRegistration.h"

#include <dshow.h>
#include <uuids.h>
#include <wrl/client.h>

#include "comkit/ServerRegistration.h"

using Microsoft::WRL::ComPtr;

namespace
{

const REGPINTYPES kInputTypes[] = {{&MEDIATYPE_Video, &MEDIASUBTYPE_MJPG}};
const REGPINTYPES kOutputTypes[] = {{&MEDIATYPE_Video, &MEDIASUBTYPE_RGB24},
                                    {&MEDIATYPE_Video, &MEDIASUBTYPE_RGB32}};

HRESULT Mapper(ComPtr<IFilterMapper2>* mapper)
{
    return CoCreateInstance(CLSID_FilterMapper2, nullptr, CLSCTX_INPROC_SERVER,
                            IID_PPV_ARGS(mapper->GetAddressOf()));
}

}  // namespace

HRESULT RegisterMjpegDecoder()
{
    REGFILTERPINS2 pins[2] = {};
    pins[0].nMediaTypes = ARRAYSIZE(kInputTypes);
    pins[0].lpMediaType = kInputTypes;
    pins[1].dwFlags = REG_PINFLAG_B_OUTPUT;
    pins[1].nMediaTypes = ARRAYSIZE(kOutputTypes);
    pins[1].lpMediaType = kOutputTypes;
    REGFILTER2 filter = {};
    filter.dwVersion = 2;
    filter.dwMerit = MERIT_NORMAL;
    filter.cPins2 = ARRAYSIZE(pins);
    filter.rgPins2 = pins;

    ComPtr<IFilterMapper2> mapper;
    HRESULT hr = comkit::RegisterInprocServer(CLSID_MjpegDec, L"MJPEG Decompressor");
    if (SUCCEEDED(hr))
        hr = Mapper(&mapper);
    if (SUCCEEDED(hr))
        hr = mapper->RegisterFilter(CLSID_MjpegDec, L"MJPEG Decompressor", nullptr,
                                    &CLSID_LegacyAmFilterCategory, nullptr, &filter);
    return hr;
}

HRESULT UnregisterMjpegDecoder()
{
    ComPtr<IFilterMapper2> mapper;
    HRESULT hr = Mapper(&mapper);
    if (SUCCEEDED(hr))
    {
        hr = mapper->UnregisterFilter(&CLSID_LegacyAmFilterCategory, nullptr, CLSID_MjpegDec);
        if (hr == HRESULT_FROM_WIN32(ERROR_FILE_NOT_FOUND))
            hr = S_OK;
    }
    const HRESULT classHr = comkit::UnregisterInprocServer(CLSID_MjpegDec);
    return FAILED(hr) ? hr : classHr;
}
