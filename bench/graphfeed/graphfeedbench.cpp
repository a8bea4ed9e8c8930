// graphfeedbench: how long the graph takes to be rebuilt from the database. A database holding
// a year of quarter-hour averages for five hosts (35,040 rows a host), the graph of the
// main window created by class id from the registered module and shown offscreen, five slots
// on those hosts and a five-day window; then the replot of all five plots, again and again.
// Target: under 20 ms for the five.
//
// Printed per measure, over the runs: the fastest, the median and the slowest wall-clock time,
// and the median processor time of this process (which leaves out what other programs of a
// busy machine took). Besides the whole replot: the reading of the rows alone, and the same
// points put into the graph without the database.
//
// The database and the settings store live in temporary folders, removed at the end; the
// clock is fixed so that every run sees the same window. Run by hand:
// build/bench/zorbench_graphfeed [runs].

#include "monitor/graphfeed.h"

#include "platform/module/module.h"
#include "platform/ole/factory.h"
#include "platform/ole/oleinit.h"
#include "platform/types/clock.h"
#include "platform/ui/winapp.h"
#include "platform/ui/window.h"

#include <QtCore/QTemporaryDir>
#include <QtWidgets/QApplication>

#include <sqlite3.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <fstream>
#include <functional>
#include <sstream>
#include <string>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

constexpr int c_hosts = 5;
constexpr int c_days = 365;
constexpr int c_span = 5;
constexpr DWORD c_colors[c_hosts] = {0x0000FF, 0x00FF00, 0xFF0000, 0x800080, 0x808000};

std::string hostName(int slot)
{
    return "host" + std::to_string(slot + 1) + ".test";
}

double processorMilliseconds()
{
    timespec t {};
    ::clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) * 1e3 + static_cast<double>(t.tv_nsec) / 1e6;
}

// The schema, then every host's averages for the year before `end`, in one transaction.
bool makeDatabase(const std::string& path, const COleDateTime& end)
{
    std::ifstream schemaFile(ZOR_DATABASE_SCHEMA);
    std::stringstream schema;
    schema << schemaFile.rdbuf();
    sqlite3* db = nullptr;
    bool ok = sqlite3_open(path.c_str(), &db) == SQLITE_OK
        && sqlite3_exec(db, schema.str().c_str(), nullptr, nullptr, nullptr) == SQLITE_OK
        && sqlite3_exec(db, "BEGIN", nullptr, nullptr, nullptr) == SQLITE_OK;
    sqlite3_stmt* host = nullptr;
    sqlite3_stmt* row = nullptr;
    ok = ok
        && sqlite3_prepare_v2(
               db, "INSERT INTO Hosts (HostID, Host) VALUES (?, ?)", -1, &host, nullptr)
            == SQLITE_OK
        && sqlite3_prepare_v2(db,
               "INSERT INTO GraphData (HostID, Time, AvgDelay, SampleCount) VALUES (?, ?, ?, 90)",
               -1, &row, nullptr)
            == SQLITE_OK;
    const long quarters = c_days * 96L;
    const COleDateTime first = end - COleDateTimeSpan(c_days, 0, 0, 0);
    for (int h = 0; ok && h < c_hosts; ++h) {
        const std::string name = hostName(h);
        sqlite3_bind_int(host, 1, h + 1);
        sqlite3_bind_text(host, 2, name.c_str(), -1, SQLITE_TRANSIENT);
        ok = sqlite3_step(host) == SQLITE_DONE && sqlite3_reset(host) == SQLITE_OK;
    }
    // In the order the monitor writes them: the rows of all hosts for a quarter together.
    for (long q = 0; ok && q < quarters; ++q) {
        const COleDateTime time(
            CGraphFeed::quarterBucket(first + COleDateTimeSpan(0, 0, 15 * q, 0)));
        for (int h = 0; ok && h < c_hosts; ++h) {
            sqlite3_bind_int(row, 1, h + 1);
            sqlite3_bind_double(row, 2, time.m_dt);
            sqlite3_bind_int(row, 3, 5 + static_cast<int>((q * 7 + h * 13) % 55));
            ok = sqlite3_step(row) == SQLITE_DONE && sqlite3_reset(row) == SQLITE_OK;
        }
    }
    sqlite3_finalize(host);
    sqlite3_finalize(row);
    ok = ok && sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr) == SQLITE_OK;
    if (!ok)
        std::fprintf(stderr, "cannot make %s: %s\n", path.c_str(), sqlite3_errmsg(db));
    sqlite3_close(db);
    return ok;
}

