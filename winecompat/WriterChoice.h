// The file writer behind the AVI mux. The mux writes its headers and index through
// IStream on the writer's input pin; Wine's File Writer has none, so ours stands in.
#pragma once

#include <strmif.h>
#include <wrl/client.h>

HRESULT CreateStreamingFileWriter(Microsoft::WRL::ComPtr<IBaseFilter>* writer);
bool InputPinOffersStream(IBaseFilter* filter);
