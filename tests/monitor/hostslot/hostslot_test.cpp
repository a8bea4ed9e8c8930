#include "monitor/hostslot.h"

#include "tests/monitor/hostslot/recordingslotview.h"

#include <arpa/inet.h>
#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <thread>
#include <vector>

namespace {

const std::uint32_t LOOPBACK = inet_addr("127.0.0.1");
const std::uint32_t SOME_HOST = inet_addr("10.0.0.1");

// Answers echo requests from a list, one entry per request, and records the requests.
class ScriptedEcho
{
public:
    explicit ScriptedEcho(std::vector<int> answers) : m_answers(std::move(answers)) { }

    EchoFunction function()
    {
        return [this](std::uint32_t address, int timeoutMs) {
            m_addresses.push_back(address);
            m_timeouts.push_back(timeoutMs);
            const std::size_t i = m_addresses.size() - 1;
            return i < m_answers.size() ? m_answers[i] : 0;
        };
    }

    std::size_t requests() const { return m_addresses.size(); }
    const std::vector<std::uint32_t>& addresses() const { return m_addresses; }
    const std::vector<int>& timeouts() const { return m_timeouts; }

private:
    std::vector<int> m_answers;
    std::vector<std::uint32_t> m_addresses;
    std::vector<int> m_timeouts;
};

// A slot bound to slot 0's controls, with an address and host text as set host leaves them.
class SlotTest : public testing::Test
{
protected:
    void SetUp() override
    {
        m_slot.bind(&m_view, slotControlIds(0));
        m_slot.m_hostText = "10.0.0.1";
        m_slot.m_address = SOME_HOST;
    }

    int probeWith(std::vector<int> answers, int repeat)
    {
        ScriptedEcho echo(std::move(answers));
        m_slot.probe(1000, repeat, echo.function());
        return m_slot.m_samples[static_cast<std::size_t>(m_slot.m_sampleCount - 1)];
    }

    bool waitForNoLiveWork()
    {
        for (int i = 0; i < 200 && HostSlot::liveResolveWorks() > 0; ++i)
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        return HostSlot::liveResolveWorks() == 0;
    }

    RecordingSlotView m_view;
    HostSlot m_slot;
};

} // namespace

TEST(SlotControls, BindTakesEachControlOfTheSlot)
{
    RecordingSlotView view;
    HostSlot slot;
    slot.bind(&view, slotControlIds(2));
    EXPECT_EQ(slot.m_owner, &view);
    EXPECT_EQ(slot.m_hostEditId, 1018);
    EXPECT_EQ(slot.m_addressLabelId, 1028);
    EXPECT_EQ(slot.m_latencyLabelId, 1016);
    EXPECT_EQ(slot.m_lightId, 1015);
    EXPECT_EQ(slot.m_graphCheckBoxId, 1065);
    EXPECT_EQ(slotControlIds(4).colour, 1072);
}

struct ProbeCase
{
    const char* name;
    std::vector<int> answers;
    int result;
};

void PrintTo(const ProbeCase& c, std::ostream* os)
{
    *os << c.name;
}

class ProbeArithmetic : public SlotTest, public testing::WithParamInterface<ProbeCase>
{
};

TEST_P(ProbeArithmetic, AveragesTheAnsweredEchoes)
{
    const ProbeCase& c = GetParam();
    const int repeat = static_cast<int>(c.answers.size());
    ScriptedEcho echo(c.answers);
    m_slot.probe(750, repeat, echo.function());

    ASSERT_EQ(echo.requests(), c.answers.size());
    for (std::size_t i = 0; i < echo.requests(); ++i) {
        EXPECT_EQ(echo.addresses()[i], SOME_HOST);
        EXPECT_EQ(echo.timeouts()[i], 750);
    }
    EXPECT_EQ(m_slot.m_up, c.result > 0);
    ASSERT_EQ(m_slot.m_sampleCount, 1);
    EXPECT_EQ(m_slot.m_samples[0], c.result);
    EXPECT_EQ(m_slot.m_recentLatencies[HostSlot::RECENT_LATENCIES - 1], c.result);
    EXPECT_EQ(m_view.lightState(m_slot.m_lightId), c.result > 0 ? 1 : 0);
    EXPECT_EQ(m_view.waitDepth(), 0);
}

INSTANTIATE_TEST_SUITE_P(Cases, ProbeArithmetic,
    testing::Values(ProbeCase {"TenNoneTwenty", {10, 0, 20}, 15},
        ProbeCase {"NoAnswer", {0, 0, 0}, 0}, ProbeCase {"OneMillisecondAnswers", {1, 1, 1}, 1},
        ProbeCase {"DivisionTruncates", {10, 11}, 10},
        ProbeCase {"OnlyTheLastAnswered", {0, 0, 7}, 7}, ProbeCase {"SingleEcho", {42}, 42},
        ProbeCase {"FiveEchoes", {30, 31, 0, 33, 34}, 32}),
    [](const testing::TestParamInfo<ProbeCase>& info) { return std::string(info.param.name); });

