#include "monitor/availability.h"

#include "platform/ui/messagebox.h"
#include "tests/monitor/database/testdatabase.h"

#include <gtest/gtest.h>

namespace {

enum Kind { start, stop, up, down };

struct Event
{
    int day; // of June 2002
    int hour;
    int minute;
    int second;
    Kind kind;
};

StatusRecord recordOf(const Event& e)
{
    StatusRecord r;
    r.date = COleDateTime(2002, 6, e.day, e.hour, e.minute, e.second);
    r.up = e.kind == start || e.kind == up;
    r.sessionStartStop = e.kind == start || e.kind == stop;
    return r;
}

struct OutageCase
{
    const char* name;
    std::vector<Event> events;
    bool showStartStop;
    int shortestOutage;
    std::vector<std::string> lines;
};

class OutageLines : public ::testing::TestWithParam<OutageCase>
{
};

} // namespace

TEST_P(OutageLines, FromTheHostsRecords)
{
    const OutageCase& c = GetParam();
    std::vector<StatusRecord> records;
    for (const Event& e : c.events)
        records.push_back(recordOf(e));
    std::vector<std::string> lines {"kept"};
    addHostOutageLines(lines, "host.example", records, {c.showStartStop, c.shortestOutage});
    std::vector<std::string> expected {"kept"};
    expected.insert(expected.end(), c.lines.begin(), c.lines.end());
    EXPECT_EQ(lines, expected);
}

INSTANTIATE_TEST_SUITE_P(Cases, OutageLines,
    ::testing::Values(OutageCase {"ThreeMinutesThirtyWithMinimumOneMinute",
                          {{24, 10, 0, 0, down}, {24, 10, 3, 30, up}}, false, 60,
                          {"", "host.example", "06/24/02 10:00:00 unavailable",
                              "06/24/02 10:03:30 available, was down for 00:03:30"}},
        OutageCase {"ThreeMinutesThirtyWithMinimumFiveMinutes",
            {{24, 10, 0, 0, down}, {24, 10, 3, 30, up}}, false, 300,
            {"", "host.example", "06/24/02 10:00:00 unavailable"}},
        OutageCase {"TwentyFiveHoursShowsTheWholeLength",
            {{24, 10, 0, 0, down}, {25, 11, 0, 0, up}}, false, 60,
            {"", "host.example", "06/24/02 10:00:00 unavailable",
                "06/25/02 11:00:00 available, was down for 25:00:00"}},
        OutageCase {"TwoDownsInARowMeasureFromTheLater",
            {{24, 9, 0, 0, start}, {24, 10, 0, 0, down}, {24, 10, 30, 0, stop},
                {24, 11, 0, 0, start}, {24, 11, 5, 0, down}, {24, 11, 10, 0, up}},
            false, 60,
            {"", "host.example", "06/24/02 10:00:00 unavailable",
                "06/24/02 11:10:00 available, was down for 00:05:00"}},
        OutageCase {"StopCancelsThePendingOutage",
            {{24, 9, 0, 0, start}, {24, 10, 0, 0, down}, {24, 10, 2, 0, stop},
                {24, 10, 4, 0, start}, {24, 10, 5, 0, up}},
            true, 0,
            {"", "host.example", "06/24/02 09:00:00 monitoring started",
                "06/24/02 10:00:00 unavailable", "06/24/02 10:02:00 monitoring stopped",
                "06/24/02 10:04:00 monitoring started"}},
        OutageCase {"AlwaysUpWithStartStopHiddenShowsNothing",
            {{24, 9, 0, 0, start}, {24, 9, 0, 10, up}, {24, 17, 0, 0, stop}}, false, 60, {}},
        OutageCase {"AlwaysUpWithStartStopShown",
            {{24, 9, 0, 0, start}, {24, 9, 0, 10, up}, {24, 17, 0, 0, stop}}, true, 60,
            {"", "host.example", "06/24/02 09:00:00 monitoring started",
                "06/24/02 17:00:00 monitoring stopped"}},
        OutageCase {"StartStopLineEndsTheRunOfUnavailable",
            {{24, 10, 0, 0, down}, {24, 10, 1, 0, stop}, {24, 10, 2, 0, start},
                {24, 10, 3, 0, down}},
            true, 60,
            {"", "host.example", "06/24/02 10:00:00 unavailable",
                "06/24/02 10:01:00 monitoring stopped", "06/24/02 10:02:00 monitoring started",
                "06/24/02 10:03:00 unavailable"}},
        OutageCase {"ZeroMinimumShowsEveryRecovery",
            {{24, 10, 0, 0, down}, {24, 10, 0, 1, up}, {24, 10, 5, 0, down}, {24, 10, 5, 0, up}},
            false, 0,
            {"", "host.example", "06/24/02 10:00:00 unavailable",
                "06/24/02 10:00:01 available, was down for 00:00:01",
                "06/24/02 10:05:00 unavailable",
                "06/24/02 10:05:00 available, was down for 00:00:00"}},
        OutageCase {"ExactlyTheMinimumIsShown", {{24, 13, 17, 31, down}, {24, 13, 18, 31, up}},
            false, 60,
            {"", "host.example", "06/24/02 13:17:31 unavailable",
                "06/24/02 13:18:31 available, was down for 00:01:00"}},
        OutageCase {"OneSecondShortIsHidden", {{24, 13, 17, 31, down}, {24, 13, 18, 30, up}}, false,
            60, {"", "host.example", "06/24/02 13:17:31 unavailable"}},
        OutageCase {"UpWithoutOutageAddsNothing", {{24, 10, 0, 0, up}}, false, 0, {}}),
    [](const auto& info) { return std::string(info.param.name); });

