// IUnknown from an interface table, in the manner of ATL's interface maps:
//
//   class Thing : public IFoo, public IBar
//   {
//   public:
//       static const comkit::InterfaceEntry* Interfaces()   // the first row is the identity
//       {
//           return comkit::InterfaceTable<Thing, comkit::Is<IFoo>, comkit::Is<IBar>>();
//       }
//       ...                                                 // IFoo, IBar methods; no IUnknown
//   };
//   comkit::CreateObject<Thing>(riid, ppv, constructor arguments...);
//
// Object<T> gives T its own reference count and counts it among the module's live
// objects; Part<T> lends T the count of an owner (a pin is a part of its filter).
// Optional members of T that the templates call when present:
//   HRESULT FinalConstruct()                  after construction, before the first query
//   HRESULT QueryOther(REFIID, void**)        for ids the table lacks (an aggregating outer)
//   IUnknown* Owner()                         Part<T> only: whose count the part shares
#pragma once

#include <windows.h>
#include <unknwn.h>

#include <new>
#include <type_traits>
#include <utility>

#include "comkit/Module.h"

namespace comkit
{

// The IID is kept by value: a row never points at an argument it was made from.
struct InterfaceEntry
{
    IID iid;
    IUnknown* (*cast)(void* object);  // null ends the table; may return null to refuse the interface for now
};

// A row answering `iid` with the object's `Interface` base.
template <class Object, class Interface>
InterfaceEntry Entry(const IID& iid = __uuidof(Interface))
{
    return {iid,
            [](void* object) -> IUnknown* { return static_cast<Interface*>(static_cast<Object*>(object)); }};
}

// A row answering `iid` only while `(object->*offers)()` says so.
template <class Object, class Interface, bool (Object::*offers)()>
InterfaceEntry EntryIf(const IID& iid = __uuidof(Interface))
{
    return {iid, [](void* object) -> IUnknown* {
                auto* self = static_cast<Object*>(object);
                return (self->*offers)() ? static_cast<Interface*>(self) : nullptr;
            }};
}

constexpr InterfaceEntry EndOfInterfaces = {IID{}, nullptr};

// The rows of a table written as a list of types, for InterfaceTable below:
//   Is<I>            answers __uuidof(I) with the object's I
//   As<I, Other>     answers __uuidof(Other) with the object's I (a base interface of I)
//   IsIf<I, &T::Fn>  answers __uuidof(I) while the object's Fn() says so
template <class Interface>
struct Is
{
    template <class Object>
    static InterfaceEntry Row()
    {
        return Entry<Object, Interface>(__uuidof(Interface));
    }
};

template <class Interface, class Other>
struct As
{
    template <class Object>
    static InterfaceEntry Row()
    {
        return Entry<Object, Interface>(__uuidof(Other));
    }
};

template <class Interface, auto offers>
struct IsIf
{
    template <class Object>
    static InterfaceEntry Row()
    {
        return EntryIf<Object, Interface, offers>(__uuidof(Interface));
    }
};

// The table of T made of these rows, the first one its identity:
//   static const InterfaceEntry* Interfaces() { return InterfaceTable<T, Is<IFoo>, Is<IBar>>(); }
template <class Object, class... Rows>
const InterfaceEntry* InterfaceTable()
{
    static const InterfaceEntry table[] = {Rows::template Row<Object>()..., EndOfInterfaces};
    return table;
}

// Looks riid up in the table (IID_IUnknown is the first row) and hands out an
// AddRef'ed pointer; E_NOINTERFACE with *ppv null otherwise.
HRESULT QueryFromTable(void* object, const InterfaceEntry* table, REFIID riid, void** ppv);

namespace detail
{

template <class T, class = void>
struct HasQueryOther : std::false_type
{
};
template <class T>
struct HasQueryOther<T, std::void_t<decltype(std::declval<T&>().QueryOther(IID_IUnknown, nullptr))>>
    : std::true_type
{
};

template <class T, class = void>
struct HasFinalConstruct : std::false_type
{
};
template <class T>
struct HasFinalConstruct<T, std::void_t<decltype(std::declval<T&>().FinalConstruct())>> : std::true_type
{
};

template <class T>
HRESULT Query(T* object, REFIID riid, void** ppv)
{
    HRESULT hr = QueryFromTable(static_cast<void*>(object), T::Interfaces(), riid, ppv);
    if constexpr (HasQueryOther<T>::value)
    {
        if (hr == E_NOINTERFACE)
            hr = object->QueryOther(riid, ppv);
    }
    return hr;
}

}  // namespace detail

// T made a heap COM object: its own count, deleted on the last Release. The module
// count comes first among the bases, so that it drops only after T is entirely gone.
template <class T>
class Object final : private ModuleObjectCount, public T
{
public:
    template <class... Args>
    explicit Object(Args&&... args) : T(std::forward<Args>(args)...)
    {
    }

    STDMETHODIMP QueryInterface(REFIID riid, void** ppv) override
    {
        return detail::Query<T>(this, riid, ppv);
    }
    STDMETHODIMP_(ULONG) AddRef() override { return InterlockedIncrement(&m_refs); }
    STDMETHODIMP_(ULONG) Release() override
    {
        const LONG refs = InterlockedDecrement(&m_refs);
        if (refs == 0)
        {
            // Inner objects may call back into us while they go: keep the count off zero.
            m_refs = 1;
            delete this;
        }
        return refs;
    }

    HRESULT Construct()
    {
        if constexpr (detail::HasFinalConstruct<T>::value)
            return T::FinalConstruct();
        return S_OK;
    }

private:
    ~Object() = default;

    volatile LONG m_refs = 1;
};

// T living inside another object and sharing its count (T::Owner()).
template <class T>
class Part final : public T
{
public:
    template <class... Args>
    explicit Part(Args&&... args) : T(std::forward<Args>(args)...)
    {
    }

    STDMETHODIMP QueryInterface(REFIID riid, void** ppv) override
    {
        return detail::Query<T>(this, riid, ppv);
    }
    STDMETHODIMP_(ULONG) AddRef() override { return T::Owner()->AddRef(); }
    STDMETHODIMP_(ULONG) Release() override { return T::Owner()->Release(); }
};

// Creates an Object<T> and queries it for riid: the class factories' creation function
// (&CreateObject<T> fits CreateInstanceFn). No exception leaves it.
template <class T, class... Args>
HRESULT CreateObject(REFIID riid, void** ppv, Args&&... args)
{
    if (!ppv)
        return E_POINTER;
    *ppv = nullptr;
    try
    {
        auto* object = new Object<T>(std::forward<Args>(args)...);
        HRESULT hr = object->Construct();
        if (SUCCEEDED(hr))
            hr = object->QueryInterface(riid, ppv);
        object->Release();
        return hr;
    }
    catch (const std::bad_alloc&)
    {
        return E_OUTOFMEMORY;
    }
    catch (...)
    {
        return E_FAIL;
    }
}

}  // namespace comkit
