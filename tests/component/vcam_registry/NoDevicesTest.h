// Tests that register devices of their own: none of ours before or after each one.
#pragma once

#include <gtest/gtest.h>

#include "comkit/ComApartment.h"
#include "vcam/registry/VcamDevices.h"

class NoDevicesTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_HRESULT_SUCCEEDED(m_com.Result());
        ASSERT_HRESULT_SUCCEEDED(RemoveAllDevices());
    }
    void TearDown() override { EXPECT_HRESULT_SUCCEEDED(RemoveAllDevices()); }

    comkit::ComApartment m_com;
};