void report(const char* what, int runs, const std::function<void()>& work)
{
    std::vector<double> wall;
    std::vector<double> processor;
    for (int run = 0; run < runs; ++run) {
        const double processorStart = processorMilliseconds();
        const auto start = Clock::now();
        work();
        wall.push_back(std::chrono::duration<double, std::milli>(Clock::now() - start).count());
        processor.push_back(processorMilliseconds() - processorStart);
    }
    std::sort(wall.begin(), wall.end());
    std::sort(processor.begin(), processor.end());
    std::printf("%-34s %7.2f / %7.2f / %7.2f ms (fastest / median / slowest of %d; processor "
                "median %.2f ms)\n",
        what, wall.front(), wall[wall.size() / 2], wall.back(), runs,
        processor[processor.size() / 2]);
}

} // namespace

int main(int argc, char** argv)
{
    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 50;
    // Painted offscreen: no display is needed and none is touched.
    if (std::getenv("QT_QPA_PLATFORM") == nullptr)
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
    QTemporaryDir store;
    QTemporaryDir folder;
    setenv("ZORVEX_REGISTRY", store.path().toStdString().c_str(), 1);
    QApplication application(argc, argv);
    AfxOleInit();
    AfxEnableControlContainer();
    HMODULE module = LoadLibraryA(ZOR_WIDGETS_MODULE);
    const auto registerServer = module
        ? reinterpret_cast<ZorDllRegisterServer>(GetProcAddress(module, "DllRegisterServer"))
        : nullptr;
    if (!registerServer || FAILED(registerServer())) {
        std::fprintf(stderr, "cannot register %s\n", ZOR_WIDGETS_MODULE);
        return 1;
    }

    const COleDateTime now(2002, 6, 24, 14, 37, 0);
    const std::time_t nowSeconds = now.GetAsTimeT();
    zorSetClock([nowSeconds] { return nowSeconds; });
    const std::string directory = folder.path().toStdString() + "/";
    const auto madeStart = Clock::now();
    if (!makeDatabase(directory + "corvane.mdb", now))
        return 1;
    std::printf("database: %d hosts x %ld rows in %.0f ms\n", c_hosts, c_days * 96L,
        std::chrono::duration<double, std::milli>(Clock::now() - madeStart).count());

    CMonitorDatabase database;
    if (!database.open(directory))
        return 1;
    CWnd host;
    const CRect bounds(0, 0, 1000, 400);
    if (!host.CreateEx(0, "GraphFeedBench", "", WS_POPUP, bounds, nullptr, 0))
        return 1;
    host.ShowWindow(SW_SHOW);
    IGraph graph;
    if (!graph.CreateControl(IGraph::c_szProgId, "", &host, bounds, 1039)) {
        std::fprintf(stderr, "cannot create the graph\n");
        return 1;
    }
    std::array<HostSlot, CGraphFeed::c_nSlots> hostSlots;
    for (int k = 0; k < c_hosts; ++k) {
        hostSlots[k].m_hostText = hostName(k);
        hostSlots[k].m_address = 0x0100007F;
    }
    CGraphFeed feed(hostSlots, database, graph);
    feed.setUpWindow(c_span, [&](int k) { graph.setPlotColor(k, c_colors[k]); });

    const auto replotAll = [&] {
        for (int k = 0; k < c_hosts; ++k)
            feed.replot(k);
    };
    replotAll();
    std::size_t rowsRead = 0;
    std::vector<std::vector<GraphRow>> rows(c_hosts);
    for (int k = 0; k < c_hosts; ++k) {
        database.readGraphRows(k + 1, feed.windowStart(), feed.windowEnd(), rows[k]);
        rowsRead += rows[k].size();
    }
    std::printf("window %s, %d days: %zu rows for the five plots\n",
        feed.windowStart().Format("%Y-%m-%d %H:%M").c_str(), feed.span(), rowsRead);

    report("replot of all five plots", runs, replotAll);
    report("reading the rows alone", runs, [&] {
        for (int k = 0; k < c_hosts; ++k) {
            std::vector<GraphRow> read;
            read.reserve(rows[k].size());
            database.findHostId(hostName(k));
            database.readGraphRows(k + 1, feed.windowStart(), feed.windowEnd(), read);
        }
    });
    report("the graph alone (clear, points)", runs, [&] {
        for (int k = 0; k < c_hosts; ++k) {
            graph.clearPlot(k);
            for (const GraphRow& row : rows[k])
                graph.setDataPoint(
                    k, CGraphFeed::pointIndex(row.time, feed.windowStart()), 100 * row.avgDelay);
        }
    });
    report("replot of all five and a repaint", runs, [&] {
        replotAll();
        graph.repaint();
    });

    zorSetClock({});
    graph.site()->destroy();
    host.DestroyWindow();
    database.close();
    return 0;
}
