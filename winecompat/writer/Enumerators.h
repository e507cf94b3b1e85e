// The enumerators our filters need: their pins, and no preferred media types (the
// upstream pin proposes the type).
#pragma once

#include <strmif.h>

HRESULT CreateSinglePinEnum(IPin* pin, ULONG position, IEnumPins** out);
// Up to kMaxEnumeratedPins pins, in order.
constexpr ULONG kMaxEnumeratedPins = 4;
HRESULT CreatePinEnum(IPin* const* pins, ULONG count, ULONG position, IEnumPins** out);
HRESULT CreateEmptyMediaTypeEnum(IEnumMediaTypes** out);
