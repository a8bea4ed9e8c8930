#include "platform/net/hostaddress.h"
#include "platform/net/icmpapi.h"

#include "tests/support/networktest.h"

#include <arpa/inet.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>
#include <fstream>
#include <string>
#include <vector>

namespace {

const std::uint32_t LOOPBACK = inet_addr("127.0.0.1");

// What one echo line of the helper says.
struct EchoLine
{
    DWORD replies {0};
    ULONG status {0};
    ULONG rtt {0};
    ULONGLONG micros {0};
    std::string from;
    int kind {0};
    long long elapsed {0};
};

std::vector<EchoLine> echoLines(const std::string& output)
{
    std::vector<EchoLine> lines;
    for (const std::string& line : outputLines(output, "echo ")) {
        EchoLine echo;
        echo.replies = static_cast<DWORD>(std::stoul(outputValue(line, "return")));
        echo.status = static_cast<ULONG>(std::stoul(outputValue(line, "status")));
        echo.rtt = static_cast<ULONG>(std::stoul(outputValue(line, "rtt")));
        echo.micros = std::stoull(outputValue(line, "micros"));
        echo.from = outputValue(line, "from");
        echo.kind = std::stoi(outputValue(line, "kind"));
        echo.elapsed = std::stoll(outputValue(line, "elapsed"));
        lines.push_back(echo);
    }
    return lines;
}

// Whether this process may open datagram ICMP sockets: one of its groups lies in the range.
bool pingGroupRangeAllowsUs()
{
    std::ifstream file("/proc/sys/net/ipv4/ping_group_range");
    long low = 1;
    long high = 0;
    if (!(file >> low >> high))
        return false;
    std::vector<gid_t> groups(static_cast<std::size_t>(getgroups(0, nullptr)) + 1);
    groups.resize(
        static_cast<std::size_t>(getgroups(static_cast<int>(groups.size()), groups.data())));
    groups.push_back(getegid());
    for (gid_t group : groups) {
        if (static_cast<long>(group) >= low && static_cast<long>(group) <= high)
            return true;
    }
    return false;
}

// Puts the process's socket kind back at the end of a test.
class SocketKindScope
{
public:
    explicit SocketKindScope(eICMPSOCKET kind) : m_previous(zorIcmpSocketKind())
    {
        zorIcmpSetSocketKind(kind);
    }
    ~SocketKindScope() { zorIcmpSetSocketKind(m_previous); }
    SocketKindScope(const SocketKindScope&) = delete;
    SocketKindScope& operator=(const SocketKindScope&) = delete;

private:
    eICMPSOCKET m_previous;
};

struct ReplyBuffer
{
    alignas(ICMP_ECHO_REPLY) unsigned char bytes[zorIcmpReplySize(64)] {};
    const ICMP_ECHO_REPLY* record() const
    {
        return reinterpret_cast<const ICMP_ECHO_REPLY*>(bytes);
    }
};

} // namespace

class EchoLoopback : public testing::TestWithParam<eICMPSOCKET>
{
};

TEST_P(EchoLoopback, AnswersOnTheChosenSocketKind)
{
    SocketKindScope kind(GetParam());
    const HANDLE handle = IcmpCreateFile();
    ASSERT_NE(handle, INVALID_HANDLE_VALUE) << "error " << zorIcmpLastError();
    // The root namespace's range is normally closed ("1 0"); the datagram kind then falls back.
    const int expected
        = GetParam() == eICMPDATAGRAM && pingGroupRangeAllowsUs() ? eICMPDATAGRAM : eICMPRAW;
    EXPECT_EQ(zorIcmpHandleSocketKind(handle), expected);

    for (int i = 0; i < 3; ++i) {
        ReplyBuffer reply;
        const DWORD replies = IcmpSendEcho(
            handle, LOOPBACK, nullptr, 0, nullptr, reply.bytes, zorIcmpReplySize(0), 1000);
        EXPECT_EQ(replies, 1U);
        EXPECT_EQ(reply.record()->Status, IP_SUCCESS);
        EXPECT_EQ(reply.record()->Address, LOOPBACK);
        EXPECT_GE(reply.record()->RoundTripTime, 1U);
        EXPECT_LE(reply.record()->RoundTripTime, 100U);
        EXPECT_EQ(reply.record()->DataSize, 0);
        EXPECT_EQ(reply.record()->Options.Ttl, 64);
        EXPECT_EQ(zorIcmpLastError(), static_cast<DWORD>(ERROR_SUCCESS));
    }
    EXPECT_EQ(IcmpCloseHandle(handle), TRUE);
}