namespace {

struct LengthCase
{
    const char* name;
    double days;
    const char* text;
};

class OutageLength : public ::testing::TestWithParam<LengthCase>
{
};

} // namespace

// Under a day the length keeps the "%H:%M:%S" form; from a day on it shows every hour.
TEST_P(OutageLength, ShowsTheWholeLength)
{
    const COleDateTimeSpan length(GetParam().days);
    EXPECT_EQ(outageLengthText(length), GetParam().text);
    if (length.GetTotalSeconds() < 86400) {
        EXPECT_EQ(outageLengthText(length), length.Format("%H:%M:%S"));
    }
}

INSTANTIATE_TEST_SUITE_P(Lengths, OutageLength,
    ::testing::Values(LengthCase {"Nothing", 0.0, "00:00:00"},
        LengthCase {"ThreeMinutesThirty", 210 / 86400.0, "00:03:30"},
        LengthCase {"LastSecondOfTheFirstDay", 86399 / 86400.0, "23:59:59"},
        LengthCase {"ShortOfADayByLessThanHalfASecond", 86399.6 / 86400.0, "24:00:00"},
        LengthCase {"OneDay", 1.0, "24:00:00"},
        LengthCase {"TwentyFiveHours", 25 / 24.0, "25:00:00"},
        LengthCase {"FourDaysThreeHours", 4 + 10923 / 86400.0, "99:02:03"},
        LengthCase {"HundredHoursAndASecond", (100 * 3600 + 1) / 86400.0, "100:00:01"}),
    [](const auto& info) { return std::string(info.param.name); });

// The lines' dates are written as the date-time's own format writes them, through every day
// the records pass (the date part is kept from one record to the next of the same day).
TEST(OutageLineDates, AreTheDateTimesOwnText)
{
    const double values[] = {
        37431.0, // 24 June 2002, midnight
        37431.5, // the same day at noon
        37431.999996, // 23:59:59.65: rounds into the next day
        37432.000001, // just after that midnight
        37432.25, 37800.75, // later days
        36526.0, // 1 January 2000
        -1.25, // 29 December 1899 06:00, before the epoch the time counts forward
        -1.75, // the same day at 18:00
        0.0, // 30 December 1899
        2958465.999988, // 31 December 9999 23:59:59
    };
    std::vector<StatusRecord> records;
    for (double value : values)
        records.push_back({COleDateTime(value), true, true});
    std::vector<std::string> lines;
    addHostOutageLines(lines, "h", records, {true, 60});
    ASSERT_EQ(lines.size(), records.size() + 2);
    for (std::size_t i = 0; i < records.size(); ++i)
        EXPECT_EQ(lines[i + 2], records[i].date.Format("%m/%d/%y %H:%M:%S") + " monitoring started")
            << values[i];
}

