#include "monitor/report/hosttimeline.h"
#include "monitor/report/reportcommand.h"
#include "monitor/report/reporttable.h"
#include "tests/monitor/database/testdatabase.h"
#include "tests/support/scopedenvironment.h"
#include "tests/support/tempfolder.h"

#include <QtCore/QDate>
#include <QtCore/QProcess>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <ctime>
#include <sstream>
#include <string>
#include <vector>

namespace {

constexpr LocalMs c_minute = 60'000;
constexpr LocalMs c_hour = 60 * c_minute;
// 1 December 2026, 0:00 local.
const LocalMs c_dec1 = QDate(1899, 12, 30).daysTo(QDate(2026, 12, 1)) * c_msPerDay;

HistoryRecord at(LocalMs minutes, eHistoryRecord kind)
{
    return HistoryRecord {c_dec1 + minutes * c_minute, kind};
}

constexpr auto START = eHistoryRecord::eSTART;
constexpr auto STOP = eHistoryRecord::eSTOP;
constexpr auto UP = eHistoryRecord::eUP;
constexpr auto DOWN = eHistoryRecord::eDOWN;

struct FiguresCase
{
    const char* name;
    std::vector<HistoryRecord> history;
    LocalMs fromMinute, toMinute;
    LocalMs monitoredMinutes, downMinutes;
    int outages;
    LocalMs longestMinutes;
};

TEST(HostTimeline, FiguresOfConstructedHistories)
{
    const FiguresCase cases[] = {
        {"the gap between two periods is not monitored, nor the wait for the first probe",
            {at(0, START), at(1, UP), at(60, STOP), at(120, START), at(120, UP), at(150, DOWN),
                at(160, UP), at(180, STOP)},
            0, 240, 59 + 60, 10, 1, 10},
        {"an outage across the period's start counts its time inside, not as a new outage",
            {at(0, START), at(0, DOWN), at(90, UP)}, 60, 120, 60, 30, 0, 30},
        {"an outage still open at the period's end counts up to the end",
            {at(0, START), at(0, UP), at(50, DOWN)}, 0, 60, 60, 10, 1, 10},
        {"a stop ends the outage; the time to the next start is not monitored",
            {at(0, START), at(0, UP), at(10, DOWN), at(30, STOP), at(40, START), at(40, UP)}, 0, 60,
            10 + 20 + 20, 20, 1, 20},
        {"two down records in one period are one outage",
            {at(0, START), at(0, DOWN), at(5, DOWN), at(20, UP)}, 0, 30, 30, 20, 1, 20},
        {"down records of two periods are two outages",
            {at(0, START), at(0, DOWN), at(10, STOP), at(10, START), at(10, DOWN), at(30, UP)}, 0,
            60, 60, 30, 2, 20},
        {"a start without a stop (a killed monitor) ends the period before it",
            {at(0, START), at(0, DOWN), at(20, START), at(25, UP)}, 0, 60, 20 + 35, 20, 1, 20},
        {"records whose start was purged are monitored all the same",
            {at(0, UP), at(30, DOWN), at(45, UP)}, 0, 60, 60, 15, 1, 15},
        {"records after the period are left out", {at(0, START), at(0, UP), at(70, DOWN)}, 0, 60,
            60, 0, 0, 0},
    };
    for (const FiguresCase& c : cases) {
        const LocalMs to = c_dec1 + c.toMinute * c_minute;
        const AvailabilityFigures f
            = figuresIn(timelineOf(c.history, to), c_dec1 + c.fromMinute * c_minute, to);
        EXPECT_EQ(f.monitored, c.monitoredMinutes * c_minute) << c.name;
        EXPECT_EQ(f.down, c.downMinutes * c_minute) << c.name;
        EXPECT_EQ(f.outages, c.outages) << c.name;
        EXPECT_EQ(f.longest, c.longestMinutes * c_minute) << c.name;
    }
}

TEST(HostTimeline, PeriodSplitsAtLocalDaysMondaysAndMonths)
{
    const QDate zero(1899, 12, 30);
    auto day = [&](int y, int m, int d) { return zero.daysTo(QDate(y, m, d)) * c_msPerDay; };
    const struct
    {
        eReportSplit split;
        LocalMs from, to;
        std::vector<LocalMs> starts;
    } cases[] = {
        {eReportSplit::eNONE, day(2026, 12, 1), day(2026, 12, 3), {day(2026, 12, 1)}},
        {eReportSplit::eDAY, day(2026, 12, 1) + 5 * c_hour, day(2026, 12, 3),
            {day(2026, 12, 1) + 5 * c_hour, day(2026, 12, 2)}},
        // 9 December 2026 is a Wednesday; the 14th a Monday.
        {eReportSplit::eWEEK, day(2026, 12, 9), day(2026, 12, 22),
            {day(2026, 12, 9), day(2026, 12, 14), day(2026, 12, 21)}},
        {eReportSplit::eMONTH, day(2026, 12, 30), day(2027, 2, 2),
            {day(2026, 12, 30), day(2027, 1, 1), day(2027, 2, 1)}},
    };
    for (const auto& c : cases) {
        const auto parts = splitPeriod(c.from, c.to, c.split);
        std::vector<LocalMs> starts;
        for (std::size_t i = 0; i < parts.size(); ++i) {
            starts.push_back(parts[i].first);
            EXPECT_EQ(parts[i].second, i + 1 < parts.size() ? parts[i + 1].first : c.to);
        }
        EXPECT_EQ(starts, c.starts) << int(c.split);
    }
}

TEST(ReportTable, TimesCarryTheLocalOffsetAndLengthsReadOnATerminal)
{
    const ScopedEnvironment zone("TZ", "Europe/Berlin");
    tzset();
    const LocalMs summer = QDate(1899, 12, 30).daysTo(QDate(2026, 7, 1)) * c_msPerDay;
    const LocalMs winter = QDate(1899, 12, 30).daysTo(QDate(2027, 1, 15)) * c_msPerDay;
    // A process reads its zone once per day it reports: these days are this test's own.
    EXPECT_EQ(timeCell(summer + 14 * c_hour).value, "2026-07-01T14:00:00+02:00");
    EXPECT_EQ(timeCell(winter + 500).value, "2027-01-15T00:00:00.500+01:00");
    EXPECT_EQ(timeCell(winter).shown, "2027-01-15 00:00:00");
    // The day summer time begins has both offsets.
    const LocalMs change = QDate(1899, 12, 30).daysTo(QDate(2026, 3, 29)) * c_msPerDay;
    EXPECT_EQ(timeCell(change + 90 * c_minute).value, "2026-03-29T01:30:00+01:00");
    EXPECT_EQ(timeCell(change + 210 * c_minute).value, "2026-03-29T03:30:00+02:00");
    EXPECT_EQ(lengthCell(90'061'000).value, "90061");
    EXPECT_EQ(lengthCell(90'061'000).shown, "1d 01:01:01");
    EXPECT_EQ(lengthCell(1'250).value, "1.250");
}

// A monitor database in a temporary folder with records written the way the monitor writes
// them, for the command's tests.
class ReportDatabase
{
public:
    ReportDatabase() : m_directory(createMonitorDatabase(m_folder)) { }

    std::string path() const { return m_directory + "corvane.mdb"; }
    void record(const std::string& host, LocalMs minute, eHistoryRecord kind)
    {
        CDirectConnection db(path());
        db.exec("INSERT INTO Hosts (Host) SELECT '" + host
            + "' WHERE NOT EXISTS (SELECT 1 FROM Hosts WHERE Host = '" + host + "')");
        const bool up = kind == START || kind == UP;
        const bool session = kind == START || kind == STOP;
        char date[32];
        std::snprintf(date, sizeof date, "%.17g", automationDateOf(c_dec1 + minute * c_minute));
        db.exec("INSERT INTO Status (HostID, Up, Date, SessionStartStop) SELECT HostID, "
            + std::to_string(up) + ", " + date + ", " + std::to_string(session)
            + " FROM Hosts WHERE Host = '" + host + "'");
    }
    int run(std::vector<std::string> words, std::string* out, std::string* err = nullptr) const
    {
        if (std::find(words.begin(), words.end(), "--database") == words.end())
            words.insert(words.end(), {"--database", path()});
        std::ostringstream o, e;
        const int status = runCorvaneReport(words, m_folder.path() + "/", o, e);
        *out = o.str();
        if (err)
            *err = e.str();
        return status;
    }

private:
    TempFolder m_folder;
    std::string m_directory;
};

// What Python's csv module reads from the text: one line per row, the fields joined by "|".
std::string csvAsPythonReadsIt(const std::string& csv)
{
    QProcess python;
    python.start("python3",
        {"-c",
            "import csv, sys\n"
            "for row in csv.reader(sys.stdin.buffer.read().decode().splitlines(True)):\n"
            "    print('|'.join(row))\n"});
    python.write(csv.data(), qint64(csv.size()));
    python.closeWriteChannel();
    python.waitForFinished(10000);
    return python.readAllStandardOutput().toStdString();
}

TEST(CorvaneReport, TwoHostsByDayAsCsvThatPythonReadsBack)
{
    ReportDatabase db;
    // A host whose text needs quoting in CSV, and one that is down across midnight.
    const std::string odd = "odd, \"quoted\" host";
    db.record(odd, 0, START);
    db.record(odd, 0, UP);
    db.record("b.example", 0, START);
    db.record("b.example", 0, UP);
    db.record("b.example", 23 * 60, DOWN);
    db.record("b.example", 24 * 60 + 30, UP);
    db.record("b.example", 48 * 60, STOP);
    db.record(odd, 48 * 60, STOP);

    std::string csv;
    ASSERT_EQ(
        db.run({"--from", "2026-12-01", "--to", "2026-12-02", "--by", "day", "--csv"}, &csv), 0);
    EXPECT_NE(csv.find("\r\n"), std::string::npos);
    const std::string rows = csvAsPythonReadsIt(csv);
    EXPECT_NE(rows.find("host|from|to|monitored_s|down_s|availability_pct|outages|"
                        "longest_outage_s|mean_time_between_outages_s\n"),
        std::string::npos)
        << rows;
    // Hosts in order of their texts, letter case aside; each day its own row.
    const std::string from1 = timeCell(c_dec1).value;
    const std::string from2 = timeCell(c_dec1 + c_msPerDay).value;
    const std::string to2 = timeCell(c_dec1 + 2 * c_msPerDay).value;
    EXPECT_NE(rows.find("b.example|" + from1 + "|" + from2 + "|86400|3600|95.833|1|3600|82800\n"
                  + "b.example|" + from2 + "|" + to2 + "|86400|1800|97.917|0|1800|\n"
                  + "odd, \"quoted\" host|" + from1 + "|" + from2 + "|86400|0|100.000|0|0|\n"),
        std::string::npos)
        << rows;

    // A period given to the minute: the hour around midnight holds the outage's last hour and
    // a half.
    std::string hour;
    ASSERT_EQ(db.run({"--from", "2026-12-01 23:30", "--to", "2026-12-02T00:30:00", "--host",
                         "b.example", "--csv"},
                  &hour),
        0);
    EXPECT_NE(hour.find(timeCell(c_dec1 + 23 * c_hour + 30 * c_minute).value + ","
                  + timeCell(c_dec1 + 24 * c_hour + 30 * c_minute).value + ",3600,3600,0.000,0,"),
        std::string::npos)
        << hour;

    std::string outages;
    ASSERT_EQ(
        db.run({"outages", "--from", "2026-12-01", "--to", "2026-12-02", "--json"}, &outages), 0);
    EXPECT_NE(outages.find("{\"host\": \"b.example\", \"down_at\": \""
                  + timeCell(c_dec1 + 23 * c_hour).value + "\", \"up_at\": \""
                  + timeCell(c_dec1 + 24 * c_hour + 30 * c_minute).value
                  + "\", \"length_s\": 5400, \"ended_by\": \"up\"}"),
        std::string::npos)
        << outages;
}

TEST(CorvaneReport, WrongLinesAndUnreadableDatabasesSaySoInOneLine)
{
    ReportDatabase db;
    const struct
    {
        std::vector<std::string> words;
        int status;
        const char* said;
    } cases[] = {
        {{"uptime"}, 2, "no report 'uptime'"},
        {{"--by", "year"}, 2, "invalid value 'year' for option '--by'"},
        {{"--from", "2026-13-01"}, 2, "invalid time '2026-13-01'"},
        {{"--from", "2026-12-02", "--to", "2026-12-01"}, 2, "the period ends before it begins"},
        {{"--database", db.path() + ".missing"}, 1, "corvane.mdb.missing"},
    };
    for (const auto& c : cases) {
        std::string out, err;
        EXPECT_EQ(db.run(c.words, &out, &err), c.status) << c.said;
        EXPECT_NE(err.find(c.said), std::string::npos) << err;
        EXPECT_EQ(std::count(err.begin(), err.end(), '\n'), 1) << err;
    }
}

TEST(CorvaneReport, ReadsADatabaseTheMonitorIsWriting)
{
    ReportDatabase db;
    db.record("busy", -1, START);
    // The writer commits alternating up and down records for host "busy" as fast as it can.
    QProcess writer;
    const std::string directory = db.path().substr(0, db.path().size() - 11);
    writer.start(ZOR_STATUS_WRITER, {QString::fromStdString(directory), "busy"});
    ASSERT_TRUE(writer.waitForStarted());
    ASSERT_TRUE(writer.waitForReadyRead(10000));
    for (int i = 0; i < 10; ++i) {
        std::string csv, err;
        ASSERT_EQ(db.run({"outages", "--host", "BUSY", "--csv"}, &csv, &err), 0) << err;
        // Every outage but the last ended with the host's return.
        const std::string rows = csvAsPythonReadsIt(csv);
        const auto open = rows.find("|open\n");
        EXPECT_TRUE(open == std::string::npos || open + 6 == rows.size()) << rows;
        EXPECT_EQ(rows.find("|stop\n"), std::string::npos);
    }
    writer.kill();
    writer.waitForFinished();
}

} // namespace
