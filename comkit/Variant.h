// A VARIANT that clears itself.
#pragma once

#include <windows.h>
#include <oleauto.h>

namespace comkit {

class Variant
{
public:
    Variant() { VariantInit(&m_value); }
    ~Variant() { VariantClear(&m_value); }
    Variant(const Variant&) = delete;
    Variant& operator=(const Variant&) = delete;

    VARIANT* Get() { return &m_value; }
    const VARIANT& Value() const { return m_value; }

private:
    VARIANT m_value;
};

} // namespace comkit