namespace {

struct PickerCase
{
    int minutes;
    int seconds;
    int expected;
};

class ShortestOutage : public ::testing::TestWithParam<PickerCase>
{
};

} // namespace

TEST_P(ShortestOutage, PickerTimeBecomesWholeSeconds)
{
    COleDateTime picked;
    ASSERT_EQ(picked.SetTime(0, GetParam().minutes, GetParam().seconds), 0);
    EXPECT_EQ(shortestOutageSeconds(picked.m_dt), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(Values, ShortestOutage,
    ::testing::Values(PickerCase {0, 0, 0}, PickerCase {0, 1, 1}, PickerCase {1, 0, 60},
        PickerCase {3, 30, 210}, PickerCase {5, 0, 300}, PickerCase {59, 59, 3599},
        // Values whose days times 86400 fall just short of the whole second.
        PickerCase {0, 11, 11}, PickerCase {1, 1, 61}, PickerCase {1, 53, 113}));

namespace {

class AvailabilityDatabase : public ::testing::Test
{
protected:
    void SetUp() override { ASSERT_TRUE(db.open(createMonitorDatabase(folder))); }

    TempFolder folder;
    CRecordingPresenter boxes;
    CMonitorDatabase db;
};

} // namespace

TEST_F(AvailabilityDatabase, WriteStatusStampsTheCurrentTime)
{
    const COleDateTime before = COleDateTime::GetCurrentTime();
    EXPECT_TRUE(writeStatus(db, "alpha", false, false));
    EXPECT_TRUE(writeStatus(db, "ALPHA", true, true));
    const COleDateTime after = COleDateTime::GetCurrentTime();
    std::vector<StatusRecord> history;
    ASSERT_TRUE(db.readHostHistory(db.findHostId("alpha"), history));
    ASSERT_EQ(history.size(), 2u);
    EXPECT_GE(history[0].date, before);
    EXPECT_LE(history[1].date, after);
    EXPECT_FALSE(history[0].up);
    EXPECT_FALSE(history[0].sessionStartStop);
    EXPECT_TRUE(history[1].up);
    EXPECT_TRUE(history[1].sessionStartStop);
    EXPECT_EQ(
        CDirectConnection(folder.file("corvane.mdb")).scalar("SELECT count(*) FROM Hosts"), "1");
}

TEST_F(AvailabilityDatabase, EmptyHostGetsNoRecords)
{
    EXPECT_FALSE(writeStatus(db, "", true, true));
    CDirectConnection direct(folder.file("corvane.mdb"));
    EXPECT_EQ(direct.scalar("SELECT count(*) FROM Status"), "0");
    EXPECT_EQ(direct.scalar("SELECT count(*) FROM Hosts"), "0");
    EXPECT_TRUE(boxes.boxes.empty());
}

TEST_F(AvailabilityDatabase, OutageListCoversTheHostsInOrderOrOneHost)
{
    const LONG bravo = db.hostId("bravo");
    const LONG alpha = db.hostId("alpha");
    db.appendStatus(bravo, false, false, COleDateTime(2002, 6, 24, 8, 0, 0));
    db.appendStatus(alpha, false, false, COleDateTime(2002, 6, 24, 9, 0, 0));
    db.appendStatus(alpha, true, false, COleDateTime(2002, 6, 24, 9, 2, 0));
    db.hostId("charlie"); // no records, no lines
    EXPECT_EQ(buildOutageList(db, {false, 60}),
        (std::vector<std::string> {"", "alpha", "06/24/02 09:00:00 unavailable",
            "06/24/02 09:02:00 available, was down for 00:02:00", "", "bravo",
            "06/24/02 08:00:00 unavailable"}));
    EXPECT_EQ(buildOutageList(db, {false, 60}, bravo),
        (std::vector<std::string> {"", "bravo", "06/24/02 08:00:00 unavailable"}));
    EXPECT_TRUE(boxes.boxes.empty());
}

TEST_F(AvailabilityDatabase, OutageListErrorIsShown)
{
    db.hostId("alpha");
    CDirectConnection(folder.file("corvane.mdb")).exec("DROP TABLE Status");
    EXPECT_TRUE(buildOutageList(db, {true, 0}).empty());
    ASSERT_EQ(boxes.boxes.size(), 1u);
    EXPECT_EQ(boxes.boxes[0].text, "Database Error: no such table: Status");
}
