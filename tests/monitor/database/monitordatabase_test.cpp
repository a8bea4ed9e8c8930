#include "monitor/graphdata.h"
#include "monitor/monitordatabase.h"

#include "framework/utilities/utilities.h"
#include "platform/ui/messagebox.h"
#include "tests/monitor/database/testdatabase.h"

#include <gtest/gtest.h>

#include <csignal>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace {

class MonitorDatabaseTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        directory = createMonitorDatabase(folder);
        ASSERT_TRUE(db.open(directory));
    }

    std::string file() const { return folder.file("corvane.mdb"); }
    std::string count(const std::string& table)
    {
        return CDirectConnection(file()).scalar("SELECT count(*) FROM " + table);
    }

    void addGraphRow(LONG hostId, const COleDateTime& time, LONG avgDelay)
    {
        CGraphData graph(&db.database());
        graph.Open(dbOpenDynaset, nullptr, dbAppendOnly);
        graph.AddNew();
        graph.m_HostID = hostId;
        graph.m_Time = time;
        graph.m_AvgDelay = avgDelay;
        graph.m_SampleCount = 1;
        graph.Update();
    }

    std::vector<std::string> boxTexts() const
    {
        std::vector<std::string> texts;
        for (const auto& box : boxes.boxes)
            texts.push_back(box.text);
        return texts;
    }

    TempFolder folder;
    std::string directory;
    CRecordingPresenter boxes;
    CMonitorDatabase db;
};

COleDateTime at(int year, int month, int day, int hour, int minute, int second)
{
    return COleDateTime(year, month, day, hour, minute, second);
}

} // namespace

TEST(DatabaseRule, CreatesTheSchemaOnceAndNeverOverwrites)
{
    TempFolder folder;
    const std::string path = folder.file("bin/corvane.mdb");
    ASSERT_TRUE(runDatabaseRule(path));
    {
        CDirectConnection direct(path);
        EXPECT_EQ(direct.rows("SELECT type || ' ' || name FROM sqlite_schema WHERE name NOT LIKE "
                              "'sqlite%' ORDER BY type, name"),
            (std::vector<std::string> {"index GraphDataHostTime", "index GraphDataTime",
                "index HostsHost", "index StatusDate", "index StatusHostHistory", "table GraphData",
                "table Hosts", "table Status", "view HostCount"}));
        // A host's history in the list's order comes from the index alone, without sorting.
        std::string plan;
        for (const std::string& step :
            direct.rows("EXPLAIN QUERY PLAN SELECT ID, HostID, Up, Date, SessionStartStop FROM "
                        "Status WHERE HostID = 1 ORDER BY Date, rowid"))
            plan += step + "\n";
        EXPECT_NE(plan.find("COVERING INDEX StatusHostHistory (HostID=?)"), std::string::npos)
            << plan;
        EXPECT_EQ(plan.find("TEMP B-TREE"), std::string::npos) << plan;
        EXPECT_EQ(direct.scalar("PRAGMA journal_mode"), "wal");
        EXPECT_EQ(direct.exec("INSERT INTO Hosts (Host) VALUES ('history')"), 0);
    }
    ASSERT_TRUE(runDatabaseRule(path));
    EXPECT_EQ(CDirectConnection(path).scalar("SELECT Host FROM Hosts"), "history");
    EXPECT_FALSE(std::filesystem::exists(path + ".creating"));
}

TEST(DatabaseRule, OpeningADatabaseOfAnEarlierBuildGivesItTheCoveringIndex)
{
    TempFolder folder;
    const std::string directory = createMonitorDatabase(folder);
    {
        CDirectConnection direct(directory + "corvane.mdb");
        ASSERT_EQ(direct.exec("DROP INDEX StatusHostHistory; CREATE INDEX StatusHostDate ON "
                              "Status (HostID, Date)"),
            0);
    }
    CMonitorDatabase db;
    ASSERT_TRUE(db.open(directory));
    db.close();
    EXPECT_EQ(CDirectConnection(directory + "corvane.mdb")
                  .rows("SELECT name FROM sqlite_schema WHERE tbl_name = 'Status' AND type = "
                        "'index' ORDER BY name"),
        (std::vector<std::string> {"StatusDate", "StatusHostHistory"}));
}

