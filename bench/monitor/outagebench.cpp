// Timings of the outage list, which the main window refills on its own thread after every change
// of state, from two databases made afresh in a temporary folder:
//
// - a year of realistic history: five hosts with a thousand outages each, in monitoring periods
//   of one to six days with their start, stop and first-probe records (target under 20 ms);
// - a million status rows: five hosts, each going down or up once a minute (target under
//   300 ms).
//
// For each: the reading of the records through the record sets (the hosts, then every host's
// history, as the list reads them), the same reading by a plain prepared-statement loop over
// the same queries on a connection of its own (the baseline the record sets are measured
// against), the whole list (buildOutageList for every host, start and stop lines shown and no
// shortest outage, so every record that can give a line gives one), and putting the list into
// the main window's outage list box (ReplaceContent, then the layout and one paint, offscreen).
// The runs are interleaved, so a busy moment of the shared machine falls on all of them alike;
// each figure is given as the range over the runs with the median.
//
// The million-row database is then measured once more with the indexes of a database made
// before the covering index of the history existed, and the time to bring it to the present
// indexes is taken.
//
// Run by hand: build/bench/zorbench_outagelist [runs of the million rows, default 5] [part].
// With a part ("plain", "recordsets", "list" or "fill") only that part runs, that many times
// on the million rows, for a profiler (perf record ... zorbench_outagelist 20 recordsets).

#include "monitor/availability.h"
#include "monitor/monitordatabase.h"
#include "platform/ui/controls.h"
#include "platform/ui/dialog.h"
#include "platform/ui/dialogtemplate.h"

#include <QtCore/QCoreApplication>
#include <QtWidgets/QApplication>
#include <QtWidgets/QWidget>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <sqlite3.h>
#include <sstream>
#include <string>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

