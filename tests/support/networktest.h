#pragma once

// The fixture of every test that needs a test network: skipped, with the reason, where
// networks cannot be made (not root, no `ip netns`); the network is removed at the end of the
// test whatever its outcome.

#include "tests/support/testnetwork.h"

#include <gtest/gtest.h>

class NetworkTest : public testing::Test
{
protected:
    void SetUp() override
    {
        std::string reason;
        if (!TestNetwork::available(&reason))
            GTEST_SKIP() << reason;
        ASSERT_TRUE(m_network.create()) << m_network.error();
    }

    void TearDown() override { m_network.remove(); }

    TestNetwork m_network;
};
