// IEnumPins over a snapshot of the filter's pins.
#pragma once

#include <windows.h>
#include <dshow.h>
#include <wrl/client.h>

#include <vector>

HRESULT CreatePinEnumerator(IBaseFilter* filter, std::vector<Microsoft::WRL::ComPtr<IPin>> pins,
                            size_t position, IEnumPins** out);