double millisecondsSince(Clock::time_point start)
{
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

class Timings
{
public:
    void add(double ms) { m_ms.push_back(ms); }
    bool empty() const { return m_ms.empty(); }
    std::string text() const
    {
        std::vector<double> sorted = m_ms;
        std::sort(sorted.begin(), sorted.end());
        char buffer[96];
        std::snprintf(buffer, sizeof buffer, "%8.1f - %8.1f ms (median %8.1f)", sorted.front(),
            sorted.back(), sorted[sorted.size() / 2]);
        return buffer;
    }

private:
    std::vector<double> m_ms;
};

struct Row
{
    int host; // 1-based, the Hosts row's id
    bool up;
    double date;
    bool startStop;
};

constexpr int c_hosts = 5;
constexpr double c_second = 1.0 / 86400.0;

double wholeSeconds(double date)
{
    return std::round(date * 86400.0) / 86400.0;
}

// Per host, monitoring periods of one to six days: a start, the first probe finding the host
// up, outages at random moments (most of seconds or minutes, some of hours, a few longer than a
// day), and a stop; a few hours without monitoring between periods. Every host gets exactly
// `outages` outages. The rows of all hosts are written in the order of their dates, as the
// monitor writes them.
std::vector<Row> yearOfHistory(int outages)
{
    std::mt19937 random(2002);
    std::uniform_real_distribution<double> uniform(0.0, 1.0);
    std::exponential_distribution<double> nextOutage(1.0 / (8.0 / 24.0)); // every 8 hours
    std::vector<Row> rows;
    const double yearStart = COleDateTime(2023, 1, 1, 0, 0, 0).m_dt;
    for (int host = 1; host <= c_hosts; ++host) {
        double t = yearStart + uniform(random) / 24.0;
        int made = 0;
        while (made < outages) {
            t = wholeSeconds(t);
            rows.push_back({host, true, t, true});
            t = wholeSeconds(t + 10 * c_second);
            rows.push_back({host, true, t, false});
            const double end = t + 1.0 + 5.0 * uniform(random);
            for (;;) {
                t += nextOutage(random);
                if (t >= end || made == outages)
                    break;
                const double kind = uniform(random);
                double length = 0;
                if (kind < 0.70)
                    length = (10 + 290 * uniform(random)) * c_second; // 10 s to 5 min
                else if (kind < 0.95)
                    length = (300 + 10500 * uniform(random)) * c_second; // to 3 h
                else
                    length = (3 + 27 * uniform(random)) / 24.0; // to 30 h
                t = wholeSeconds(t);
                rows.push_back({host, false, t, false});
                t = wholeSeconds(t + length);
                rows.push_back({host, true, t, false});
                ++made;
            }
            t = wholeSeconds(std::max(t, end));
            rows.push_back({host, false, t, true});
            t += 12.0 / 24.0 * uniform(random);
        }
    }
    std::stable_sort(
        rows.begin(), rows.end(), [](const Row& a, const Row& b) { return a.date < b.date; });
    return rows;
}

// A million rows: each host goes down or up once a minute, the hosts' rows interleaved.
std::vector<Row> millionRows()
{
    const double start = COleDateTime(2023, 1, 1, 0, 0, 0).m_dt;
    std::vector<Row> rows;
    rows.reserve(1000000);
    for (int i = 0; i < 1000000; ++i) {
        const int minute = i / c_hosts;
        rows.push_back({i % c_hosts + 1, minute % 2 == 1, start + minute / 1440.0, false});
    }
    return rows;
}

bool check(sqlite3* db, int rc, const char* what)
{
    if (rc == SQLITE_OK || rc == SQLITE_DONE || rc == SQLITE_ROW)
        return true;
    std::fprintf(stderr, "%s: %s\n", what, sqlite3_errmsg(db));
    return false;
}

// The database file "corvane.mdb" in the folder, from the schema, with the hosts and rows
// written in one transaction.
bool makeDatabase(const std::string& folder, const std::vector<Row>& rows)
{
    std::ifstream schemaFile(ZOR_DATABASE_SCHEMA);
    std::stringstream schema;
    schema << schemaFile.rdbuf();
    std::filesystem::create_directories(folder);
    sqlite3* db = nullptr;
    const std::string path = folder + "corvane.mdb";
    std::filesystem::remove(path);
    bool ok = check(db,
        sqlite3_open_v2(path.c_str(), &db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr),
        "open");
    ok = ok
        && check(db, sqlite3_exec(db, schema.str().c_str(), nullptr, nullptr, nullptr), "schema");
    ok = ok && check(db, sqlite3_exec(db, "BEGIN", nullptr, nullptr, nullptr), "begin");
    sqlite3_stmt* host = nullptr;
    sqlite3_stmt* status = nullptr;
    ok = ok
        && check(db,
            sqlite3_prepare_v2(db, "INSERT INTO Hosts (Host) VALUES (?)", -1, &host, nullptr),
            "hosts");
    ok = ok
        && check(db,
            sqlite3_prepare_v2(db,
                "INSERT INTO Status (HostID, Up, Date, SessionStartStop) VALUES (?, ?, ?, ?)", -1,
                &status, nullptr),
            "status");
    // Named out of the order of their ids, so the list's order by name is its own.
    const char* const names[c_hosts]
        = {"mail.example", "files.example", "www.example", "backup.example", "router.example"};
    for (int h = 0; ok && h < c_hosts; ++h) {
        sqlite3_bind_text(host, 1, names[h], -1, SQLITE_STATIC);
        ok = check(db, sqlite3_step(host), "host row");
        sqlite3_reset(host);
    }
    for (std::size_t i = 0; ok && i < rows.size(); ++i) {
        sqlite3_bind_int(status, 1, rows[i].host);
        sqlite3_bind_int(status, 2, rows[i].up ? 1 : 0);
        sqlite3_bind_double(status, 3, rows[i].date);
        sqlite3_bind_int(status, 4, rows[i].startStop ? 1 : 0);
        ok = check(db, sqlite3_step(status), "status row");
        sqlite3_reset(status);
    }
    sqlite3_finalize(host);
    sqlite3_finalize(status);
    ok = ok && check(db, sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr), "commit");
    sqlite3_close_v2(db);
    return ok;
}

// The reading the outage list does, as a plain statement loop on a connection of its own: the
// hosts in the order of their text, then each host's rows in the order of their date.
class PlainReader
{
public:
    explicit PlainReader(const std::string& path)
    {
        // As the record sets' database opens its file: one thread, no lock of its own.
        sqlite3_open_v2(path.c_str(), &m_db, SQLITE_OPEN_READONLY | SQLITE_OPEN_NOMUTEX, nullptr);
    }
    ~PlainReader() { sqlite3_close_v2(m_db); }

