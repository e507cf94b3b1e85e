// The enumerators a one-pin sink needs: its single pin, and no preferred media types
// (the mux proposes the stream type).
#pragma once

#include <strmif.h>

HRESULT CreateSinglePinEnum(IPin* pin, ULONG position, IEnumPins** out);
HRESULT CreateEmptyMediaTypeEnum(IEnumMediaTypes** out);