TEST_F(MonitorDatabaseTest, FirstUseAddsExactlyOneHost)
{
    EXPECT_EQ(db.findHostId("alpha.example"), -1);
    const LONG id = db.hostId("alpha.example");
    EXPECT_GT(id, 0);
    EXPECT_EQ(count("Hosts"), "1");
    EXPECT_EQ(db.hostId("alpha.example"), id);
    EXPECT_EQ(db.findHostId("alpha.example"), id);
    EXPECT_EQ(count("Hosts"), "1");
    EXPECT_NE(db.hostId("beta.example"), id);
    EXPECT_TRUE(boxes.boxes.empty());
}

TEST_F(MonitorDatabaseTest, LetterCaseNamesOneHost)
{
    const LONG id = db.hostId("Alpha.Example");
    EXPECT_EQ(db.hostId("ALPHA.example"), id);
    EXPECT_EQ(db.findHostId("alpha.EXAMPLE"), id);
    EXPECT_EQ(CDirectConnection(file()).rows("SELECT Host FROM Hosts"),
        std::vector<std::string> {"Alpha.Example"});
}

TEST_F(MonitorDatabaseTest, EmptyHostTextTouchesNothing)
{
    db.close();
    EXPECT_EQ(db.hostId(""), -1);
    EXPECT_TRUE(boxes.boxes.empty());
}

// Host texts with quotes of either kind work in every operation.
class HostQuotes : public MonitorDatabaseTest, public ::testing::WithParamInterface<const char*>
{
};

TEST_P(HostQuotes, WorkEverywhere)
{
    const std::string host = GetParam();
    const LONG id = db.hostId(host);
    ASSERT_GT(id, 0);
    EXPECT_EQ(db.findHostId(host), id);
    EXPECT_TRUE(db.appendStatus(id, false, false, at(2002, 6, 24, 10, 0, 0)));
    std::vector<HostRow> hosts;
    EXPECT_TRUE(db.listHosts(hosts));
    ASSERT_EQ(hosts.size(), 1u);
    EXPECT_EQ(hosts[0].host, host);
    std::vector<StatusRecord> history;
    EXPECT_TRUE(db.readHostHistory(id, history));
    EXPECT_EQ(history.size(), 1u);
    EXPECT_TRUE(db.deleteHost(host));
    EXPECT_EQ(count("Hosts"), "0");
    EXPECT_EQ(count("Status"), "0");
    EXPECT_TRUE(boxes.boxes.empty()) << boxes.boxes.front().text;
}

INSTANTIATE_TEST_SUITE_P(Texts, HostQuotes,
    ::testing::Values(
        "o'brien.example", "say\"hi\".example", "both'and\".example", "'; DROP TABLE Hosts; --"));

TEST_F(MonitorDatabaseTest, EngineErrorIsShownAndGivesMinusOne)
{
    const LONG id = db.hostId(std::string(256, 'h'));
    EXPECT_EQ(id, -1);
    ASSERT_EQ(boxes.boxes.size(), 1u);
    EXPECT_EQ(boxes.boxes[0].text.rfind("Database Error: CHECK constraint failed", 0), 0u)
        << boxes.boxes[0].text;
    EXPECT_EQ(boxes.boxes[0].type, MB_OK);
    EXPECT_EQ(count("Hosts"), "0");
    // The operation was abandoned, the database goes on.
    EXPECT_GT(db.hostId(std::string(255, 'h')), 0);
}