TEST_F(SlotTest, FailedProbeLeavesTheHistoryAndStillStoresItsSample)
{
    probeWith({25}, 1);
    EXPECT_EQ(probeWith({0, 0, 0}, 3), 0);
    EXPECT_FALSE(m_slot.m_up);
    EXPECT_EQ(m_slot.m_sampleCount, 2);
    EXPECT_EQ(m_slot.m_recentLatencies[HostSlot::RECENT_LATENCIES - 1], 25);
    EXPECT_EQ(m_slot.m_recentLatencies[HostSlot::RECENT_LATENCIES - 2], 0);
    EXPECT_EQ(m_slot.latencyAverage(), 25);
    EXPECT_EQ(m_view.shown(m_slot.m_latencyLabelId), 0);
    EXPECT_EQ(m_view.lightState(m_slot.m_lightId), 0);
}

TEST_F(SlotTest, SlotWithoutAddressIsNotProbed)
{
    m_slot.m_address = 0;
    ScriptedEcho echo({10, 10, 10});
    m_slot.probe(1000, 3, echo.function());
    EXPECT_EQ(echo.requests(), 0U);
    EXPECT_EQ(m_slot.m_sampleCount, 0);
    EXPECT_TRUE(m_view.calls().empty());
    EXPECT_EQ(m_view.waitCursors(), 0);
}

TEST_F(SlotTest, LatencyLabelAveragesTheLastTenAnswers)
{
    for (int i = 1; i <= 12; ++i)
        probeWith({i * 10}, 1);
    // 30 to 120 ms: the first two fell out of the history.
    EXPECT_EQ(m_slot.m_recentLatencies[0], 30);
    EXPECT_EQ(m_slot.m_recentLatencies[9], 120);
    EXPECT_EQ(m_slot.latencyAverage(), 75);
    EXPECT_EQ(m_view.text(m_slot.m_latencyLabelId), "75 ms");
    EXPECT_EQ(m_view.shown(m_slot.m_latencyLabelId), 1);
}

TEST_F(SlotTest, AverageTruncatesAndSkipsEmptyEntries)
{
    probeWith({10}, 1);
    probeWith({0}, 1);
    probeWith({15}, 1);
    EXPECT_EQ(m_slot.latencyAverage(), 12);
    EXPECT_EQ(m_view.text(m_slot.m_latencyLabelId), "12 ms");
}

TEST_F(SlotTest, HostChangeClearsTheHistory)
{
    for (int i = 0; i < 5; ++i)
        probeWith({100}, 1);
    m_slot.setHost("10.0.0.2");
    EXPECT_EQ(m_slot.latencyAverage(), 0);
    probeWith({40}, 1);
    EXPECT_EQ(m_view.text(m_slot.m_latencyLabelId), "40 ms");
    // Samples belong to the 15-minute write, not to the host.
    EXPECT_EQ(m_slot.m_sampleCount, 6);
}

TEST_F(SlotTest, SamplesStopAtNinetyWhileTheLabelFollows)
{
    for (int i = 1; i <= 95; ++i)
        probeWith({i}, 1);
    EXPECT_EQ(m_slot.m_sampleCount, HostSlot::MAX_SAMPLES);
    EXPECT_EQ(m_slot.m_samples[0], 1);
    EXPECT_EQ(m_slot.m_samples[HostSlot::MAX_SAMPLES - 1], 90);
    EXPECT_EQ(m_slot.m_recentLatencies[HostSlot::RECENT_LATENCIES - 1], 95);
    EXPECT_EQ(m_view.text(m_slot.m_latencyLabelId), "90 ms"); // (86 + ... + 95) / 10
}

TEST_F(SlotTest, DisplayOfAnEmptySlotHidesItsControls)
{
    m_slot.m_hostText.clear();
    m_slot.m_up = true;
    m_slot.updateDisplay();
    EXPECT_EQ(m_view.shown(m_slot.m_lightId), 0);
    EXPECT_EQ(m_view.shown(m_slot.m_latencyLabelId), 0);
    EXPECT_EQ(m_view.shown(m_slot.m_addressLabelId), 0);
    EXPECT_EQ(m_view.shown(m_slot.m_graphCheckBoxId), 0);
    EXPECT_EQ(m_view.lightState(m_slot.m_lightId), -1);
}

