// The classes the in-process server hands out (comkit provides DllGetClassObject and
// DllCanUnloadNow from them).
#include <windows.h>

#include "comkit/Module.h"
#include "comkit/ServerExports.h"
#include "vcam/VcamGuids.h"
#include "vcam/filter/VcamFilter.h"
#include "vcam/pages/ScenePage.h"

comkit::ClassTable comkit::ServerClasses()
{
    static const ClassEntry classes[] = {
        {&CLSID_TarnviewVirtualCamera, &CreateVcamFilter},
        {&CLSID_TarnviewVcamScenePage, &CreateScenePage},
    };
    return {classes, ARRAYSIZE(classes)};
}

// For leak checks: objects of this DLL still alive (filters, pins' enumerators, pages, factories).
extern "C" LONG WINAPI VcamLiveObjects()
{
    return comkit::ModuleLiveObjects();
}