TEST_F(MonitorDatabaseTest, MissingTableIsShownAsDatabaseError)
{
    CDirectConnection(file()).exec("DROP TABLE Status");
    std::vector<StatusRecord> history;
    EXPECT_FALSE(db.readHostHistory(1, history));
    EXPECT_FALSE(db.appendStatus(1, true, true, COleDateTime::GetCurrentTime()));
    EXPECT_EQ(boxTexts(),
        (std::vector<std::string> {
            "Database Error: no such table: Status", "Database Error: no such table: Status"}));
}

TEST_F(MonitorDatabaseTest, HistoryIsReadInOrderOfDate)
{
    const LONG id = db.hostId("alpha");
    const LONG other = db.hostId("beta");
    db.appendStatus(id, true, false, at(2002, 6, 24, 12, 0, 0));
    db.appendStatus(other, false, false, at(2002, 6, 24, 11, 0, 0));
    db.appendStatus(id, false, true, at(2002, 6, 24, 10, 0, 0));
    db.appendStatus(id, false, false, at(2002, 6, 24, 11, 30, 0));
    std::vector<StatusRecord> history;
    ASSERT_TRUE(db.readHostHistory(id, history));
    ASSERT_EQ(history.size(), 3u);
    EXPECT_EQ(history[0].date, at(2002, 6, 24, 10, 0, 0));
    EXPECT_TRUE(history[0].sessionStartStop);
    EXPECT_FALSE(history[0].up);
    EXPECT_EQ(history[1].date, at(2002, 6, 24, 11, 30, 0));
    EXPECT_FALSE(history[1].sessionStartStop);
    EXPECT_EQ(history[2].date, at(2002, 6, 24, 12, 0, 0));
    EXPECT_TRUE(history[2].up);
}

TEST_F(MonitorDatabaseTest, ListHostsInOrderOfTextOrJustOne)
{
    db.hostId("charlie");
    const LONG alpha = db.hostId("Alpha");
    db.hostId("bravo");
    std::vector<HostRow> hosts;
    ASSERT_TRUE(db.listHosts(hosts));
    ASSERT_EQ(hosts.size(), 3u);
    EXPECT_EQ(hosts[0].host, "Alpha");
    EXPECT_EQ(hosts[1].host, "bravo");
    EXPECT_EQ(hosts[2].host, "charlie");
    hosts.clear();
    ASSERT_TRUE(db.listHosts(hosts, alpha));
    ASSERT_EQ(hosts.size(), 1u);
    EXPECT_EQ(hosts[0].hostId, alpha);
}

TEST_F(MonitorDatabaseTest, DeleteHostLeavesGraphDataAndRetypingGivesANewId)
{
    const LONG id = db.hostId("alpha");
    const LONG other = db.hostId("beta");
    for (int i = 0; i < 10; ++i) {
        db.appendStatus(id, i % 2 == 0, false, at(2002, 6, 24, 10, i, 0));
        db.appendStatus(other, true, false, at(2002, 6, 24, 10, i, 0));
    }
    addGraphRow(id, at(2002, 6, 24, 10, 0, 0), 12);
    addGraphRow(id, at(2002, 6, 24, 10, 15, 0), 14);

    EXPECT_TRUE(db.deleteHost("ALPHA"));
    EXPECT_EQ(db.findHostId("alpha"), -1);
    EXPECT_EQ(count("Status WHERE HostID = " + std::to_string(id)), "0");
    EXPECT_EQ(count("Status WHERE HostID = " + std::to_string(other)), "10");
    EXPECT_EQ(count("GraphData"), "2");

    const LONG again = db.hostId("alpha");
    EXPECT_NE(again, id);
    std::vector<GraphRow> rows;
    ASSERT_TRUE(db.readGraphRows(again, at(2002, 6, 24, 0, 0, 0), at(2002, 6, 25, 0, 0, 0), rows));
    EXPECT_TRUE(rows.empty());
    ASSERT_TRUE(db.readGraphRows(id, at(2002, 6, 24, 0, 0, 0), at(2002, 6, 25, 0, 0, 0), rows));
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[0].avgDelay, 12);
    EXPECT_EQ(rows[1].time, at(2002, 6, 24, 10, 15, 0));
    EXPECT_TRUE(boxes.boxes.empty());
}

