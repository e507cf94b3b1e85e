// IEnumMediaTypes over a snapshot of the types a pin offers.
#pragma once

#include <windows.h>
#include <dshow.h>

#include <vector>

#include "vcam/filter/MediaType.h"

HRESULT CreateMediaTypeEnumerator(IUnknown* owner, std::vector<MediaType> types, size_t position,
                                  IEnumMediaTypes** out);
