// DllGetClassObject and DllCanUnloadNow for a DLL that links comkit_server and lists
// them in its .def file: the DLL only names its classes, by defining ServerClasses.
#pragma once

#include <cstddef>

#include "comkit/ClassFactory.h"

namespace comkit
{

struct ClassTable
{
    const ClassEntry* entries;
    size_t count;
};

// Defined by the DLL: the classes its DllGetClassObject serves.
ClassTable ServerClasses();

}  // namespace comkit