TEST_F(MonitorDatabaseTest, PurgeWithFutureDateRemovesEverything)
{
    const LONG id = db.hostId("alpha");
    db.hostId("never.probed");
    const COleDateTime now = COleDateTime::GetCurrentTime();
    db.appendStatus(id, true, true, now);
    db.appendStatus(id, false, false, now - COleDateTimeSpan(30, 0, 0, 0));
    addGraphRow(id, now, 5);
    EXPECT_TRUE(db.purge(now + COleDateTimeSpan(1, 0, 0, 0)));
    EXPECT_EQ(count("Status"), "0");
    EXPECT_EQ(count("GraphData"), "0");
    EXPECT_EQ(count("Hosts"), "0");
    EXPECT_TRUE(boxes.boxes.empty());
}

TEST_F(MonitorDatabaseTest, PurgeWithDefaultDateKeepsTheLastSevenDaysFromMidnight)
{
    const COleDateTime now = COleDateTime::GetCurrentTime();
    const COleDateTime picked = now - COleDateTimeSpan(7, 0, 0, 0); // the dialog's default
    const COleDateTime midnight = dateOnly(picked);
    const LONG old = db.hostId("old.example");
    const LONG kept = db.hostId("kept.example");
    db.appendStatus(old, true, true, midnight - COleDateTimeSpan(0, 0, 0, 1));
    db.appendStatus(kept, true, true, midnight - COleDateTimeSpan(3, 0, 0, 0));
    db.appendStatus(kept, false, false, midnight);
    db.appendStatus(kept, true, false, now);
    addGraphRow(kept, midnight - COleDateTimeSpan(0, 0, 15, 0), 7);
    addGraphRow(kept, midnight, 8);

    EXPECT_TRUE(db.purge(picked));
    std::vector<StatusRecord> history;
    ASSERT_TRUE(db.readHostHistory(kept, history));
    ASSERT_EQ(history.size(), 2u);
    EXPECT_EQ(history[0].date, midnight);
    EXPECT_EQ(history[1].date, now);
    std::vector<GraphRow> rows;
    ASSERT_TRUE(db.readGraphRows(kept, midnight - COleDateTimeSpan(1, 0, 0, 0), now, rows));
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0].avgDelay, 8);
    EXPECT_EQ(db.findHostId("old.example"), -1);
    EXPECT_EQ(db.findHostId("kept.example"), kept);
}

TEST_F(MonitorDatabaseTest, PurgeErrorWhileRemovingHostsStillFinishes)
{
    const LONG id = db.hostId("alpha");
    db.appendStatus(id, true, true, at(2002, 6, 24, 10, 0, 0));
    CDirectConnection(file()).exec("DROP VIEW HostCount");
    EXPECT_TRUE(db.purge(at(2002, 7, 1, 0, 0, 0)));
    EXPECT_EQ(boxTexts(), std::vector<std::string> {"Database Error: no such table: HostCount"});
    EXPECT_EQ(count("Status"), "0");
    EXPECT_EQ(count("Hosts"), "1");
}

TEST_F(MonitorDatabaseTest, PurgeErrorInTheHistoryEndsThePurge)
{
    const LONG id = db.hostId("alpha");
    addGraphRow(id, at(2002, 6, 24, 10, 0, 0), 5);
    CDirectConnection(file()).exec("DROP TABLE Status");
    EXPECT_FALSE(db.purge(at(2002, 7, 1, 0, 0, 0)));
    EXPECT_EQ(boxTexts(), std::vector<std::string> {"Database Error: no such table: Status"});
    EXPECT_EQ(count("GraphData"), "1");
    EXPECT_EQ(count("Hosts"), "1");
}