TEST_P(EchoLoopback, ReturnsTheEchoedDataAfterTheRecord)
{
    SocketKindScope kind(GetParam());
    const HANDLE handle = IcmpCreateFile();
    ASSERT_NE(handle, INVALID_HANDLE_VALUE);
    unsigned char data[64];
    for (std::size_t i = 0; i < sizeof data; ++i)
        data[i] = static_cast<unsigned char>(i * 7 + 3);
    ReplyBuffer reply;
    const DWORD replies = IcmpSendEcho(
        handle, LOOPBACK, data, sizeof data, nullptr, reply.bytes, sizeof reply.bytes, 1000);
    IcmpCloseHandle(handle);
    ASSERT_EQ(replies, 1U);
    ASSERT_EQ(reply.record()->Status, IP_SUCCESS);
    ASSERT_EQ(reply.record()->DataSize, sizeof data);
    EXPECT_EQ(reply.record()->Data, reply.bytes + sizeof(ICMP_ECHO_REPLY));
    EXPECT_EQ(std::memcmp(reply.record()->Data, data, sizeof data), 0);
}

TEST_P(EchoLoopback, HandlesAnswerSideBySide)
{
    SocketKindScope kind(GetParam());
    const HANDLE first = IcmpCreateFile();
    const HANDLE second = IcmpCreateFile();
    ASSERT_NE(first, INVALID_HANDLE_VALUE);
    ASSERT_NE(second, INVALID_HANDLE_VALUE);
    for (int i = 0; i < 3; ++i) {
        for (HANDLE handle : {first, second}) {
            ReplyBuffer reply;
            EXPECT_EQ(IcmpSendEcho(handle, LOOPBACK, nullptr, 0, nullptr, reply.bytes,
                          sizeof reply.bytes, 1000),
                1U);
            EXPECT_EQ(reply.record()->Status, IP_SUCCESS);
        }
    }
    IcmpCloseHandle(first);
    IcmpCloseHandle(second);
}

INSTANTIATE_TEST_SUITE_P(Kinds, EchoLoopback, testing::Values(eICMPDATAGRAM, eICMPRAW),
    [](const testing::TestParamInfo<eICMPSOCKET>& info) {
        return std::string(info.param == eICMPRAW ? "Raw" : "Datagram");
    });

TEST(EchoCall, ClosedHandleIsRefused)
{
    const HANDLE handle = IcmpCreateFile();
    ASSERT_NE(handle, INVALID_HANDLE_VALUE);
    EXPECT_EQ(IcmpCloseHandle(handle), TRUE);
    EXPECT_EQ(IcmpCloseHandle(handle), FALSE);
    EXPECT_EQ(zorIcmpLastError(), static_cast<DWORD>(ERROR_INVALID_HANDLE));
    ReplyBuffer reply;
    EXPECT_EQ(
        IcmpSendEcho(handle, LOOPBACK, nullptr, 0, nullptr, reply.bytes, sizeof reply.bytes, 100),
        0U);
    EXPECT_EQ(zorIcmpLastError(), static_cast<DWORD>(ERROR_INVALID_HANDLE));
    EXPECT_EQ(IcmpSendEcho(INVALID_HANDLE_VALUE, LOOPBACK, nullptr, 0, nullptr, reply.bytes,
                  sizeof reply.bytes, 100),
        0U);
    EXPECT_EQ(zorIcmpHandleSocketKind(handle), 0);
}

