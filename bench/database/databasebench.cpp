// Timings of the monitor database: building the outage list of one host from 10,000 and from
// 1,000,000 status records, and compacting a database file of about 100 MB, against the
// sqlite3 shell's own VACUUM INTO on a copy of the same file.
//
// Every file lives in a folder of its own under /tmp, removed at the end. The records are made
// by the sqlite3 shell; each one is a change of availability, so every record gives a line
// and the list is as long as it can be.

#include "monitor/availability.h"
#include "monitor/monitordatabase.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <string>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

double millisecondsSince(Clock::time_point start)
{
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

// The processor time of this process so far, in ms: unlike the wall-clock time it leaves out
// the time other programs of a busy machine took.
double processorMilliseconds()
{
    timespec t {};
    ::clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) * 1e3 + static_cast<double>(t.tv_nsec) / 1e6;
}

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

// The sqlite3 shell and the schema, as texts to build commands with.
const std::string& sqliteShell()
{
    static const std::string path(ZOR_SQLITE3_SHELL);
    return path;
}

const std::string& schemaFile()
{
    static const std::string path(ZOR_DATABASE_SCHEMA);
    return path;
}

bool shell(const std::string& command)
{
    if (std::system(command.c_str()) != 0) {
        std::fprintf(stderr, "failed: %s\n", command.c_str());
        return false;
    }
    return true;
}

// A database from the schema with `rows` status records for each of `hosts` hosts, one a
// minute, alternating down and up.
bool makeDatabase(const std::string& path, long rows, int hosts)
{
    std::string sql = "PRAGMA journal_mode = OFF; PRAGMA synchronous = OFF; BEGIN;";
    for (int h = 1; h <= hosts; ++h)
        sql += "INSERT INTO Hosts (Host) VALUES ('host" + std::to_string(h) + ".example');";
    sql += "WITH RECURSIVE n(i) AS (SELECT 0 UNION ALL SELECT i + 1 FROM n WHERE i < "
        + std::to_string(rows * hosts - 1)
        + ") INSERT INTO Status (HostID, Up, Date, SessionStartStop) SELECT i % "
        + std::to_string(hosts) + " + 1, (i / " + std::to_string(hosts) + ") % 2, 37431.0 + (i / "
        + std::to_string(hosts) + ") / 1440.0, 0 FROM n; COMMIT;";
    std::filesystem::remove(path);
    return shell(sqliteShell() + " -batch -bail " + path + " < " + schemaFile() + " > /dev/null")
        && shell(sqliteShell() + " -batch -bail " + path + " \"" + sql + "\" > /dev/null");
}

void benchOutageList(const std::string& folder, long rows, int runs)
{
    if (!makeDatabase(folder + "corvane.mdb", rows, 1))
        return;
    CMonitorDatabase database;
    if (!database.open(folder))
        return;
    // The reading alone, without the lines, and then the whole list.
    std::vector<double> readTimes;
    std::vector<StatusRecord> records;
    for (int run = 0; run < runs; ++run) {
        records.clear(); // keeps its memory, so the timing is the reading's own
        const auto start = Clock::now();
        database.readHostHistory(1, records);
        readTimes.push_back(millisecondsSince(start));
    }
    std::vector<double> times;
    std::vector<double> processorTimes;
    std::size_t lines = 0;
    for (int run = 0; run < runs; ++run) {
        const auto start = Clock::now();
        const double processorStart = processorMilliseconds();
        const std::vector<std::string> list = buildOutageList(database, {true, 0}, 1);
        times.push_back(millisecondsSince(start));
        processorTimes.push_back(processorMilliseconds() - processorStart);
        lines = list.size();
    }
    std::printf("outage list, %8ld records: %9.1f ms (processor %.1f ms; median of %d; "
                "reading alone %.1f ms; %zu lines)\n",
        rows, median(times), median(processorTimes), runs, median(readTimes), lines);
}

void benchCompaction(const std::string& folder, int runs)
{
    const std::string source = folder + "source.mdb";
    // Two hosts with 1.2 million records each come to about 100 MB.
    if (!makeDatabase(source, 850000, 2))
        return;
    std::printf("compaction source: %.1f MB\n",
        static_cast<double>(std::filesystem::file_size(source)) / 1e6);
    std::vector<double> ours;
    std::vector<double> theirs;
    for (int run = 0; run < runs; ++run) {
        std::filesystem::copy_file(
            source, folder + "corvane.mdb", std::filesystem::copy_options::overwrite_existing);
        CMonitorDatabase database;
        if (!database.open(folder))
            return;
        auto start = Clock::now();
        const bool replaced = database.compact();
        ours.push_back(millisecondsSince(start));
        if (!replaced) {
            std::fprintf(stderr, "compaction failed\n");
            return;
        }
        database.close();

        std::filesystem::copy_file(
            source, folder + "copy.mdb", std::filesystem::copy_options::overwrite_existing);
        std::filesystem::remove(folder + "vacuumed.mdb");
        start = Clock::now();
        if (!shell(sqliteShell() + " " + folder + "copy.mdb \"VACUUM INTO '" + folder
                + "vacuumed.mdb'\""))
            return;
        theirs.push_back(millisecondsSince(start));
    }
    std::printf("compaction (close, compact, sync, rename, open): %.1f ms; "
                "sqlite3 shell VACUUM INTO: %.1f ms (medians of %d)\n",
        median(ours), median(theirs), runs);
}

} // namespace

// With an argument, only those timings: "outage" or "compaction".
int main(int argc, char** argv)
{
    const std::string only = argc > 1 ? argv[1] : "";
    char pattern[] = "/tmp/zorvex-bench-XXXXXX";
    if (::mkdtemp(pattern) == nullptr) {
        std::perror("mkdtemp");
        return 1;
    }
    const std::string folder = std::string(pattern) + "/";
    if (only.empty() || only == "outage") {
        benchOutageList(folder, 10000, 11);
        benchOutageList(folder, 1000000, 5);
    }
    if (only.empty() || only == "compaction")
        benchCompaction(folder, 3);
    std::filesystem::remove_all(pattern);
    return 0;
}