TEST_F(MonitorDatabaseTest, CompactionKeepsEveryRowAndShrinksTheFile)
{
    const LONG id = db.hostId("alpha");
    const LONG bulk = db.hostId("bulk");
    db.database().BeginTrans();
    for (int i = 0; i < 20000; ++i) {
        const COleDateTime date = at(2002, 6, 24, 0, 0, 0) + COleDateTimeSpan(0, 0, 0, i * 10);
        db.appendStatus(i % 1000 == 0 ? id : bulk, i % 2 == 0, false, date);
    }
    db.database().CommitTrans();
    addGraphRow(id, at(2002, 6, 25, 0, 0, 0), 9);
    ASSERT_TRUE(db.deleteHost("bulk"));
    const auto before = CDirectConnection(file()).rows("SELECT * FROM Status ORDER BY ID");
    db.close();
    const auto sizeBefore = std::filesystem::file_size(file());
    ASSERT_TRUE(db.open(directory));

    EXPECT_TRUE(db.compact());
    EXPECT_TRUE(db.isOpen());
    EXPECT_FALSE(std::filesystem::exists(folder.file("new.mdb")));
    EXPECT_LT(std::filesystem::file_size(file()) * 4, sizeBefore);
    CDirectConnection direct(file());
    EXPECT_EQ(direct.rows("SELECT * FROM Status ORDER BY ID"), before);
    EXPECT_EQ(direct.scalar("SELECT count(*) FROM GraphData"), "1");
    EXPECT_EQ(direct.scalar("PRAGMA integrity_check"), "ok");
    EXPECT_EQ(direct.scalar("PRAGMA journal_mode"), "wal");
    EXPECT_EQ(db.hostId("alpha"), id);
    EXPECT_TRUE(boxes.boxes.empty());
}

// Compaction that cannot be done leaves the database as it was, removes the scratch file
// and opens the database again, all without a message.
TEST_F(MonitorDatabaseTest, CompactionFailureNeverLosesTheDatabase)
{
    const LONG id = db.hostId("alpha");
    db.appendStatus(id, true, true, at(2002, 6, 24, 10, 0, 0));
    {
        // Another program has the file open, so it cannot be compacted.
        CDirectConnection reader(file());
        EXPECT_EQ(reader.scalar("SELECT count(*) FROM Status"), "1");
        EXPECT_FALSE(db.compact());
    }
    EXPECT_FALSE(std::filesystem::exists(folder.file("new.mdb")));
    EXPECT_TRUE(db.isOpen());
    EXPECT_EQ(db.findHostId("alpha"), id);
    EXPECT_EQ(count("Status"), "1");
    EXPECT_TRUE(boxes.boxes.empty());
}

TEST_F(MonitorDatabaseTest, CompactionThatCannotWriteTheCopyLeavesTheDatabase)
{
    const LONG id = db.hostId("alpha");
    db.appendStatus(id, true, true, at(2002, 6, 24, 10, 0, 0));
    std::filesystem::create_directories(folder.file("new.mdb/in-the-way"));
    EXPECT_FALSE(db.compact());
    EXPECT_TRUE(db.isOpen());
    EXPECT_EQ(count("Status"), "1");
    EXPECT_EQ(CDirectConnection(file()).scalar("PRAGMA integrity_check"), "ok");
    EXPECT_TRUE(boxes.boxes.empty());
}

TEST_F(MonitorDatabaseTest, CompactionReplacesAStaleScratchFile)
{
    std::ofstream(folder.file("new.mdb")) << "left over from an earlier run";
    const LONG id = db.hostId("alpha");
    EXPECT_TRUE(db.compact());
    EXPECT_EQ(db.findHostId("alpha"), id);
    EXPECT_FALSE(std::filesystem::exists(folder.file("new.mdb")));
}

