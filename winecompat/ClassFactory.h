// The class factory of every class this DLL serves; `create` makes one object.
#pragma once

#include <unknwn.h>

using CreateObjectFn = HRESULT (*)(REFIID riid, void** ppv);

HRESULT GetClassFactory(CreateObjectFn create, REFIID riid, void** ppv);
