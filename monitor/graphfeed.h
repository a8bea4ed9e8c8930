#pragma once

// The latency averages and the graph feed: each slot's probe results condensed into one
// average per host and quarter hour in GraphData, and the main window's graph fed from them.
//
// The graph shows the last one to five days in quarter-hour points (96 a day), one plot per
// slot, as latencies in hundredths of a millisecond. Its window ends 4 hours (span of one day)
// or 12 hours (more days) after the start of the current 4- or 12-hour block and moves on in
// such steps. Replots rebuild a plot from the database; between them every successful probe
// of a plotted slot puts the moving average of its last ten answers at the current quarter's
// point.
//
// A row is filed under the quarter hour in which it is written: the main window writes at the
// first tick of a new quarter hour, so the samples of the quarter that just ended go under the
// new quarter's start, and a write within the quarter (a replot, the close) merges into that
// row.
//
// Every "now" is the suite's clock (COleDateTime::GetCurrentTime), so tests control the time.

#include "monitor/hostslot.h"
#include "monitor/igraph.h"
#include "monitor/monitordatabase.h"
#include "platform/types/oledatetime.h"

#include <array>
#include <functional>

class CGraphFeed
{
public:
    static constexpr int c_nSlots = 5;
    static constexpr int c_nPointsPerDay = 96;
    // Minutes a point stands for.
    static constexpr long c_lInterval = 15;
    static constexpr int c_nMinSpan = 1;
    static constexpr int c_nMaxSpan = 5;

    CGraphFeed(
        std::array<HostSlot, c_nSlots>& hostSlots, CMonitorDatabase& database, IGraph& graph);

    // The average of the slot's non-zero samples (unsigned division); 0 when the slot has no
    // address or no sample answered.
    static int sampleAverage(const HostSlot& slot);
    // The quarter hour of t: its date and hour, the minutes truncated to a multiple of 15.
    static COleDateTime quarterBucket(const COleDateTime& t);
    // The graph point of t in a window starting at windowStart: whole minutes after the start,
    // divided by 15, each step truncated.
    static long pointIndex(const COleDateTime& t, const COleDateTime& windowStart);
    // The start of the graph window at now: for one day, the start of the current 4-hour
    // block minus 20 hours; for more days, the start of the current 12-hour block minus 12
    // hours and minus a day for each day past the first.
    static COleDateTime windowStartFor(const COleDateTime& now, int spanDays);

    // Files the pending samples of every slot.
    void writeAverages();
    // Files the slot's pending samples under its current host text, merging them into the
    // host's row of the current quarter hour when there is one, and clears them. A slot whose
    // probes all failed files nothing. After a database error the samples stay pending.
    void writeAverages(int slot);
    // Puts the moving average of the slot's last ten answers at the current time's point,
    // when the last probe found the host up.
    void livePoint(int slot);
    // Sets up the graph for the span (1 to 5 days; other values are taken as the nearest).
    // When the window start or the span changed, the graph gets the new window and
    // graphChanged(k) runs for k = 0 to 4, so that the main window replots or clears each plot.
    void setUpWindow(int spanDays, const std::function<void(int)>& graphChanged);
    // Rebuilds the slot's plot from the database: writes the pending averages of every slot
    // first, then puts each stored non-zero average of the slot's host within the window at
    // its point.
    void replot(int slot);

    const COleDateTime& windowStart() const;
    // The span of the current window in days.
    int span() const;
    // The end of the current window (excluded): its start plus the span.
    COleDateTime windowEnd() const;

private:
    std::array<HostSlot, c_nSlots>& m_slots;
    CMonitorDatabase& m_database;
    IGraph& m_graph;
    COleDateTime m_windowStart;
    int m_span {c_nMinSpan};
    // The span the window was last set up for; none yet.
    int m_setUpSpan {-1};
};
