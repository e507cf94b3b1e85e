// An in-memory IPropertyBag that stores values the way a device's registry key does:
// only numbers (VT_I4) and text (VT_BSTR) can be written, as Wine's device bag allows.
#pragma once

#include <windows.h>
#include <ocidl.h>
#include <map>
#include <string>

class FakePropertyBag : public IPropertyBag
{
public:
    FakePropertyBag() = default;
    virtual ~FakePropertyBag();

    STDMETHODIMP QueryInterface(REFIID riid, void** ppv) override;
    STDMETHODIMP_(ULONG) AddRef() override { return ++m_refs; }
    STDMETHODIMP_(ULONG) Release() override;
    STDMETHODIMP Read(LPCOLESTR name, VARIANT* value, IErrorLog* log) override;
    STDMETHODIMP Write(LPCOLESTR name, VARIANT* value) override;

    void SetNumber(const wchar_t* name, long value);
    void SetText(const wchar_t* name, const wchar_t* text);
    bool Has(const wchar_t* name) const { return m_values.count(name) != 0; }
    VARTYPE TypeOf(const wchar_t* name) const;
    ULONG Refs() const { return m_refs; }

private:
    void Store(const wchar_t* name, const VARIANT& value);

    std::map<std::wstring, VARIANT> m_values;
    ULONG m_refs = 1;
};