TEST(EchoCall, ReplyBufferWithoutRoomForAnErrorIsRefused)
{
    const HANDLE handle = IcmpCreateFile();
    ASSERT_NE(handle, INVALID_HANDLE_VALUE);
    ReplyBuffer reply;
    const DWORD replies = IcmpSendEcho(
        handle, LOOPBACK, nullptr, 0, nullptr, reply.bytes, zorIcmpReplySize(0) - 1, 1000);
    EXPECT_EQ(replies, 0U);
    EXPECT_EQ(zorIcmpLastError(), IP_BUF_TOO_SMALL);
    EXPECT_EQ(reply.record()->Status, IP_BUF_TOO_SMALL);
    IcmpCloseHandle(handle);
}

TEST(EchoCall, UnusableDestinationsAreRefused)
{
    const HANDLE handle = IcmpCreateFile();
    ASSERT_NE(handle, INVALID_HANDLE_VALUE);
    for (const char* destination : {"0.0.0.0", "255.255.255.255"}) {
        ReplyBuffer reply;
        EXPECT_EQ(IcmpSendEcho(handle, inet_addr(destination), nullptr, 0, nullptr, reply.bytes,
                      sizeof reply.bytes, 1000),
            0U)
            << destination;
        EXPECT_EQ(reply.record()->Status, IP_BAD_DESTINATION) << destination;
    }
    IcmpCloseHandle(handle);
}

TEST(EchoCall, IpOptionBytesAreRefused)
{
    const HANDLE handle = IcmpCreateFile();
    ASSERT_NE(handle, INVALID_HANDLE_VALUE);
    unsigned char optionBytes[4] {1, 1, 1, 0};
    IP_OPTION_INFORMATION options;
    options.OptionsSize = sizeof optionBytes;
    options.OptionsData = optionBytes;
    ReplyBuffer reply;
    EXPECT_EQ(
        IcmpSendEcho(handle, LOOPBACK, nullptr, 0, &options, reply.bytes, sizeof reply.bytes, 1000),
        0U);
    EXPECT_EQ(zorIcmpLastError(), IP_BAD_OPTION);
    IcmpCloseHandle(handle);
}

// Echoes against the test host, run inside the client namespace, through one socket kind.
class EchoOverNetwork : public NetworkTest, public testing::WithParamInterface<const char*>
{
protected:
    void SetUp() override
    {
        NetworkTest::SetUp();
        if (IsSkipped() || HasFatalFailure())
            return;
        ASSERT_TRUE(m_network.openPingGroupRange()) << m_network.error();
    }

    int expectedKind() const { return std::string(GetParam()) == "raw" ? eICMPRAW : eICMPDATAGRAM; }

    // One echo per timeout (comma-separated), on one handle.
    std::vector<EchoLine> echo(
        const std::string& timeouts, const std::string& address = TestNetwork::HOST_ADDRESS)
    {
        const ProgramResult result
            = m_network.runInClient({ZOR_NET_HELPER, "echo", address, GetParam(), timeouts});
        EXPECT_EQ(result.exitCode, 0) << result.output;
        std::vector<EchoLine> lines = echoLines(result.output);
        for (const EchoLine& line : lines)
            EXPECT_EQ(line.kind, expectedKind());
        return lines;
    }
};

TEST_P(EchoOverNetwork, DelayedLinkMeasuresTheDelay)
{
    ASSERT_TRUE(m_network.delayEchoRequests(50)) << m_network.error();
    const std::vector<EchoLine> lines = echo("1000,1000,1000");
    ASSERT_EQ(lines.size(), 3U);
    for (const EchoLine& line : lines) {
        EXPECT_EQ(line.replies, 1U);
        EXPECT_EQ(line.status, IP_SUCCESS);
        EXPECT_EQ(line.from, TestNetwork::HOST_ADDRESS);
        EXPECT_GE(line.rtt, 50U);
        EXPECT_LE(line.rtt, 51U);
        EXPECT_GE(line.micros, 50000U);
        EXPECT_LT(line.micros, 51500U);
    }
}

