// Joins the calling thread to a COM apartment for the holder's lifetime.
#pragma once

#include <windows.h>
#include <objbase.h>

#include "comkit/NonCopyable.h"

namespace comkit
{

class ComApartment : NonCopyable
{
public:
    explicit ComApartment(DWORD model = COINIT_APARTMENTTHREADED) : m_hr(CoInitializeEx(nullptr, model)) {}
    ~ComApartment()
    {
        if (SUCCEEDED(m_hr))
            CoUninitialize();
    }

    // S_FALSE when the thread was already in the apartment; a failure when it is in another.
    HRESULT Result() const { return m_hr; }

private:
    HRESULT m_hr;
};

}  // namespace comkit
