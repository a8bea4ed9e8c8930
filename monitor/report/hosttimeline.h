#pragma once

// A host's availability over time, worked out from its status records, and the figures of any
// period of it: monitored time, time down, the outages and the longest of them.
//
// Moments are local times, as the monitor database holds them, in whole milliseconds since
// 30 December 1899 0:00 (the automation date times 86,400,000): the records' own clock, so
// every length is the difference the outage list shows too.
//
// How the records are read, host by host in order of date:
// - A start record begins a monitoring period; the host's state is not known until the first
//   probe's up or down record, so the time before it is not monitored. A stop record ends the
//   period. A start without a stop before it (a monitor that was killed) ends the period before
//   it there and then: the records cannot tell a killed monitor from one that kept running.
// - An up or down record sets the state; one without a start before it (its start was purged)
//   is monitored time all the same.
// - A down record begins an outage unless the host is already down; the outage ends with the
//   next up record, or when the period ends (a stop, or a new start), or it is still open at
//   the end of what was asked for and counts up to there.

#include <cstdint>
#include <vector>

using LocalMs = std::int64_t;

constexpr LocalMs c_msPerDay = 86'400'000;

// The moment of an automation date (days since 30 December 1899, local), and back.
LocalMs localMsOf(double automationDate);
double automationDateOf(LocalMs at);

enum class eHistoryRecord { eSTART, eSTOP, eUP, eDOWN };

struct HistoryRecord
{
    LocalMs at {0};
    eHistoryRecord kind {eHistoryRecord::eSTART};
};

enum class eOutageEnd { eUP, eSTOPPED, eOPEN };

struct OutageSpan
{
    LocalMs down {0};
    LocalMs end {0}; // the up record, the end of the period, or `until` for an open one
    eOutageEnd how {eOutageEnd::eOPEN};
};

struct HostTimeline
{
    // [begin, end) spans with a known state, in order, not overlapping.
    std::vector<std::pair<LocalMs, LocalMs>> monitored;
    std::vector<OutageSpan> outages;
};

// The timeline of a host's records (in order of date, then of writing) up to `until`; records
// from `until` on are left out.
HostTimeline timelineOf(const std::vector<HistoryRecord>& history, LocalMs until);

struct AvailabilityFigures
{
    LocalMs monitored {0};
    LocalMs down {0};
    // Outages that began within the period; one that began before it adds only its time.
    int outages {0};
    // The longest time down within the period of one outage, whenever it began.
    LocalMs longest {0};
};

// The figures of the period [from, to) of a timeline.
AvailabilityFigures figuresIn(const HostTimeline& timeline, LocalMs from, LocalMs to);

// How a report splits its period: not at all, or at local midnights, at the Mondays' midnights,
// or at the first days of months. The first and last parts are cut to the period.
enum class eReportSplit { eNONE, eDAY, eWEEK, eMONTH };
std::vector<std::pair<LocalMs, LocalMs>> splitPeriod(LocalMs from, LocalMs to, eReportSplit split);
