// The averages and the graph feed on a real database file and a real graph control (created by
// class id from the registered module), with the suite's clock set by the test. A graph point
// is read by offering it its expected value: setDataPoint answers false for the value a point
// already holds (the empty marker for a point that has none).

#include "monitor/graphdata.h"
#include "monitor/graphfeed.h"

#include "platform/module/module.h"
#include "platform/ole/factory.h"
#include "platform/ole/oleinit.h"
#include "platform/types/clock.h"
#include "platform/ui/dialog.h"
#include "platform/ui/messagebox.h"
#include "platform/ui/winapp.h"
#include "tests/monitor/database/testdatabase.h"

#include <gtest/gtest.h>

#include <map>

namespace {

constexpr UINT c_hostTemplate = 9500;
constexpr LONG c_empty = -99999;

ZOR_DIALOG_TABLE({
    {c_hostTemplate, "Graph", 330, 140, "MS Sans Serif", 8, WS_POPUP | WS_VISIBLE, {}},
});

COleDateTime at(int month, int day, int hour, int minute, int second = 0, int year = 2002)
{
    return COleDateTime(year, month, day, hour, minute, second);
}

// A GraphData row of the slot's host (or another one) some minutes after a reference time.
struct Row
{
    bool own;
    int minute;
    LONG avgDelay;
    LONG sampleCount {1};
};

using Points = std::map<long, LONG>;

class GraphFeedTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        static const HRESULT registered = [] {
            AfxOleInit();
            AfxEnableControlContainer();
            const auto entry = reinterpret_cast<ZorDllRegisterServer>(
                GetProcAddress(LoadLibraryA(ZOR_WIDGETS_MODULE), "DllRegisterServer"));
            return entry ? entry() : E_FAIL;
        }();
        ASSERT_EQ(registered, S_OK) << zorModuleLoadError();
        ASSERT_TRUE(db.open(createMonitorDatabase(folder)));
        ASSERT_TRUE(dialog.Create(c_hostTemplate));
        ASSERT_TRUE(graph.CreateControl(IGraph::c_szProgId, "", &dialog, CRect(0, 0, 480, 200), 1));
        for (HostSlot& slot : hostSlots) {
            slot.m_address = 0x0100007F;
            slot.m_hostText = "alpha.test";
        }
        hostSlots[1].m_hostText = "beta.test";
    }
    void TearDown() override
    {
        zorSetClock({});
        graph.site()->destroy();
        dialog.DestroyWindow();
    }

    static void setClock(const COleDateTime& now)
    {
        const std::time_t t = now.GetAsTimeT();
        zorSetClock([t] { return t; });
    }
    void addRows(const std::vector<Row>& rows, const COleDateTime& reference)
    {
        for (const Row& row : rows) {
            CGraphData set(&db.database());
            set.Open(dbOpenDynaset, nullptr, dbAppendOnly);
            set.AddNew();
            set.m_HostID = db.hostId(row.own ? "alpha.test" : "beta.test");
            set.m_Time = reference + COleDateTimeSpan(0, 0, row.minute, 0);
            set.m_AvgDelay = row.avgDelay;
            set.m_SampleCount = row.sampleCount;
            set.Update();
        }
    }
    void setSamples(int slot, const std::vector<int>& samples)
    {
        std::copy(samples.begin(), samples.end(), hostSlots[slot].m_samples.begin());
        hostSlots[slot].m_sampleCount = static_cast<int>(samples.size());
    }
    // The points of a plot that differ from the expected ones (all others empty).
    std::vector<long> mismatches(int plot, long count, const Points& expected)
    {
        std::vector<long> wrong;
        for (long i = 0; i < count; ++i) {
            const auto point = expected.find(i);
            if (graph.setDataPoint(plot, i, point == expected.end() ? c_empty : point->second))
                wrong.push_back(i);
        }
        return wrong;
    }

    TempFolder folder;
    CRecordingPresenter boxes;
    CMonitorDatabase db;
    CDialog dialog {c_hostTemplate};
    IGraph graph;
    std::array<HostSlot, 5> hostSlots;
    CGraphFeed feed {hostSlots, db, graph};
};