TEST_F(SlotTest, DisplayOfAnUpSlotShowsTheAverage)
{
    m_slot.m_up = true;
    m_slot.m_recentLatencies = {0, 0, 0, 0, 0, 0, 0, 0, 4, 7};
    m_slot.updateDisplay();
    EXPECT_EQ(m_view.shown(m_slot.m_lightId), 1);
    EXPECT_EQ(m_view.shown(m_slot.m_latencyLabelId), 1);
    EXPECT_EQ(m_view.shown(m_slot.m_addressLabelId), 1);
    EXPECT_EQ(m_view.shown(m_slot.m_graphCheckBoxId), 1);
    EXPECT_EQ(m_view.lightState(m_slot.m_lightId), 1);
    EXPECT_EQ(m_view.text(m_slot.m_latencyLabelId), "5 ms");
}

TEST_F(SlotTest, DisplayOfADownSlotHidesTheLatency)
{
    m_slot.m_up = false;
    m_slot.updateDisplay();
    EXPECT_EQ(m_view.shown(m_slot.m_lightId), 1);
    EXPECT_EQ(m_view.shown(m_slot.m_addressLabelId), 1);
    EXPECT_EQ(m_view.shown(m_slot.m_graphCheckBoxId), 1);
    EXPECT_EQ(m_view.shown(m_slot.m_latencyLabelId), 0);
    EXPECT_EQ(m_view.lightState(m_slot.m_lightId), 0);
    EXPECT_EQ(m_view.text(m_slot.m_latencyLabelId), "(none)");
}

TEST_F(SlotTest, DottedHostIsTakenAsTyped)
{
    m_slot.m_firstProbe = false;
    m_slot.m_up = true;
    m_slot.m_recentLatencies.fill(9);
    m_slot.setHost("192.0.2.17");
    EXPECT_EQ(m_slot.m_address, inet_addr("192.0.2.17"));
    EXPECT_EQ(m_slot.m_addressText, "192.0.2.17");
    EXPECT_EQ(m_slot.m_hostText, "192.0.2.17");
    EXPECT_EQ(m_view.text(m_slot.m_addressLabelId), "192.0.2.17");
    EXPECT_EQ(m_view.text(m_slot.m_hostEditId), "192.0.2.17");
    EXPECT_TRUE(m_slot.m_firstProbe);
    EXPECT_FALSE(m_slot.m_up);
    EXPECT_EQ(m_slot.latencyAverage(), 0);
    EXPECT_EQ(m_view.lightState(m_slot.m_lightId), 0);
    EXPECT_EQ(m_view.shown(m_slot.m_latencyLabelId), 0);
    EXPECT_EQ(m_view.waitCursors(), 1);
    EXPECT_EQ(m_view.waitDepth(), 0);
    EXPECT_TRUE(waitForNoLiveWork());
}

TEST_F(SlotTest, EmptyHostLeavesTheSlotIdle)
{
    m_slot.setHost("");
    EXPECT_EQ(m_slot.m_address, 0U);
    EXPECT_EQ(m_slot.m_addressText, "0.0.0.0");
    EXPECT_EQ(m_view.text(m_slot.m_addressLabelId), "0.0.0.0");
    EXPECT_EQ(m_view.shown(m_slot.m_lightId), 0);
    EXPECT_EQ(m_view.shown(m_slot.m_graphCheckBoxId), 0);
    ScriptedEcho echo({10});
    m_slot.probe(1000, 1, echo.function());
    EXPECT_EQ(echo.requests(), 0U);
}

TEST_F(SlotTest, LocalhostResolvesThroughTheHostsFile)
{
    m_slot.setHost("localhost");
    EXPECT_EQ(m_slot.m_address, LOOPBACK);
    EXPECT_EQ(m_view.text(m_slot.m_addressLabelId), "127.0.0.1");
    EXPECT_EQ(m_view.text(m_slot.m_hostEditId), "localhost");
}

TEST_F(SlotTest, WorkItemsAreFreedAfterEachResolution)
{
    for (const char* host : {"10.0.0.3", "", "localhost"})
        m_slot.setHost(host);
    EXPECT_TRUE(waitForNoLiveWork());
}

TEST(SlotEcho, LoopbackAnswersInAtLeastOneMillisecond)
{
    for (int i = 0; i < 3; ++i) {
        const int roundTrip = HostSlot::echo(LOOPBACK, 1000);
        EXPECT_GE(roundTrip, 1);
        EXPECT_LE(roundTrip, 100);
    }
}

TEST(SlotEcho, UnusableDestinationIsNoAnswer)
{
    EXPECT_EQ(HostSlot::echo(inet_addr("255.255.255.255"), 1000), 0);
}

TEST_F(SlotTest, RealProbeOfLoopbackIsUp)
{
    m_slot.setHost("127.0.0.1");
    m_slot.probe(1000, 3);
    EXPECT_TRUE(m_slot.m_up);
    ASSERT_EQ(m_slot.m_sampleCount, 1);
    EXPECT_GE(m_slot.m_samples[0], 1);
    EXPECT_EQ(m_view.lightState(m_slot.m_lightId), 1);
    EXPECT_EQ(m_view.text(m_slot.m_latencyLabelId), std::to_string(m_slot.m_samples[0]) + " ms");
}
