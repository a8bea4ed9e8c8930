#include "tests/support/networktest.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

struct ProbeLine
{
    int result {-1};
    int up {-1};
    long light {-2};
    int latencyShown {-2};
    std::string latencyLabel;
    int samples {-1};
};

std::vector<ProbeLine> probeLines(const std::string& output)
{
    std::vector<ProbeLine> lines;
    for (const std::string& line : outputLines(output, "probe ")) {
        ProbeLine probe;
        probe.result = std::stoi(outputValue(line, "result"));
        probe.up = std::stoi(outputValue(line, "up"));
        probe.light = std::stol(outputValue(line, "light"));
        probe.latencyShown = std::stoi(outputValue(line, "latencyShown"));
        probe.latencyLabel = outputValue(line, "latencyLabel");
        probe.samples = std::stoi(outputValue(line, "sample"));
        lines.push_back(probe);
    }
    return lines;
}

} // namespace

// A host slot run inside the client of a test network, probing the test host.
class SlotOverNetwork : public NetworkTest
{
protected:
    // Sets the host and probes it `count` times; the command runs between probes.
    std::vector<ProbeLine> probe(const std::string& host, int timeoutMs, int repeat, int count,
        const std::vector<std::string>& between = {})
    {
        std::vector<std::string> argv {ZOR_SLOT_HELPER, "probe", host, std::to_string(timeoutMs),
            std::to_string(repeat), std::to_string(count)};
        argv.insert(argv.end(), between.begin(), between.end());
        const ProgramResult result = m_network.runInClient(argv);
        EXPECT_EQ(result.exitCode, 0) << result.output;
        std::vector<ProbeLine> lines = probeLines(result.output);
        EXPECT_EQ(lines.size(), static_cast<std::size_t>(count)) << result.output;
        return lines;
    }
};

TEST_F(SlotOverNetwork, DelayedHostReportsTheDelay)
{
    ASSERT_TRUE(m_network.delayEchoRequests(50)) << m_network.error();
    const std::vector<ProbeLine> lines = probe(TestNetwork::HOST_ADDRESS, 1000, 3, 1);
    ASSERT_EQ(lines.size(), 1U);
    EXPECT_GE(lines[0].result, 50);
    EXPECT_LE(lines[0].result, 51);
    EXPECT_EQ(lines[0].up, 1);
    EXPECT_EQ(lines[0].light, 1);
    EXPECT_EQ(lines[0].latencyShown, 1);
    EXPECT_EQ(lines[0].latencyLabel, std::to_string(lines[0].result) + "_ms");
}

TEST_F(SlotOverNetwork, LostEchoIsLeftOutOfTheAverage)
{
    ASSERT_TRUE(m_network.delayEchoRequests(50)) << m_network.error();
    // The second of every three requests is dropped: answers, none, answers.
    ASSERT_TRUE(m_network.dropEchoRequests("numgen inc mod 3 == 1")) << m_network.error();
    const std::vector<ProbeLine> lines = probe(TestNetwork::HOST_ADDRESS, 300, 3, 1);
    ASSERT_EQ(lines.size(), 1U);
    EXPECT_GE(lines[0].result, 50);
    EXPECT_LE(lines[0].result, 51);
    EXPECT_EQ(lines[0].up, 1);
}

TEST_F(SlotOverNetwork, HostGoesDownWhenItsLinkDoes)
{
    const std::vector<ProbeLine> lines = probe(TestNetwork::HOST_ADDRESS, 300, 3, 2,
        {"ip", "-n", m_network.hostNamespace(), "link", "set", TestNetwork::HOST_LINK, "down"});
    ASSERT_EQ(lines.size(), 2U);
    EXPECT_EQ(lines[0].up, 1);
    EXPECT_EQ(lines[0].light, 1);
    EXPECT_GE(lines[0].result, 1);
    EXPECT_EQ(lines[1].result, 0);
    EXPECT_EQ(lines[1].up, 0);
    EXPECT_EQ(lines[1].light, 0);
    EXPECT_EQ(lines[1].latencyShown, 0);
    EXPECT_EQ(lines[1].samples, 2);
}