TEST_P(EchoOverNetwork, LateReplyIsNotTakenForALaterRequest)
{
    ASSERT_TRUE(m_network.delayEchoRequests(300)) << m_network.error();
    // The replies to the first two requests arrive while the next one waits; the third must
    // still wait for its own.
    const std::vector<EchoLine> lines = echo("200,200,1000");
    ASSERT_EQ(lines.size(), 3U);
    for (int i = 0; i < 2; ++i) {
        EXPECT_EQ(lines[i].replies, 0U) << i;
        EXPECT_EQ(lines[i].status, IP_REQ_TIMED_OUT) << i;
        EXPECT_GE(lines[i].elapsed, 200) << i;
        EXPECT_LT(lines[i].elapsed, 280) << i;
    }
    EXPECT_EQ(lines[2].status, IP_SUCCESS);
    EXPECT_GE(lines[2].rtt, 300U);
    EXPECT_LE(lines[2].rtt, 302U);
}

TEST_P(EchoOverNetwork, DroppedRequestTimesOut)
{
    ASSERT_TRUE(m_network.dropEchoRequests("numgen inc mod 2 == 1")) << m_network.error();
    const std::vector<EchoLine> lines = echo("300,300,300,300");
    ASSERT_EQ(lines.size(), 4U);
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (i % 2 == 0) {
            EXPECT_EQ(lines[i].status, IP_SUCCESS) << i;
            EXPECT_EQ(lines[i].replies, 1U) << i;
        } else {
            EXPECT_EQ(lines[i].status, IP_REQ_TIMED_OUT) << i;
            EXPECT_EQ(lines[i].replies, 0U) << i;
            EXPECT_GE(lines[i].elapsed, 300) << i;
            EXPECT_LT(lines[i].elapsed, 380) << i;
        }
    }
}

TEST_P(EchoOverNetwork, UnreachableEndsTheWaitAsAFailure)
{
    ASSERT_TRUE(m_network.rejectEchoRequests()) << m_network.error();
    const std::vector<EchoLine> lines = echo("2000,2000");
    ASSERT_EQ(lines.size(), 2U);
    for (const EchoLine& line : lines) {
        EXPECT_EQ(line.replies, 1U);
        EXPECT_EQ(line.status, IP_DEST_HOST_UNREACHABLE);
        EXPECT_EQ(line.from, TestNetwork::HOST_ADDRESS);
        EXPECT_EQ(line.micros, 0U);
        EXPECT_LT(line.elapsed, 500);
    }
}

TEST_P(EchoOverNetwork, OwnLinkDownFailsAtOnce)
{
    ASSERT_TRUE(m_network.setClientLink(false)) << m_network.error();
    const std::vector<EchoLine> lines = echo("2000");
    ASSERT_EQ(lines.size(), 1U);
    EXPECT_EQ(lines[0].replies, 0U);
    EXPECT_EQ(lines[0].status, IP_DEST_NET_UNREACHABLE);
    EXPECT_LT(lines[0].elapsed, 200);
}

TEST_P(EchoOverNetwork, PeerLinkDownFailsThenRecovers)
{
    ASSERT_TRUE(m_network.setHostLink(false)) << m_network.error();
    std::vector<EchoLine> lines = echo("500");
    ASSERT_EQ(lines.size(), 1U);
    EXPECT_EQ(lines[0].replies, 0U);
    EXPECT_NE(lines[0].status, IP_SUCCESS);
    EXPECT_LE(lines[0].elapsed, 600);

    ASSERT_TRUE(m_network.setHostLink(true)) << m_network.error();
    lines = echo("2000");
    ASSERT_EQ(lines.size(), 1U);
    EXPECT_EQ(lines[0].status, IP_SUCCESS);
}

