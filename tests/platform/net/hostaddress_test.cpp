#include "platform/net/hostaddress.h"

#include "tests/support/networktest.h"

#include <arpa/inet.h>
#include <gtest/gtest.h>

#include <string>

namespace {

std::uint32_t fromHostOrder(std::uint32_t address)
{
    return htonl(address);
}

} // namespace

struct ResolveCase
{
    const char* name;
    const char* text;
    std::uint32_t address; // host order
};

class HostResolution : public testing::TestWithParam<ResolveCase>
{
};

// Dotted texts are read without a look-up; "localhost" comes from the hosts file.
TEST_P(HostResolution, GivesTheAddressInNetworkOrder)
{
    EXPECT_EQ(zorResolveHost(GetParam().text), fromHostOrder(GetParam().address));
}

INSTANTIATE_TEST_SUITE_P(Texts, HostResolution,
    testing::Values(ResolveCase {"Loopback", "127.0.0.1", 0x7F000001},
        ResolveCase {"Dotted", "10.0.0.1", 0x0A000001},
        ResolveCase {"ShortDottedForm", "127.1", 0x7F000001},
        ResolveCase {"Broadcast", "255.255.255.255", 0xFFFFFFFF}, ResolveCase {"Empty", "", 0},
        ResolveCase {"Localhost", "localhost", 0x7F000001}),
    [](const testing::TestParamInfo<ResolveCase>& info) { return std::string(info.param.name); });

// Names looked up inside a test network's client, where the hosts file is the test's and the
// only resolver is 127.0.0.1 of that namespace, where nothing listens.
class NameLookup : public NetworkTest
{
protected:
    void SetUp() override
    {
        NetworkTest::SetUp();
        if (IsSkipped() || HasFatalFailure())
            return;
        ASSERT_TRUE(
            m_network.setClientHosts("127.0.0.1 localhost\n"
                                     "198.18.0.2 zorvex-testhost zorvex-testhost.example\n"))
            << m_network.error();
        ASSERT_TRUE(m_network.setClientResolver("nameserver 127.0.0.1\n"
                                                "options timeout:1 attempts:1\n"))
            << m_network.error();
    }

    std::string resolve(const std::string& text)
    {
        const ProgramResult result = m_network.runInClient({ZOR_NET_HELPER, "resolve", text});
        EXPECT_EQ(result.exitCode, 0);
        const std::vector<std::string> lines = outputLines(result.output, "resolve ");
        return lines.size() == 1 ? outputValue(lines[0], "address") : "(no answer)";
    }
};

TEST_F(NameLookup, NameFromTheHostsFile)
{
    EXPECT_EQ(resolve("zorvex-testhost"), "198.18.0.2");
    EXPECT_EQ(resolve("zorvex-testhost.example"), "198.18.0.2");
}

TEST_F(NameLookup, UnknownNameGivesNoAddress)
{
    EXPECT_EQ(resolve("unlisted.invalid"), "0.0.0.0");
}
