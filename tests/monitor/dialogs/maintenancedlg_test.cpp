// The Database Maintenance dialog on a real copy of the monitor database.

#include "monitor/maintenancedlg.h"

#include "monitor/graphdata.h"
#include "monitor/monitordatabase.h"
#include "platform/types/clock.h"
#include "platform/ui/messagebox.h"
#include "tests/monitor/database/testdatabase.h"
#include "tests/monitor/dialogs/dialogtesthelpers.h"

#include <gtest/gtest.h>

#include <ctime>
#include <ostream>
#include <string>
#include <vector>

namespace {

// The clock of these tests: 24 June 2002, 14:37:00 local time.
std::time_t testNow()
{
    std::tm t {};
    t.tm_year = 2002 - 1900;
    t.tm_mon = 5;
    t.tm_mday = 24;
    t.tm_hour = 14;
    t.tm_min = 37;
    t.tm_isdst = -1;
    return std::mktime(&t);
}

COleDateTime at(int day, int hour, int minute, int second)
{
    return COleDateTime(2002, 6, day, hour, minute, second);
}

class MaintenanceDialogTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        zorSetClock(testNow);
        ASSERT_TRUE(db.open(createMonitorDatabase(folder)));
        // "old" has history only before the default date's midnight (17 June), "kept" on
        // both sides of it, and an average on each side.
        const LONG old = db.hostId("old");
        const LONG kept = db.hostId("kept");
        db.appendStatus(old, true, true, at(10, 9, 0, 0));
        db.appendStatus(kept, false, false, at(16, 23, 59, 59));
        db.appendStatus(kept, true, false, at(17, 0, 0, 0));
        db.appendStatus(kept, false, true, at(24, 14, 30, 0));
        addAverage(kept, at(16, 23, 45, 0));
        addAverage(kept, at(17, 0, 0, 0));
    }
    void TearDown() override { zorSetClock({}); }

    void addAverage(LONG hostId, const COleDateTime& time)
    {
        CGraphData graph(&db.database());
        graph.Open(dbOpenDynaset, nullptr, dbAppendOnly);
        graph.AddNew();
        graph.m_HostID = hostId;
        graph.m_Time = time;
        graph.m_AvgDelay = 12;
        graph.m_SampleCount = 90;
        graph.Update();
        graph.Close();
    }

    // What the database holds, as another program reading the file sees it; dates as
    // "mm/dd hh:mm:ss" (the file holds days since 30 December 1899).
    std::vector<std::string> contents()
    {
        CDirectConnection file(folder.file("corvane.mdb"));
        std::vector<std::string> all;
        for (const char* query : {
                 "SELECT 'host ' || Host FROM Hosts ORDER BY Host",
                 "SELECT 'status ' || h.Host || strftime(' %m/%d %H:%M:%S', 2415018.5 + s.Date)"
                 " FROM Status s JOIN Hosts h ON h.HostID = s.HostID ORDER BY s.Date",
                 "SELECT 'average ' || h.Host || strftime(' %m/%d %H:%M:%S', 2415018.5 + g.Time)"
                 " FROM GraphData g JOIN Hosts h ON h.HostID = g.HostID ORDER BY g.Time",
             }) {
            for (const std::string& row : file.rows(query))
                all.push_back(row);
        }
        return all;
    }

    // "hosts/status/averages": the rows of each table, "-" for a table that is gone.
    std::string counts()
    {
        CDirectConnection file(folder.file("corvane.mdb"));
        std::string text;
        for (const char* table : {"Hosts", "Status", "GraphData"}) {
            const bool exists = file.scalar("SELECT count(*) FROM sqlite_master WHERE type = "
                                            "'table' AND name = '"
                                    + std::string(table) + "'")
                == "1";
            text += (text.empty() ? "" : "/")
                + (exists ? file.scalar("SELECT count(*) FROM " + std::string(table)) : "-");
        }
        return text;
    }

    TempFolder folder;
    CMonitorDatabase db;
    CRecordingPresenter boxes;
};

} // namespace

