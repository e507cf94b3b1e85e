// SetOutputFileName as Windows does it: an AVI mux and a file writer in the builder's
// graph, connected, the mux and the writer's IFileSinkFilter handed back.
#pragma once

#include <strmif.h>

HRESULT SetAviOutputFileName(ICaptureGraphBuilder2* builder, const GUID* type, LPCOLESTR file,
                             IBaseFilter** mux, IFileSinkFilter** sink);
