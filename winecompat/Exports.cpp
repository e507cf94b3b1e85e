// The classes this DLL hands out (comkit provides DllGetClassObject and DllCanUnloadNow
// from them; registration lives in Registration.cpp).
#include <windows.h>
#include <uuids.h>

#include "CaptureBuilder.h"
#include "avimux/AviMuxFilter.h"
#include "decoders/MjpegDecoder.h"
#include "FilterGraph.h"
#include "WinecompatGuids.h"
#include "comkit/Module.h"
#include "comkit/ServerExports.h"

comkit::ClassTable comkit::ServerClasses()
{
    static const ClassEntry classes[] = {
        {&CLSID_TarnviewCaptureGraphBuilder, &CreateCaptureBuilder},
        {&CLSID_TarnviewFilterGraph, &CreateFilterGraph},
        {&CLSID_TarnviewAviMux, &CreateAviMux},
        {&CLSID_MjpegDec, &CreateMjpegDecoder},
    };
    return {classes, ARRAYSIZE(classes)};
}

// For leak tests: the number of objects of this DLL still alive.
extern "C" LONG WINAPI WinecompatLiveObjects()
{
    return comkit::ModuleLiveObjects();
}
