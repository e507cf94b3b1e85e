// IUnknown from an interface table, the class factory and the module's counts.
#include <windows.h>
#include <dshow.h>
#include <ocidl.h>
#include <wrl/client.h>

#include <gtest/gtest.h>

#include "comkit/ClassFactory.h"
#include "comkit/Unknown.h"
#include "support/CountedUnknown.h"

using Microsoft::WRL::ComPtr;

namespace
{

// Two interfaces, the second offered only while `offersClassInfo` is set; IPersist
// ids go to an inner object, as an aggregating outer does.
class Sample : public IPersistStream, public IProvideClassInfo
{
public:
    static const comkit::InterfaceEntry* Interfaces()
    {
        static const comkit::InterfaceEntry table[] = {
            comkit::Entry<Sample, IPersistStream>(),
            comkit::EntryIf<Sample, IProvideClassInfo, &Sample::OffersClassInfo>(), comkit::EndOfInterfaces};
        return table;
    }
    HRESULT FinalConstruct() { return failConstruction ? E_ABORT : S_OK; }
    HRESULT QueryOther(REFIID riid, void** ppv)
    {
        return riid == IID_IPersist ? S_FALSE : (*ppv = nullptr, E_NOINTERFACE);
    }
    bool OffersClassInfo() { return offersClassInfo; }

    STDMETHODIMP GetClassID(CLSID*) override { return E_NOTIMPL; }
    STDMETHODIMP IsDirty() override { return S_FALSE; }
    STDMETHODIMP Load(IStream*) override { return E_NOTIMPL; }
    STDMETHODIMP Save(IStream*, BOOL) override { return E_NOTIMPL; }
    STDMETHODIMP GetSizeMax(ULARGE_INTEGER*) override { return E_NOTIMPL; }
    STDMETHODIMP GetClassInfo(ITypeInfo**) override { return E_NOTIMPL; }

    static bool failConstruction;
    static bool offersClassInfo;
};
bool Sample::failConstruction = false;
bool Sample::offersClassInfo = true;

TEST(Unknown, AnswersFromTheTableWithOneIdentity)
{
    const LONG before = comkit::ModuleLiveObjects();
    ComPtr<IPersistStream> stream;
    ASSERT_EQ(S_OK, comkit::CreateObject<Sample>(IID_PPV_ARGS(&stream)));
    EXPECT_EQ(before + 1, comkit::ModuleLiveObjects());
    EXPECT_EQ(1u, support::ReferenceCount(stream.Get()));

    ComPtr<IProvideClassInfo> info;
    ASSERT_EQ(S_OK, stream.As(&info));
    ComPtr<IUnknown> fromStream, fromInfo;
    ASSERT_EQ(S_OK, stream.As(&fromStream));
    ASSERT_EQ(S_OK, info.As(&fromInfo));
    EXPECT_EQ(fromStream.Get(), fromInfo.Get());
    EXPECT_EQ(static_cast<IUnknown*>(stream.Get()), fromStream.Get());
    EXPECT_EQ(4u, support::ReferenceCount(stream.Get()));

    void* none = &none;
    EXPECT_EQ(E_NOINTERFACE, stream->QueryInterface(IID_IClassFactory, &none));
    EXPECT_EQ(nullptr, none);
    EXPECT_EQ(E_POINTER, stream->QueryInterface(IID_IUnknown, nullptr));
    EXPECT_EQ(S_FALSE, stream->QueryInterface(IID_IPersist, &none));  // handed to QueryOther

    Sample::offersClassInfo = false;
    ComPtr<IProvideClassInfo> refused;
    EXPECT_EQ(E_NOINTERFACE, stream.As(&refused));
    Sample::offersClassInfo = true;

    stream.Reset(), info.Reset(), fromStream.Reset(), fromInfo.Reset();
    EXPECT_EQ(before, comkit::ModuleLiveObjects());
}

TEST(Unknown, ARowKeepsItsIidAfterTheArgumentIsGone)
{
    comkit::InterfaceEntry row = {};
    {
        IID given = IID_IPersistStream;
        row = comkit::Entry<Sample, IPersistStream>(given);
        given = IID_NULL;
    }
    ComPtr<IPersistStream> stream;
    ASSERT_EQ(S_OK, comkit::CreateObject<Sample>(IID_PPV_ARGS(&stream)));
    const comkit::InterfaceEntry table[] = {row, comkit::EndOfInterfaces};
    ComPtr<IPersistStream> found;
    EXPECT_EQ(S_OK, comkit::QueryFromTable(static_cast<Sample*>(stream.Get()), table, IID_PPV_ARGS(&found)));
}

TEST(Unknown, FailedConstructionFreesTheObject)
{
    const LONG before = comkit::ModuleLiveObjects();
    Sample::failConstruction = true;
    void* object = &object;
    EXPECT_EQ(E_ABORT, comkit::CreateObject<Sample>(IID_IUnknown, &object));
    Sample::failConstruction = false;
    EXPECT_EQ(nullptr, object);
    EXPECT_EQ(before, comkit::ModuleLiveObjects());
}

TEST(ClassFactory, CreatesRefusesAggregationAndLocksTheModule)
{
    const comkit::ClassEntry classes[] = {{&CLSID_FilterGraph, &comkit::CreateObject<Sample>}};
    ComPtr<IClassFactory> factory;
    EXPECT_EQ(CLASS_E_CLASSNOTAVAILABLE, comkit::GetClassObject(classes, CLSID_NULL, IID_PPV_ARGS(&factory)));
    ASSERT_EQ(S_OK, comkit::GetClassObject(classes, CLSID_FilterGraph, IID_PPV_ARGS(&factory)));
    EXPECT_EQ(S_FALSE, comkit::ModuleCanUnloadNow());  // the factory itself is alive

    ComPtr<IPersistStream> made;
    EXPECT_EQ(S_OK, factory->CreateInstance(nullptr, IID_PPV_ARGS(&made)));
    ComPtr<IUnknown> aggregated;
    EXPECT_EQ(CLASS_E_NOAGGREGATION, factory->CreateInstance(made.Get(), IID_PPV_ARGS(&aggregated)));
    EXPECT_EQ(E_POINTER, factory->CreateInstance(nullptr, IID_IUnknown, nullptr));

    EXPECT_EQ(S_OK, factory->LockServer(TRUE));
    made.Reset(), factory.Reset();
    EXPECT_EQ(S_FALSE, comkit::ModuleCanUnloadNow());
    ASSERT_EQ(1, comkit::ModuleLocks());
    comkit::ModuleLock(false);
    EXPECT_EQ(S_OK, comkit::ModuleCanUnloadNow());
}

}  // namespace