TEST_F(MaintenanceDialogTest, PicksAWeekAgoAndPurgesFromThatDaysMidnight)
{
    const std::vector<std::string> before = contents();
    CMaintenanceDlg dialog(db);
    ASSERT_TRUE(dialog.Create());
    COleDateTime shown;
    static_cast<CDateTimeCtrl*>(dialog.GetDlgItem(CMaintenanceDlg::c_idPurgeDate))->GetTime(shown);
    EXPECT_EQ(shown.Format("%m/%d/%Y %H:%M:%S"), "06/17/2002 14:37:00");

    press(dialog, IDOK);
    EXPECT_EQ(dialog.result(), IDOK);
    EXPECT_TRUE(boxes.boxes.empty());
    // Everything from 17 June 00:00:00 on stays; "old" goes with its last record.
    EXPECT_EQ(contents(),
        (std::vector<std::string> {"host kept", "status kept 06/17 00:00:00",
            "status kept 06/24 14:30:00", "average kept 06/17 00:00:00"}));
    EXPECT_EQ(before.size(), 8u);
}

namespace {

struct OutcomeCase
{
    const char* name;
    // A statement that breaks the database before OK, or null.
    const char* damage;
    int button;
    int result; // -1: the dialog stays open
    const char* message;
    // Rows left in Hosts, Status and GraphData, "-" for a table that is gone.
    const char* counts;
};

void PrintTo(const OutcomeCase& c, std::ostream* os)
{
    *os << c.name;
}

class MaintenanceDialogOutcome : public MaintenanceDialogTest,
                                 public ::testing::WithParamInterface<OutcomeCase>
{
};

} // namespace

TEST_P(MaintenanceDialogOutcome, ClosesWithOkOnceThePurgeFinished)
{
    const OutcomeCase& c = GetParam();
    ASSERT_EQ(counts(), "2/4/2");
    CMaintenanceDlg dialog(db);
    ASSERT_TRUE(dialog.Create());
    dialog.ShowWindow(SW_SHOW);
    // A date in the future purges everything.
    static_cast<CDateTimeCtrl*>(dialog.GetDlgItem(CMaintenanceDlg::c_idPurgeDate))
        ->SetTime(at(25, 8, 0, 0));
    if (c.damage) {
        ASSERT_EQ(CDirectConnection(folder.file("corvane.mdb")).exec(c.damage), 0);
    }

    press(dialog, c.button);
    EXPECT_EQ(dialog.result(), c.result);
    EXPECT_EQ(dialog.widget()->isVisible(), c.result == -1);
    std::vector<std::string> texts;
    for (const auto& box : boxes.boxes)
        texts.push_back(box.text);
    EXPECT_EQ(
        texts, c.message ? std::vector<std::string> {c.message} : std::vector<std::string> {});
    EXPECT_EQ(counts(), c.counts);
}

INSTANTIATE_TEST_SUITE_P(Cases, MaintenanceDialogOutcome,
    ::testing::Values(OutcomeCase {"FutureDate", nullptr, IDOK, IDOK, nullptr, "0/0/0"},
        OutcomeCase {"Cancel", nullptr, IDCANCEL, IDCANCEL, nullptr, "2/4/2"},
        // An error while removing the history leaves the dialog open for another try.
        OutcomeCase {"HistoryFails", "DROP TABLE Status", IDOK, -1,
            "Database Error: no such table: Status", "2/-/2"},
        OutcomeCase {"AveragesFail", "DROP TABLE GraphData", IDOK, -1,
            "Database Error: no such table: GraphData", "2/0/-"},
        // An error while removing hosts is shown, and the purge still counts as finished.
        OutcomeCase {"HostsFail", "DROP VIEW HostCount", IDOK, IDOK,
            "Database Error: no such table: HostCount", "2/0/0"}),
    [](const auto& info) { return std::string(info.param.name); });
