// zorbench_report: corvane-report on a year of history for five hosts.
//
// The database holds, for each of five hosts, from 1 December 2025 to 1 December 2026: a
// monitoring period a week (started Monday 0:00, stopped Sunday 23:59), three outages a day of
// 2 to 10 minutes, and a latency average every quarter hour: 2,400 status records and 35,040
// averages a host. Each report is made 15 times into memory as CSV; the median and the range
// are printed, with the sqlite3 shell reading the same status rows, and writing the same
// averages as CSV, as the floors a report of them cannot go below.

#include "monitor/report/reportcommand.h"

#include <QtCore/QElapsedTimer>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <sstream>
#include <string>
#include <vector>

namespace {

bool shell(const std::string& command)
{
    if (std::system(command.c_str()) != 0) {
        std::fprintf(stderr, "failed: %s\n", command.c_str());
        return false;
    }
    return true;
}

bool makeDatabase(const std::string& path)
{
    // Day 45992 is Monday 1 December 2025; 365 days.
    const std::string sql = R"(
PRAGMA journal_mode = OFF; PRAGMA synchronous = OFF; BEGIN;
INSERT INTO Hosts (Host) VALUES ('alpha.example'), ('bravo.example'), ('charlie.example'),
    ('delta.example'), ('echo.example');
WITH RECURSIVE week(w) AS (SELECT 0 UNION ALL SELECT w + 1 FROM week WHERE w < 51)
INSERT INTO Status (HostID, Up, Date, SessionStartStop)
SELECT HostID, 1, 45992 + 7 * w, 1 FROM Hosts, week
UNION ALL SELECT HostID, 1, 45992 + 7 * w + 1 / 1440.0, 0 FROM Hosts, week
UNION ALL SELECT HostID, 0, 45992 + 7 * w + 7 - 1 / 1440.0, 1 FROM Hosts, week;
WITH RECURSIVE o(i) AS (SELECT 0 UNION ALL SELECT i + 1 FROM o WHERE i < 365 * 3 - 1)
INSERT INTO Status (HostID, Up, Date, SessionStartStop)
SELECT HostID, 0, 45992 + i / 3 + (i % 3) * 0.3 + HostID * 0.01 + 0.05, 0 FROM Hosts, o
UNION ALL SELECT HostID, 1, 45992 + i / 3 + (i % 3) * 0.3 + HostID * 0.01 + 0.05
    + (2 + (i * 7 + HostID) % 9) / 1440.0, 0 FROM Hosts, o;
WITH RECURSIVE q(i) AS (SELECT 0 UNION ALL SELECT i + 1 FROM q WHERE i < 365 * 96 - 1)
INSERT INTO GraphData (HostID, Time, AvgDelay, SampleCount)
SELECT HostID, 45992 + i / 96.0, 10 + (i * 13 + HostID) % 40, 90 FROM Hosts, q;
COMMIT;)";
    std::filesystem::remove(path);
    return shell(std::string(ZOR_SQLITE3_SHELL) + " -batch -bail " + path + " < "
               + ZOR_DATABASE_SCHEMA + " > /dev/null")
        && shell(std::string(ZOR_SQLITE3_SHELL) + " -batch -bail " + path + " \"" + sql
            + "\" > /dev/null");
}

void timed(const char* what, int runs, const std::function<void()>& run)
{
    std::vector<double> times;
    for (int i = 0; i < runs; ++i) {
        QElapsedTimer timer;
        timer.start();
        run();
        times.push_back(double(timer.nsecsElapsed()) / 1e6);
    }
    std::sort(times.begin(), times.end());
    std::printf("%-44s median %8.2f ms  range %8.2f - %8.2f ms\n", what, times[times.size() / 2],
        times.front(), times.back());
}

} // namespace

int main()
{
    const std::string folder = std::filesystem::temp_directory_path() / "zorbench-report";
    std::filesystem::create_directories(folder);
    const std::string path = folder + "/corvane.mdb";
    if (!makeDatabase(path))
        return 1;
    const std::vector<std::string> period
        = {"--from", "2025-12-01", "--to", "2026-11-30", "--csv", "--database", path};
    std::size_t size = 0;
    auto report = [&](std::vector<std::string> words) {
        words.insert(words.end(), period.begin(), period.end());
        return [words, &size] {
            std::ostringstream out, err;
            if (runCorvaneReport(words, "", out, err) != 0)
                std::fprintf(stderr, "%s", err.str().c_str());
            size = out.str().size();
        };
    };
    constexpr int c_runs = 15;
    std::string floor = ZOR_SQLITE3_SHELL;
    floor += " -readonly " + path;
    floor += " 'SELECT HostID, Up, Date, SessionStartStop FROM Status ORDER BY HostID, Date'";
    floor += " > /dev/null";
    timed("sqlite3 shell: every status row (floor)", c_runs, [&] { shell(floor); });
    timed("availability, the year in one row a host", c_runs, report({"availability"}));
    std::printf("%44s %zu bytes\n", "", size);
    timed("availability --by month", c_runs, report({"availability", "--by", "month"}));
    timed("availability --by day (1,825 rows)", c_runs, report({"availability", "--by", "day"}));
    std::printf("%44s %zu bytes\n", "", size);
    timed("outages (5,475 rows)", c_runs, report({"outages"}));
    std::printf("%44s %zu bytes\n", "", size);
    std::string latencyFloor = ZOR_SQLITE3_SHELL;
    latencyFloor += " -readonly -csv " + path;
    latencyFloor += " 'SELECT HostID, Time, AvgDelay, SampleCount FROM GraphData"
                    " ORDER BY HostID, Time' > /dev/null";
    timed("sqlite3 shell: every average as CSV (floor)", 5, [&] { shell(latencyFloor); });
    timed("latency (175,200 rows)", 5, report({"latency"}));
    std::printf("%44s %zu bytes\n", "", size);
    std::filesystem::remove_all(folder);
    return 0;
}
