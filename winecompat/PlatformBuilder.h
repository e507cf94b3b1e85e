// The platform's own capture graph builder, taken straight from qcap.dll's class
// factory: CoCreateInstance would follow TreatAs back to us.
#pragma once

#include <windows.h>
#include <strmif.h>
#include <wrl/client.h>

// Keeps qcap.dll loaded for as long as an object from it may be alive.
class LibraryHandle {
public:
    LibraryHandle() = default;
    ~LibraryHandle() { Reset(); }
    LibraryHandle(const LibraryHandle&) = delete;
    LibraryHandle& operator=(const LibraryHandle&) = delete;

    bool Load(const wchar_t* name);
    HMODULE Get() const { return m_module; }
    void Reset();

private:
    HMODULE m_module = nullptr;
};

HRESULT CreatePlatformCaptureBuilder(LibraryHandle* library,
                                     Microsoft::WRL::ComPtr<ICaptureGraphBuilder2>* builder);
