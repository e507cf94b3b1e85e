// Finding registered devices the way a capture program does, for checks in tests.
#pragma once

#include <windows.h>
#include <objbase.h>
#include <wrl/client.h>
#include <string>
#include <vector>

class ComApartmentForTest
{
public:
    ComApartmentForTest() : m_hr(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)) {}
    ~ComApartmentForTest()
    {
        if (SUCCEEDED(m_hr))
            CoUninitialize();
    }
    HRESULT Result() const { return m_hr; }

private:
    HRESULT m_hr;
};

// The moniker of the video input device with this friendly name, or null.
Microsoft::WRL::ComPtr<IMoniker> FindDeviceByName(const std::wstring& friendlyName);

// Whether `names` holds every one of `expected` in this order (other devices may sit between).
bool ContainsInOrder(const std::vector<std::wstring>& names, const std::vector<std::wstring>& expected);

bool Contains(const std::vector<std::wstring>& names, const std::wstring& name);
