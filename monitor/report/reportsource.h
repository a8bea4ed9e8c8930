#pragma once

// What a report reads from the monitor database: the hosts, each with its status records, and
// the quarter-hour latency averages. The database is opened read-only, so a report may run
// while the monitor writes: the monitor's file is shared (write-ahead log), each host's records
// are read in one statement and are as the monitor had written them at that moment.
//
// Every failure throws CDaoException with the engine's description.

#include "monitor/report/hosttimeline.h"
#include "platform/dao/daodatabase.h"

#include <functional>
#include <string>
#include <vector>

struct HostHistory
{
    long hostId {0};
    std::string host;
    std::vector<HistoryRecord> records; // in order of date, then of writing
};

// Opens the database file read-only.
void openReportDatabase(CDaoDatabase& database, const std::string& path);

// The hosts in order of their texts (without regard to case), only those whose text equals
// `host` (without regard to case) when it is not empty.
std::vector<HostHistory> readHostHistories(CDaoDatabase& database, const std::string& host);

struct LatencyAverage
{
    LocalMs time {0};
    long averageMs {0};
    long samples {0};
};

// Calls `row` for each of the host's averages of [from, to), in order of time.
void readLatencyAverages(CDaoDatabase& database, long hostId, LocalMs from, LocalMs to,
    const std::function<void(const LatencyAverage&)>& row);
