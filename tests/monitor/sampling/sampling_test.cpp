#include "monitor/availability.h"
#include "monitor/monitordatabase.h"
#include "monitor/slotsampler.h"
#include "tests/monitor/database/testdatabase.h"
#include "tests/monitor/hostslot/recordingslotview.h"
#include "tests/support/networktest.h"

#include <QtCore/QCoreApplication>

#include <gtest/gtest.h>

#include <arpa/inet.h>
#include <deque>
#include <string>
#include <vector>

namespace {

// The kinds of a host's status rows in order of date: "start", "stop", "up", "down".
std::vector<std::string> statusKinds(const std::string& databaseFile, const std::string& host)
{
    CDirectConnection connection(databaseFile);
    std::vector<std::string> kinds;
    for (const std::string& row : connection.rows(
             "SELECT s.Up, s.SessionStartStop FROM Status s JOIN Hosts h ON h.HostID = s.HostID "
             "WHERE h.Host = '"
             + host + "' ORDER BY s.Date, s.ID")) {
        const bool up = row[0] == '1';
        const bool startStop = row[2] == '1';
        kinds.push_back(startStop ? (up ? "start" : "stop") : (up ? "up" : "down"));
    }
    return kinds;
}

// Echo answers played back in order; 0 is no answer.
class ScriptedEcho
{
public:
    explicit ScriptedEcho(std::deque<int> answers) : m_answers(std::move(answers)) { }
    EchoFunction function()
    {
        return [this](std::uint32_t, int) {
            if (m_answers.empty())
                return 0;
            const int answer = m_answers.front();
            m_answers.pop_front();
            return answer;
        };
    }

private:
    std::deque<int> m_answers;
};

class SlotSampling : public ::testing::Test
{
protected:
    void SetUp() override
    {
        m_directory = createMonitorDatabase(m_folder);
        ASSERT_TRUE(m_database.open(m_directory));
        m_slot.bind(&m_view, slotControlIds(0));
        m_slot.setHost("10.0.0.1"); // a dotted address is taken as typed: nothing is sent
        ASSERT_NE(m_slot.m_address, 0U);
        ASSERT_TRUE(writeStatus(m_database, "10.0.0.1", true, true));
    }

    std::vector<std::string> kinds()
    {
        return statusKinds(m_directory + "corvane.mdb", "10.0.0.1");
    }

    TempFolder m_folder;
    std::string m_directory;
    CMonitorDatabase m_database;
    RecordingSlotView m_view;
    HostSlot m_slot;
};

} // namespace

TEST_F(SlotSampling, FirstProbeFindingTheHostUpRecordsUp)
{
    ScriptedEcho echo({12});
    const SampleOutcome outcome = sampleSlot(m_slot, m_database, 1000, 1, echo.function());
    EXPECT_TRUE(outcome.up);
    EXPECT_TRUE(outcome.recorded);
    EXPECT_FALSE(m_slot.m_firstProbe);
    EXPECT_EQ(kinds(), (std::vector<std::string> {"start", "up"}));
    EXPECT_EQ(m_view.lightState(m_slot.m_lightId), 1);
}

TEST_F(SlotSampling, FirstProbeFindingTheHostDownRecordsDownOnce)
{
    ScriptedEcho echo({0, 0, 0});
    const SampleOutcome outcome = sampleSlot(m_slot, m_database, 1000, 3, echo.function());
    EXPECT_FALSE(outcome.up);
    EXPECT_TRUE(outcome.recorded);
    EXPECT_EQ(kinds(), (std::vector<std::string> {"start", "down"}));
    EXPECT_EQ(m_view.lightState(m_slot.m_lightId), 0);
}

TEST_F(SlotSampling, OnlyChangesAreRecorded)
{
    // up, up, down, down, up: one up record, then one down and one up.
    ScriptedEcho echo({5, 7, 0, 0, 9});
    std::vector<bool> recorded;
    for (int pass = 0; pass < 5; ++pass)
        recorded.push_back(sampleSlot(m_slot, m_database, 1000, 1, echo.function()).recorded);
    EXPECT_EQ(recorded, (std::vector<bool> {true, false, true, false, true}));
    EXPECT_EQ(kinds(), (std::vector<std::string> {"start", "up", "down", "up"}));
}

TEST_F(SlotSampling, SlotWithoutAnAddressIsNeitherProbedNorRecorded)
{
    HostSlot idle;
    RecordingSlotView view;
    idle.bind(&view, slotControlIds(1));
    int echoes = 0;
    const SampleOutcome outcome
        = sampleSlot(idle, m_database, 1000, 3, [&echoes](std::uint32_t, int) {
              ++echoes;
              return 1;
          });
    EXPECT_FALSE(outcome.up);
    EXPECT_FALSE(outcome.recorded);
    EXPECT_EQ(echoes, 0);
    EXPECT_EQ(idle.m_sampleCount, 0);
    CDirectConnection connection(m_directory + "corvane.mdb");
    EXPECT_EQ(connection.scalar("SELECT COUNT(*) FROM Status"), "1"); // the fixture's start
}

// The slot probes a real host inside a test network; the host's link goes down for two passes
// and comes back.
class SamplingOverNetwork : public NetworkTest
{
};

TEST_F(SamplingOverNetwork, HostGoingDownAndBackGivesOneDownAndOneUpRecord)
{
    TempFolder folder;
    const std::string directory = createMonitorDatabase(folder);
    const std::string host = TestNetwork::HOST_ADDRESS;
    const std::string linkDown = "run=ip,-n," + m_network.hostNamespace() + ",link,set,"
        + TestNetwork::HOST_LINK + ",down";
    const std::string linkUp
        = "run=ip,-n," + m_network.hostNamespace() + ",link,set," + TestNetwork::HOST_LINK + ",up";

    const ProgramResult result = m_network.runInClient({ZOR_SAMPLER_HELPER, directory, host, "300",
        "2", "sample", "sample", linkDown, "sample", "sample", linkUp,
        // The link needs a moment to carry traffic again; the first pass may still find the
        // host down, which records nothing new.
        "run=sleep,1", "sample", "sample"});
    ASSERT_EQ(result.exitCode, 0) << result.output;
    EXPECT_EQ(outputLines(result.output, "sample up=1").size(), 4U) << result.output;
    EXPECT_EQ(outputLines(result.output, "sample up=0").size(), 2U) << result.output;

    EXPECT_EQ(statusKinds(directory + "corvane.mdb", host),
        (std::vector<std::string> {"start", "up", "down", "up", "stop"}));
}

int main(int argc, char** argv)
{
    QCoreApplication application(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