    std::size_t read()
    {
        sqlite3_stmt* hosts = nullptr;
        sqlite3_stmt* status = nullptr;
        sqlite3_prepare_v2(
            m_db, "SELECT HostID, Host FROM Hosts ORDER BY Host, rowid", -1, &hosts, nullptr);
        sqlite3_prepare_v2(m_db,
            "SELECT ID, HostID, Up, Date, SessionStartStop FROM Status WHERE HostID = ? "
            "ORDER BY Date, rowid",
            -1, &status, nullptr);
        std::vector<HostRow> hostRows;
        while (sqlite3_step(hosts) == SQLITE_ROW) {
            const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(hosts, 1));
            hostRows.push_back({sqlite3_column_int(hosts, 0), text ? text : ""});
        }
        std::size_t total = 0;
        for (const HostRow& host : hostRows) {
            m_records.clear();
            sqlite3_bind_int(status, 1, host.hostId);
            // Every column of the row, as the record set loads its five fields.
            while (sqlite3_step(status) == SQLITE_ROW) {
                m_idSum += sqlite3_column_int(status, 0) + sqlite3_column_int(status, 1);
                m_records.push_back({COleDateTime(sqlite3_column_double(status, 3)),
                    sqlite3_column_int(status, 2) != 0, sqlite3_column_int(status, 4) != 0});
            }
            sqlite3_reset(status);
            total += m_records.size();
        }
        sqlite3_finalize(hosts);
        sqlite3_finalize(status);
        return total;
    }

private:
    sqlite3* m_db {nullptr};
    std::vector<StatusRecord> m_records;
    // Kept so that the reading of the two columns the list does not use is not left out.
    long long m_idSum {0};
};

// The same reading through the record sets of the monitor database.
std::size_t readThroughRecordSets(CMonitorDatabase& database, std::vector<StatusRecord>& records)
{
    std::vector<HostRow> hosts;
    database.listHosts(hosts);
    std::size_t total = 0;
    for (const HostRow& host : hosts) {
        records.clear();
        database.readHostHistory(host.hostId, records);
        total += records.size();
    }
    return total;
}

// The main window's outage list box, shown offscreen.
class OutageListBox
{
public:
    OutageListBox()
    {
        m_template.caption = "Outages";
        m_template.cx = 520;
        m_template.cy = 160;
        m_template.style = DS_MODALFRAME | WS_POPUP | WS_CAPTION | WS_SYSMENU;
        m_template.items = {
            {eDLG_LISTBOX, 1002, "", 317, 72, 183, 75, LBS_NOSEL | LBS_USETABSTOPS | WS_VSCROLL}};
        m_dialog.CreateIndirect(m_template);
        m_list = static_cast<CListBox*>(m_dialog.GetDlgItem(1002));
        m_list->SetTabStops(100);
        m_dialog.ShowWindow(SW_SHOW);
        QCoreApplication::processEvents();
    }

    // Fills the list, lets it lay out its lines and paints it once.
    void fill(std::vector<std::string> lines)
    {
        m_list->ReplaceContent(std::move(lines));
        QCoreApplication::processEvents();
        m_list->widget()->repaint();
    }
    CListBox& list() { return *m_list; }

private:
    DialogTemplate m_template;
    CDialog m_dialog;
    CListBox* m_list {nullptr};
};

