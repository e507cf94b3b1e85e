// The enumerator template, once for every IEnumXxx we hand out: counts, S_FALSE at the
// end, Skip, Reset, Clone's position, E_POINTER, and the owner kept alive.
#include <windows.h>
#include <dshow.h>
#include <wrl/client.h>

#include <gtest/gtest.h>

#include <vector>

#include "comkit/Enumerator.h"
#include "support/CountedUnknown.h"

using Microsoft::WRL::ComPtr;

namespace
{

// Types told apart by lSampleSize (1, 2, 3, ...), each with a format block to copy.
std::vector<comkit::MediaType> NumberedTypes(ULONG count)
{
    std::vector<comkit::MediaType> types(count);
    for (ULONG i = 0; i < count; ++i)
    {
        AM_MEDIA_TYPE& type = types[i].Edit();
        type.majortype = MEDIATYPE_Video;
        type.lSampleSize = i + 1;
        auto* block = static_cast<BYTE*>(CoTaskMemAlloc(4));
        FillMemory(block, 4, static_cast<BYTE>(i + 1));
        types[i].SetFormat(FORMAT_None, block, 4);
    }
    return types;
}

// Fetches up to `count` types and returns their numbers; 0 for a slot left empty.
std::vector<ULONG> Fetch(IEnumMediaTypes* enumerator, ULONG count, HRESULT expected)
{
    std::vector<AM_MEDIA_TYPE*> slots(count + 1, nullptr);
    ULONG fetched = 99;
    EXPECT_EQ(expected, enumerator->Next(count, slots.data(), &fetched));
    std::vector<ULONG> numbers;
    for (ULONG i = 0; i < fetched && i < count; ++i)
    {
        comkit::TaskMediaType type(slots[i]);
        EXPECT_EQ(4u, type->cbFormat);
        EXPECT_EQ(type->lSampleSize, type->pbFormat[3]);
        numbers.push_back(type->lSampleSize);
    }
    return numbers;
}

class EnumeratorTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_EQ(S_OK, comkit::CreateMediaTypeEnumerator(&owner, NumberedTypes(3), &enumerator));
        liveWithOne = comkit::ModuleLiveObjects();
    }
    void TearDown() override
    {
        enumerator.Reset();
        EXPECT_EQ(1u, owner.references);
        EXPECT_EQ(liveWithOne - 1, comkit::ModuleLiveObjects());
    }

    support::CountedUnknown owner;
    ComPtr<IEnumMediaTypes> enumerator;
    LONG liveWithOne = 0;
};

TEST_F(EnumeratorTest, NextCountsAndSaysSFalseAtTheEnd)
{
    EXPECT_EQ(2u, owner.references);
    EXPECT_EQ((std::vector<ULONG>{1, 2}), Fetch(enumerator.Get(), 2, S_OK));
    EXPECT_EQ((std::vector<ULONG>{3}), Fetch(enumerator.Get(), 2, S_FALSE));
    EXPECT_EQ(std::vector<ULONG>{}, Fetch(enumerator.Get(), 1, S_FALSE));
    EXPECT_EQ(std::vector<ULONG>{}, Fetch(enumerator.Get(), 0, S_OK));
}

TEST_F(EnumeratorTest, NextWithoutFetchedOnlyForOne)
{
    AM_MEDIA_TYPE* slots[2] = {};
    EXPECT_EQ(E_POINTER, enumerator->Next(1, nullptr, nullptr));
    EXPECT_EQ(E_POINTER, enumerator->Next(2, slots, nullptr));
    EXPECT_EQ(nullptr, slots[0]);
    ASSERT_EQ(S_OK, enumerator->Next(1, slots, nullptr));
    comkit::TaskMediaType first(slots[0]);
    EXPECT_EQ(1, first->lSampleSize);
    EXPECT_EQ(E_POINTER, enumerator->Clone(nullptr));
}

TEST_F(EnumeratorTest, SkipStopsAtTheEndAndResetStartsOver)
{
    EXPECT_EQ(S_OK, enumerator->Skip(2));
    EXPECT_EQ((std::vector<ULONG>{3}), Fetch(enumerator.Get(), 1, S_OK));
    EXPECT_EQ(S_OK, enumerator->Skip(0));
    EXPECT_EQ(S_FALSE, enumerator->Skip(1));
    EXPECT_EQ(S_OK, enumerator->Reset());
    EXPECT_EQ(S_FALSE, enumerator->Skip(5));
    EXPECT_EQ(std::vector<ULONG>{}, Fetch(enumerator.Get(), 1, S_FALSE));
    EXPECT_EQ(S_OK, enumerator->Reset());
    EXPECT_EQ((std::vector<ULONG>{1, 2, 3}), Fetch(enumerator.Get(), 3, S_OK));
}

TEST_F(EnumeratorTest, CloneStartsWhereTheOriginalIsAndMovesOnItsOwn)
{
    EXPECT_EQ(S_OK, enumerator->Skip(1));
    ComPtr<IEnumMediaTypes> clone;
    ASSERT_EQ(S_OK, enumerator->Clone(&clone));
    EXPECT_EQ(3u, owner.references);
    EXPECT_EQ((std::vector<ULONG>{2, 3}), Fetch(clone.Get(), 3, S_FALSE));
    EXPECT_EQ((std::vector<ULONG>{2}), Fetch(enumerator.Get(), 1, S_OK));
    EXPECT_EQ(S_OK, clone->Reset());
    EXPECT_EQ((std::vector<ULONG>{1}), Fetch(clone.Get(), 1, S_OK));
    EXPECT_EQ((std::vector<ULONG>{3}), Fetch(enumerator.Get(), 1, S_OK));
}

TEST(EmptyEnumerator, HasNothingToGive)
{
    ComPtr<IEnumMediaTypes> empty;
    ASSERT_EQ(S_OK, comkit::CreateMediaTypeEnumerator(nullptr, {}, &empty));
    AM_MEDIA_TYPE* slot = nullptr;
    ULONG fetched = 99;
    EXPECT_EQ(S_FALSE, empty->Next(1, &slot, &fetched));
    EXPECT_EQ(0u, fetched);
    EXPECT_EQ(nullptr, slot);
    EXPECT_EQ(S_FALSE, empty->Skip(1));
}

}  // namespace