template<typename Case>
class Table : public GraphFeedTest, public ::testing::WithParamInterface<Case>
{
};

struct WindowCase
{
    const char* name;
    COleDateTime now;
    int span;
    COleDateTime start;
    long liveIndex;
    COleDateTime later;
    int laterSpan;
    bool moves;
};

using WindowSetUp = Table<WindowCase>;

TEST_P(WindowSetUp, StartPointsLivePointAndMoves)
{
    const WindowCase& c = GetParam();
    std::vector<int> changed;
    const auto graphChanged = [&changed](int k) { changed.push_back(k); };
    setClock(c.now);
    feed.setUpWindow(c.span, graphChanged);
    // Exactly the value of the time built from its fields, as GraphData's times are.
    EXPECT_EQ(feed.windowStart().m_dt, c.start.m_dt) << feed.windowStart().Format();
    EXPECT_EQ(changed, (std::vector<int> {0, 1, 2, 3, 4}));
    const long points = c.span * 96L;
    EXPECT_TRUE(graph.setDataPoint(4, points - 1, 1));
    EXPECT_FALSE(graph.setDataPoint(4, points, 1));

    // Slot 0 is up with answers of 12 and 18 ms; slot 1 answered before but is down now.
    hostSlots[0].m_up = true;
    hostSlots[0].m_recentLatencies = {0, 0, 0, 0, 0, 0, 0, 0, 12, 18};
    hostSlots[1].m_recentLatencies = {0, 0, 0, 0, 0, 0, 0, 0, 0, 30};
    feed.livePoint(0);
    feed.livePoint(1);
    EXPECT_EQ(mismatches(0, points, {{c.liveIndex, 1500}}), std::vector<long> {});
    EXPECT_EQ(mismatches(1, points, {}), std::vector<long> {});

    setClock(c.later);
    changed.clear();
    feed.setUpWindow(c.laterSpan, graphChanged);
    EXPECT_EQ(changed.size(), c.moves ? 5U : 0U);
    if (!c.moves) {
        EXPECT_FALSE(graph.setDataPoint(0, c.liveIndex, 1500)) << "the plot was kept";
    }
}

INSTANTIATE_TEST_SUITE_P(GraphFeed, WindowSetUp,
    ::testing::Values(WindowCase {"OneDayAt1437", at(6, 24, 14, 37), 1, at(6, 23, 16, 0), 90,
                          at(6, 24, 15, 59, 59), 1, false},
        WindowCase {"ThreeDaysAt1437", at(6, 24, 14, 37), 3, at(6, 22, 0, 0), 250, at(6, 25, 0, 0),
            3, true},
        WindowCase {"OneDayAcrossTheMonth", at(7, 1, 0, 5), 1, at(6, 30, 4, 0), 80, at(7, 1, 4, 0),
            1, true},
        WindowCase {"OneDayWhereHoursDoNotAddUpExactly", at(2, 18, 5, 10, 0, 1982), 1,
            at(2, 17, 8, 0, 0, 1982), 84, at(2, 18, 7, 0, 0, 1982), 1, false},
        WindowCase {"FiveDaysLastSecond", at(3, 1, 23, 59, 59), 5, at(2, 25, 0, 0), 479,
            at(3, 1, 12, 0), 5, false},
        WindowCase {"TwoDaysThenThree", at(6, 24, 12, 0), 2, at(6, 23, 0, 0), 144, at(6, 24, 12, 0),
            3, true}),
    [](const auto& info) { return std::string(info.param.name); });

struct AverageCase
{
    const char* name;
    bool address;
    std::vector<int> samples;
    std::vector<Row> before; // minutes after the current quarter hour
    std::vector<std::string> after; // host|minute|AvgDelay|SampleCount
    int pendingAfter;
    bool brokenTable;
};

using AveragesFiled = Table<AverageCase>;