void measure(const char* title, const std::string& folder, int runs, OutageListBox& box,
    const std::string& only = {})
{
    const auto runs_ = [&](const char* part) { return only.empty() || only == part; };
    CMonitorDatabase database;
    if (!database.open(folder)) {
        std::fprintf(stderr, "cannot open %s\n", folder.c_str());
        return;
    }
    PlainReader plain(folder + "corvane.mdb");
    Timings plainTimes;
    Timings recordSetTimes;
    Timings listTimes;
    Timings fillTimes;
    std::size_t plainRows = 0;
    std::size_t setRows = 0;
    std::size_t lines = 0;
    std::vector<StatusRecord> records;
    for (int run = 0; run < runs; ++run) {
        auto start = Clock::now();
        if (runs_("plain")) {
            plainRows = plain.read();
            plainTimes.add(millisecondsSince(start));
        }
        if (runs_("recordsets")) {
            start = Clock::now();
            setRows = readThroughRecordSets(database, records);
            recordSetTimes.add(millisecondsSince(start));
        }
        if (runs_("list") || runs_("fill")) {
            start = Clock::now();
            std::vector<std::string> list = buildOutageList(database, {true, 0});
            listTimes.add(millisecondsSince(start));
            lines = list.size();
            if (runs_("fill")) {
                start = Clock::now();
                box.fill(std::move(list));
                fillTimes.add(millisecondsSince(start));
            }
        }
    }
    std::printf("%s (%d runs)\n", title, runs);
    if (!plainTimes.empty())
        std::printf("  plain statement loop  %s  %zu rows\n", plainTimes.text().c_str(), plainRows);
    if (!recordSetTimes.empty())
        std::printf(
            "  record sets           %s  %zu rows\n", recordSetTimes.text().c_str(), setRows);
    if (!listTimes.empty())
        std::printf("  buildOutageList       %s  %zu lines\n", listTimes.text().c_str(), lines);
    if (!fillTimes.empty()) {
        std::string last;
        box.list().GetText(box.list().GetCount() - 1, last);
        std::printf("  list box fill         %s  %d lines, the last \"%s\"\n",
            fillTimes.text().c_str(), box.list().GetCount(), last.c_str());
    }
}

// What brings a database made before the covering index to the present schema.
const char* const c_addHistoryIndex
    = "CREATE INDEX IF NOT EXISTS StatusHostHistory ON Status "
      "(HostID, Date, ID, Up, SessionStartStop); DROP INDEX IF EXISTS StatusHostDate";

bool execute(const std::string& path, const char* sql, double* ms = nullptr)
{
    sqlite3* db = nullptr;
    sqlite3_open_v2(path.c_str(), &db, SQLITE_OPEN_READWRITE, nullptr);
    const auto start = Clock::now();
    const bool ok = check(db, sqlite3_exec(db, sql, nullptr, nullptr, nullptr), sql);
    if (ms)
        *ms = millisecondsSince(start);
    sqlite3_close_v2(db);
    return ok;
}

bool runAll(
    const std::string& year, const std::string& million, int millionRuns, OutageListBox& box)
{
    auto start = Clock::now();
    if (!makeDatabase(year, yearOfHistory(1000)))
        return false;
    std::printf("year database made in %.0f ms\n", millisecondsSince(start));
    measure("a year, five hosts, 1000 outages each", year, 20, box);

    start = Clock::now();
    if (!makeDatabase(million, millionRows()))
        return false;
    std::printf("million-row database made in %.0f ms\n", millisecondsSince(start));
    measure("a million status rows", million, millionRuns, box);
    // The same file as a database made before the covering index (with StatusHostDate in its
    // place): what an existing user's file reads like until it gets the index, and how long
    // bringing it to the present schema takes.
    const std::string file = million + "corvane.mdb";
    if (!execute(file,
            "DROP INDEX StatusHostHistory; CREATE INDEX StatusHostDate ON Status (HostID, Date)"))
        return false;
    measure("a million status rows, indexes of an existing database", million, millionRuns, box);
    double ms = 0;
    if (!execute(file, c_addHistoryIndex, &ms))
        return false;
    std::printf("bringing that database to the present indexes: %.0f ms\n", ms);
    return true;
}

} // namespace

int main(int argc, char** argv)
{
    const int millionRuns = argc > 1 ? std::max(1, std::atoi(argv[1])) : 5;
    const std::string only = argc > 2 ? argv[2] : "";
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);

    char pattern[] = "/tmp/zorvex-outagebench-XXXXXX";
    if (::mkdtemp(pattern) == nullptr) {
        std::perror("mkdtemp");
        return 1;
    }
    const std::string root = std::string(pattern) + "/";
    const std::string year = root + "year/";
    const std::string million = root + "million/";
    bool made = true;
    {
        OutageListBox box;
        if (!only.empty()) {
            made = makeDatabase(million, millionRows());
            if (made)
                measure(only.c_str(), million, millionRuns, box, only);
        } else {
            made = runAll(year, million, millionRuns, box);
        }
    }
    std::filesystem::remove_all(pattern);
    return made ? 0 : 1;
}