TEST_F(MonitorDatabaseTest, OtherProgramsReadWhileTheMonitorRuns)
{
    const LONG id = db.hostId("alpha");
    db.appendStatus(id, true, true, at(2002, 6, 24, 10, 0, 0));
    db.appendStatus(id, false, false, at(2002, 6, 24, 10, 5, 0));
    // The sqlite3 shell is another program; the monitor keeps its database open meanwhile.
    const std::string command = std::string(ZOR_SQLITE3_SHELL) + " -readonly " + file()
        + " 'SELECT count(*), sum(Up) FROM Status'";
    FILE* pipe = ::popen(command.c_str(), "r");
    ASSERT_NE(pipe, nullptr);
    char line[64] = {};
    const bool read = std::fgets(line, sizeof line, pipe) != nullptr;
    EXPECT_EQ(::pclose(pipe), 0);
    ASSERT_TRUE(read);
    EXPECT_STREQ(line, "2|1\n");
    EXPECT_TRUE(db.appendStatus(id, true, false, at(2002, 6, 24, 10, 9, 0)));
}

namespace {

// Starts the writer with its standard output on a pipe; gives its process id and the pipe's
// reading end.
pid_t startWriter(const std::string& directory, int& output)
{
    int fds[2];
    EXPECT_EQ(::pipe(fds), 0);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, fds[1], STDOUT_FILENO);
    posix_spawn_file_actions_addclose(&actions, fds[0]);
    std::vector<char*> argv {const_cast<char*>(ZOR_STATUS_WRITER),
        const_cast<char*>(directory.c_str()), const_cast<char*>("burst.example"), nullptr};
    pid_t pid = 0;
    EXPECT_EQ(posix_spawn(&pid, ZOR_STATUS_WRITER, &actions, nullptr, argv.data(), environ), 0);
    posix_spawn_file_actions_destroy(&actions);
    ::close(fds[1]);
    output = fds[0];
    return pid;
}

// Reads whole lines from the writer; gives the last number reported, or -1 at the end.
class CLineReader
{
public:
    explicit CLineReader(int fd) : m_fd(fd) { }
    long next()
    {
        for (;;) {
            const auto newline = m_buffer.find('\n');
            if (newline != std::string::npos) {
                const long n = std::stol(m_buffer.substr(0, newline));
                m_buffer.erase(0, newline + 1);
                return n;
            }
            char chunk[256];
            const ssize_t got = ::read(m_fd, chunk, sizeof chunk);
            if (got <= 0)
                return -1;
            m_buffer.append(chunk, static_cast<std::size_t>(got));
        }
    }

private:
    int m_fd;
    std::string m_buffer;
};

} // namespace

// A writer killed at any moment of a burst of appends loses at most the record it was
// writing, and the file stays whole.
TEST(StatusDurability, KilledWriterLosesAtMostTheRecordBeingWritten)
{
    TempFolder folder;
    const std::string directory = createMonitorDatabase(folder);
    const std::string file = folder.file("corvane.mdb");
    long total = 0;
    for (long burst : {1, 37, 150, 400}) {
        int output = -1;
        const pid_t pid = startWriter(directory, output);
        CLineReader reader(output);
        long reported = 0;
        while (reported < burst) {
            const long n = reader.next();
            ASSERT_GT(n, 0) << "the writer stopped on its own";
            reported = n;
        }
        ASSERT_EQ(::kill(pid, SIGKILL), 0);
        int status = 0;
        ASSERT_EQ(::waitpid(pid, &status, 0), pid);
        EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL);
        for (long n; (n = reader.next()) > 0;)
            reported = n;
        ::close(output);

        CDirectConnection direct(file);
        EXPECT_EQ(direct.scalar("PRAGMA integrity_check"), "ok");
        const long rows = std::stol(direct.scalar("SELECT count(*) FROM Status"));
        EXPECT_GE(rows, total + reported);
        EXPECT_LE(rows, total + reported + 1);
        EXPECT_EQ(direct.scalar("SELECT count(*) FROM Hosts"), "1");
        total = rows;
    }
}