TEST_P(AveragesFiled, AddedOrMergedUnderTheQuarterHour)
{
    const AverageCase& c = GetParam();
    const COleDateTime quarter = at(6, 24, 14, 30);
    setClock(at(6, 24, 14, 37, 12));
    addRows(c.before, quarter);
    hostSlots[0].m_address = c.address ? 0x0100007F : 0;
    setSamples(0, c.samples);
    CDirectConnection direct(folder.file("corvane.mdb"));
    if (c.brokenTable) {
        ASSERT_EQ(direct.exec("DROP TABLE GraphData"), 0);
    }

    feed.writeAverages(0);

    EXPECT_EQ(hostSlots[0].m_sampleCount, c.pendingAfter);
    std::vector<std::string> texts;
    for (const auto& box : boxes.boxes)
        texts.push_back(box.text);
    if (c.brokenTable) {
        EXPECT_EQ(texts, std::vector<std::string> {"Database Error: no such table: GraphData"});
        return;
    }
    EXPECT_TRUE(texts.empty());
    EXPECT_EQ(direct.rows("SELECT Host, CAST(round((Time - " + std::to_string(quarter.m_dt)
                  + ") * 1440) AS INTEGER), AvgDelay, SampleCount FROM GraphData JOIN Hosts "
                    "USING (HostID) ORDER BY Time, GraphData.ID"),
        c.after);
}

INSTANTIATE_TEST_SUITE_P(GraphFeed, AveragesFiled,
    ::testing::Values(AverageCase {"NewRow", true, {0, 20, 0, 40}, {}, {"alpha.test|0|30|4"}, 0},
        AverageCase {"MergedIntoTheQuarterRow", true, {0, 20, 0, 40}, {{true, 0, 10, 2}},
            {"alpha.test|0|20|6"}, 0},
        AverageCase {"MergeStopsAtNinetySamples", true, std::vector<int>(88, 50),
            {{true, 0, 10, 5}}, {"alpha.test|0|49|90"}, 0},
        AverageCase {"EarlierQuarterAndOtherHostLeftAlone", true, {30},
            {{true, -15, 10, 2}, {false, 0, 70, 3}},
            {"alpha.test|-15|10|2", "beta.test|0|70|3", "alpha.test|0|30|1"}, 0},
        AverageCase {"DownQuarterWritesNothing", true, {0, 0, 0}, {}, {}, 0},
        AverageCase {"NoAddressWritesNothing", false, {20}, {}, {}, 0},
        AverageCase {"DatabaseErrorKeepsTheSamples", true, {20, 40}, {}, {}, 2, true}),
    [](const auto& info) { return std::string(info.param.name); });

struct ReplotCase
{
    const char* name;
    std::vector<Row> rows; // minutes after the window start
    std::vector<int> pending;
    Points points;
};

using Replot = Table<ReplotCase>;

// Also what the main window does when a slot's graph is turned off and on again.
TEST_P(Replot, PlotsTheStoredAveragesOfTheWindowAgainAfterTurningOffAndOn)
{
    const ReplotCase& c = GetParam();
    setClock(at(6, 24, 14, 37));
    feed.setUpWindow(1, {});
    addRows(c.rows, at(6, 23, 16, 0));
    setSamples(0, c.pending);
    graph.setDataPoint(0, 5, 999); // a live point from before

    feed.replot(0);
    EXPECT_EQ(mismatches(0, 96, c.points), std::vector<long> {});
    EXPECT_EQ(hostSlots[0].m_sampleCount, 0);

    graph.clearPlot(0);
    EXPECT_EQ(mismatches(0, 96, {}), std::vector<long> {});
    feed.replot(0);
    EXPECT_EQ(mismatches(0, 96, c.points), std::vector<long> {});
}

INSTANTIATE_TEST_SUITE_P(GraphFeed, Replot,
    ::testing::Values(ReplotCase {"NothingStored", {}, {}, {}},
        ReplotCase {"AveragesAtTheirPoints", {{true, 0, 12}, {true, 135, 7}, {true, 1425, 9}}, {},
            {{0, 1200}, {9, 700}, {95, 900}}},
        ReplotCase {"OutsideTheWindowOtherHostAndZeroLeftOut",
            {{true, -15, 12}, {true, 1440, 13}, {false, 30, 14}, {true, 45, 0}}, {}, {}},
        ReplotCase {"PendingSamplesFiledOnce", {{true, 1350, 10, 1}}, {30}, {{90, 2000}}}),
    [](const auto& info) { return std::string(info.param.name); });

} // namespace