TEST_F(SlotOverNetwork, NameFromTheHostsFileIsProbed)
{
    ASSERT_TRUE(m_network.setClientHosts("127.0.0.1 localhost\n198.18.0.2 zorvex-testhost\n"))
        << m_network.error();
    ASSERT_TRUE(m_network.setClientResolver("nameserver 127.0.0.1\noptions timeout:1 attempts:1\n"))
        << m_network.error();
    const std::vector<ProbeLine> lines = probe("zorvex-testhost", 1000, 1, 1);
    ASSERT_EQ(lines.size(), 1U);
    EXPECT_EQ(lines[0].up, 1);
}

TEST_F(SlotOverNetwork, UnresolvableNameIsNeverProbed)
{
    ASSERT_TRUE(m_network.setClientHosts("127.0.0.1 localhost\n")) << m_network.error();
    ASSERT_TRUE(m_network.setClientResolver("nameserver 127.0.0.1\noptions timeout:1 attempts:1\n"))
        << m_network.error();
    const ProgramResult result
        = m_network.runInClient({ZOR_SLOT_HELPER, "probe", "unlisted.invalid", "1000", "1", "1"});
    const std::vector<ProbeLine> lines = probeLines(result.output);
    ASSERT_EQ(lines.size(), 1U) << result.output;
    EXPECT_EQ(lines[0].samples, 0);
    EXPECT_EQ(lines[0].up, 0);
    EXPECT_EQ(lines[0].light, 0);
}

// The resolver of the client is its own address, where every packet to port 53 is dropped: a
// look-up waits the resolver's full 6 seconds and fails.
TEST_F(SlotOverNetwork, SlowResolutionIsAbandonedAndTheOldAddressKept)
{
    ASSERT_TRUE(m_network.setClientHosts("127.0.0.1 localhost\n")) << m_network.error();
    ASSERT_TRUE(
        m_network.setClientResolver("nameserver 198.18.0.1\noptions timeout:6 attempts:1\n"))
        << m_network.error();
    ASSERT_TRUE(m_network.blockClientDns()) << m_network.error();

    const ProgramResult result = m_network.runInClient(
        {ZOR_SLOT_HELPER, "sethost", TestNetwork::HOST_ADDRESS, "unlisted.invalid"}, 20000);
    ASSERT_EQ(result.exitCode, 0) << result.output;
    const std::vector<std::string> setLines = outputLines(result.output, "sethost ");
    const std::vector<ProbeLine> probes = probeLines(result.output);
    const std::vector<std::string> freedLines = outputLines(result.output, "freed ");
    ASSERT_EQ(setLines.size(), 1U) << result.output;
    ASSERT_EQ(probes.size(), 1U) << result.output;
    ASSERT_EQ(freedLines.size(), 1U) << result.output;
    const std::string& set = setLines[0];

    // 50 waits of 100 ms, and the thread's timer served meanwhile.
    const int elapsed = std::stoi(outputValue(set, "elapsed"));
    EXPECT_GE(elapsed, 4900);
    EXPECT_LT(elapsed, 5800);
    EXPECT_GE(std::stoi(outputValue(set, "ticks")), 30);
    // The slot keeps the address, its text and its label, and takes the new host text.
    EXPECT_EQ(outputValue(set, "address"), TestNetwork::HOST_ADDRESS);
    EXPECT_EQ(outputValue(set, "addressText"), TestNetwork::HOST_ADDRESS);
    EXPECT_EQ(outputValue(set, "addressLabel"), TestNetwork::HOST_ADDRESS);
    EXPECT_EQ(outputValue(set, "hostText"), "unlisted.invalid");
    // The item is alive while its worker still resolves.
    EXPECT_EQ(outputValue(set, "live"), "1");
    // Probing goes on with the address it had.
    EXPECT_EQ(probes[0].up, 1);
    // The worker ends when the resolver gives up and frees the item.
    EXPECT_EQ(outputValue(freedLines[0], "live"), "0");
    EXPECT_LT(std::stoi(outputValue(freedLines[0], "after")), 3000);
}
