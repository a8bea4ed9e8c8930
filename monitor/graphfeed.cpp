#include "monitor/graphfeed.h"

#include <QtCore/QtGlobal>

#include <algorithm>
#include <climits>
#include <cstdint>
#include <ctime>

namespace {

bool validSlot(int slot)
{
    return slot >= 0 && slot < CGraphFeed::c_nSlots;
}

int pendingCount(const HostSlot& slot)
{
    return std::clamp(slot.m_sampleCount, 0, HostSlot::MAX_SAMPLES);
}

// The average of the answered samples among the first count; probe results are never
// negative, and 0 stands for a probe nobody answered.
int averageOf(const int* samples, int count)
{
    std::uint64_t sum = 0;
    unsigned answered = 0;
    for (int i = 0; i < count; ++i) {
        if (samples[i] > 0) {
            sum += static_cast<unsigned>(samples[i]);
            ++answered;
        }
    }
    return answered > 0 ? static_cast<int>(sum / answered) : 0;
}

// The slot's pending samples with a stored row's average appended as many times as the row
// has samples, up to the capacity of the samples, and their average.
GraphAverage mergeInto(const HostSlot& slot, const GraphAverage& stored)
{
    std::array<int, HostSlot::MAX_SAMPLES> samples = slot.m_samples;
    int count = pendingCount(slot);
    for (LONG i = 0; i < stored.sampleCount && count < HostSlot::MAX_SAMPLES; ++i)
        samples[count++] = stored.avgDelay;
    return {averageOf(samples.data(), count), count};
}

// The same time rebuilt from its calendar fields, so that a time reached by adding or
// subtracting hours carries exactly the value of the same time built from its fields (as
// GraphData's times are): no rounding of the sum puts a window's bound a hair off its row.
COleDateTime fromFields(const COleDateTime& t)
{
    std::tm f {};
    if (!t.GetAsTm(f))
        return t;
    return COleDateTime(f.tm_year + 1900, f.tm_mon + 1, f.tm_mday, f.tm_hour, f.tm_min, f.tm_sec);
}

// A latency in ms as the graph takes it, in hundredths of a millisecond.
long graphValue(long milliseconds)
{
    const long long value = 100LL * milliseconds;
    return static_cast<long>(std::clamp<long long>(value, INT_MIN, INT_MAX));
}

} // namespace

CGraphFeed::CGraphFeed(
    std::array<HostSlot, c_nSlots>& hostSlots, CMonitorDatabase& database, IGraph& graph)
    : m_slots(hostSlots), m_database(database), m_graph(graph)
{ }

int CGraphFeed::sampleAverage(const HostSlot& slot)
{
    if (slot.m_address == 0)
        return 0;
    return averageOf(slot.m_samples.data(), pendingCount(slot));
}

COleDateTime CGraphFeed::quarterBucket(const COleDateTime& t)
{
    return COleDateTime(
        t.GetYear(), t.GetMonth(), t.GetDay(), t.GetHour(), t.GetMinute() / 15 * 15, 0);
}

long CGraphFeed::pointIndex(const COleDateTime& t, const COleDateTime& windowStart)
{
    const double days = (t - windowStart).GetTotalDays();
    const long minutes = static_cast<long>(days * 1440 + 5.787037037037037e-6);
    return static_cast<long>(minutes * 0.06666666666666667);
}

COleDateTime CGraphFeed::windowStartFor(const COleDateTime& now, int spanDays)
{
    const int block = spanDays == 1 ? 4 : 12;
    const COleDateTime blockStart(
        now.GetYear(), now.GetMonth(), now.GetDay(), now.GetHour() / block * block, 0, 0);
    if (spanDays == 1)
        return fromFields(blockStart - COleDateTimeSpan(0, 20, 0, 0));
    return fromFields(blockStart - COleDateTimeSpan(spanDays - 1, 12, 0, 0));
}

void CGraphFeed::writeAverages()
{
    for (int slot = 0; slot < c_nSlots; ++slot)
        writeAverages(slot);
}

void CGraphFeed::writeAverages(int slot)
{
    Q_ASSERT(validSlot(slot));
    if (!validSlot(slot))
        return;
    HostSlot& s = m_slots[slot];
    const int average = sampleAverage(s);
    if (average == 0) {
        s.m_sampleCount = 0;
        return;
    }
    const LONG hostId = m_database.hostId(s.m_hostText);
    if (hostId < 0) {
        // Without a host text there is no host to file the samples under; after a database
        // error (already shown) they wait for the next write.
        if (s.m_hostText.empty())
            s.m_sampleCount = 0;
        return;
    }
    const COleDateTime bucket = quarterBucket(COleDateTime::GetCurrentTime());
    const GraphAverage fresh {average, pendingCount(s)};
    if (m_database.fileAverage(hostId, bucket, fresh,
            [&s](const GraphAverage& stored) { return mergeInto(s, stored); }))
        s.m_sampleCount = 0;
}

void CGraphFeed::livePoint(int slot)
{
    Q_ASSERT(validSlot(slot));
    if (!validSlot(slot))
        return;
    const HostSlot& s = m_slots[slot];
    const long value = graphValue(s.latencyAverage());
    if (!s.m_up || value == 0)
        return;
    const COleDateTime now = COleDateTime::GetCurrentTime();
    // Only inside the window: a time before its start would truncate to the first point.
    if (now < m_windowStart || now >= windowEnd())
        return;
    m_graph.setDataPoint(slot, pointIndex(now, m_windowStart), value);
}

void CGraphFeed::setUpWindow(int spanDays, const std::function<void(int)>& graphChanged)
{
    const int span = std::clamp(spanDays, c_nMinSpan, c_nMaxSpan);
    m_graph.setNumDataPoints(span * c_nPointsPerDay);
    const COleDateTime previousStart = m_windowStart;
    m_windowStart = windowStartFor(COleDateTime::GetCurrentTime(), span);
    m_span = span;
    if (m_windowStart == previousStart && span == m_setUpSpan)
        return;
    m_graph.setTimeAndInterval2(m_windowStart, c_lInterval);
    m_graph.setYDigits(0);
    m_graph.setMinVal0(1);
    for (int slot = 0; slot < c_nSlots; ++slot) {
        if (graphChanged)
            graphChanged(slot);
    }
    m_setUpSpan = span;
}

void CGraphFeed::replot(int slot)
{
    Q_ASSERT(validSlot(slot));
    if (!validSlot(slot))
        return;
    writeAverages();
    m_graph.clearPlot(slot);
    const HostSlot& s = m_slots[slot];
    if (s.m_hostText.empty())
        return;
    const LONG hostId = m_database.findHostId(s.m_hostText);
    if (hostId < 0)
        return;
    // After a database error the rows read before it are still plotted.
    std::vector<GraphRow> rows;
    m_database.readGraphRows(hostId, m_windowStart, windowEnd(), rows);
    for (const GraphRow& row : rows) {
        if (row.avgDelay != 0)
            m_graph.setDataPoint(
                slot, pointIndex(row.time, m_windowStart), graphValue(row.avgDelay));
    }
}

const COleDateTime& CGraphFeed::windowStart() const
{
    return m_windowStart;
}

int CGraphFeed::span() const
{
    return m_span;
}

COleDateTime CGraphFeed::windowEnd() const
{
    return fromFields(m_windowStart + COleDateTimeSpan(m_span, 0, 0, 0));
}
