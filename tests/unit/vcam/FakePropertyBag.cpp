#include "FakePropertyBag.h"

FakePropertyBag::~FakePropertyBag()
{
    for (auto& entry : m_values)
        VariantClear(&entry.second);
}

STDMETHODIMP FakePropertyBag::QueryInterface(REFIID riid, void** ppv)
{
    if (!ppv)
        return E_POINTER;
    if (riid != IID_IUnknown && riid != IID_IPropertyBag)
    {
        *ppv = nullptr;
        return E_NOINTERFACE;
    }
    *ppv = static_cast<IPropertyBag*>(this);
    AddRef();
    return S_OK;
}

STDMETHODIMP_(ULONG) FakePropertyBag::Release()
{
    return --m_refs;  // lives on the test's stack
}

STDMETHODIMP FakePropertyBag::Read(LPCOLESTR name, VARIANT* value, IErrorLog*)
{
    const auto found = m_values.find(name);
    if (found == m_values.end())
        return HRESULT_FROM_WIN32(ERROR_FILE_NOT_FOUND);
    return VariantCopy(value, &found->second);
}

STDMETHODIMP FakePropertyBag::Write(LPCOLESTR name, VARIANT* value)
{
    if (!value || (value->vt != VT_I4 && value->vt != VT_BSTR))
        return E_INVALIDARG;
    Store(name, *value);
    return S_OK;
}

void FakePropertyBag::SetNumber(const wchar_t* name, long number)
{
    VARIANT value;
    VariantInit(&value);
    value.vt = VT_I4;
    value.lVal = number;
    Store(name, value);
}

void FakePropertyBag::SetText(const wchar_t* name, const wchar_t* text)
{
    VARIANT value;
    VariantInit(&value);
    value.vt = VT_BSTR;
    value.bstrVal = SysAllocString(text);
    Store(name, value);
    VariantClear(&value);
}

VARTYPE FakePropertyBag::TypeOf(const wchar_t* name) const
{
    const auto found = m_values.find(name);
    return found == m_values.end() ? static_cast<VARTYPE>(VT_EMPTY) : found->second.vt;
}

void FakePropertyBag::Store(const wchar_t* name, const VARIANT& value)
{
    VARIANT& slot = m_values[name];
    VariantClear(&slot);
    VariantInit(&slot);
    VariantCopy(&slot, const_cast<VARIANT*>(&value));  // the API is not const-correct
}