TEST_P(EchoOverNetwork, OwnAddressAnswersWhileTheLinkHasNoCarrier)
{
    ASSERT_TRUE(m_network.setHostLink(false)) << m_network.error();
    const std::vector<EchoLine> lines = echo("1000", TestNetwork::CLIENT_ADDRESS);
    ASSERT_EQ(lines.size(), 1U);
    EXPECT_EQ(lines[0].status, IP_SUCCESS);
    EXPECT_EQ(lines[0].from, TestNetwork::CLIENT_ADDRESS);
}

INSTANTIATE_TEST_SUITE_P(Kinds, EchoOverNetwork, testing::Values("datagram", "raw"),
    [](const testing::TestParamInfo<const char*>& info) {
        return std::string(info.param) == "raw" ? std::string("Raw") : std::string("Datagram");
    });

using EchoSocketChoice = NetworkTest;

TEST_F(EchoSocketChoice, DatagramWhereThePingGroupRangeIsOpen)
{
    ASSERT_TRUE(m_network.openPingGroupRange()) << m_network.error();
    const ProgramResult result = m_network.runInClient(
        {ZOR_NET_HELPER, "echo", TestNetwork::HOST_ADDRESS, "datagram", "1000"});
    const std::vector<EchoLine> lines = echoLines(result.output);
    ASSERT_EQ(lines.size(), 1U) << result.output;
    EXPECT_EQ(lines[0].kind, eICMPDATAGRAM);
    EXPECT_EQ(lines[0].status, IP_SUCCESS);
}

TEST_F(EchoSocketChoice, RawWhereThePingGroupRangeIsClosed)
{
    // A new namespace starts with the range closed ("1 0").
    const ProgramResult result = m_network.runInClient(
        {ZOR_NET_HELPER, "echo", TestNetwork::HOST_ADDRESS, "datagram", "1000"});
    const std::vector<EchoLine> lines = echoLines(result.output);
    ASSERT_EQ(lines.size(), 1U) << result.output;
    EXPECT_EQ(lines[0].kind, eICMPRAW);
    EXPECT_EQ(lines[0].status, IP_SUCCESS);
}

TEST(ZorpingTool, LoopbackRepliesAndSummary)
{
    const ProgramResult result = runProgram({ZOR_ZORPING, "-c", "2", "-i", "50", "127.0.0.1"});
    EXPECT_EQ(result.exitCode, 0) << result.output;
    EXPECT_EQ(outputLines(result.output, "8 bytes from 127.0.0.1: echo=").size(), 2U)
        << result.output;
    EXPECT_NE(
        result.output.find("2 packets transmitted, 2 received, 0% packet loss"), std::string::npos)
        << result.output;
    EXPECT_NE(result.output.find("rtt min/avg/max = "), std::string::npos) << result.output;
}

TEST(ZorpingTool, WrongCommandLineIsRefused)
{
    EXPECT_EQ(runProgram({ZOR_ZORPING, "-c", "0", "127.0.0.1"}).exitCode, 2);
    EXPECT_EQ(runProgram({ZOR_ZORPING, "-k", "stream", "127.0.0.1"}).exitCode, 2);
    EXPECT_EQ(runProgram({ZOR_ZORPING}).exitCode, 2);
}

using ZorpingOverNetwork = NetworkTest;

TEST_F(ZorpingOverNetwork, UnreachableHostIsReportedAndCountsAsLost)
{
    ASSERT_TRUE(m_network.rejectEchoRequests()) << m_network.error();
    const ProgramResult result = m_network.runInClient(
        {ZOR_ZORPING, "-c", "2", "-i", "10", "-k", "raw", TestNetwork::HOST_ADDRESS});
    EXPECT_EQ(result.exitCode, 1) << result.output;
    EXPECT_EQ(outputLines(result.output, "From 198.18.0.2 echo=").size(), 2U) << result.output;
    EXPECT_NE(result.output.find("Destination host unreachable"), std::string::npos);
    EXPECT_NE(result.output.find("2 packets transmitted, 0 received, 100% packet loss"),
        std::string::npos)
        << result.output;
}
