// A VARIANT that clears itself.
#pragma once

#include <windows.h>
#include <oleauto.h>

#include "comkit/NonCopyable.h"

namespace comkit
{

class Variant : NonCopyable
{
public:
    Variant() { VariantInit(&m_value); }
    ~Variant() { VariantClear(&m_value); }

    VARIANT* Get() { return &m_value; }
    const VARIANT& Value() const { return m_value; }

private:
    VARIANT m_value;
};

}  // namespace comkit
