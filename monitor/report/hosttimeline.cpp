#include "monitor/report/hosttimeline.h"

#include <QtCore/QDate>

#include <algorithm>
#include <cmath>

namespace {

// Day 0 of the automation dates.
const QDate c_dayZero(1899, 12, 30);

LocalMs dayStart(LocalMs at)
{
    return at - (at % c_msPerDay + c_msPerDay) % c_msPerDay;
}

// The first split point after `at`.
LocalMs nextSplit(LocalMs at, eReportSplit split)
{
    const LocalMs day = dayStart(at);
    const std::int64_t dayNumber = day / c_msPerDay;
    switch (split) {
    case eReportSplit::eDAY:
        return day + c_msPerDay;
    case eReportSplit::eWEEK: {
        // Day 0 was a Saturday: days 2, 9, 16, ... are Mondays.
        const std::int64_t sinceMonday = ((dayNumber - 2) % 7 + 7) % 7;
        return day + (7 - sinceMonday) * c_msPerDay;
    }
    case eReportSplit::eMONTH: {
        const QDate date = c_dayZero.addDays(dayNumber);
        const QDate next = QDate(date.year(), date.month(), 1).addMonths(1);
        return c_dayZero.daysTo(next) * c_msPerDay;
    }
    case eReportSplit::eNONE:
        break;
    }
    return at;
}

} // namespace

LocalMs localMsOf(double automationDate)
{
    return LocalMs(std::llround(automationDate * double(c_msPerDay)));
}

double automationDateOf(LocalMs at)
{
    return double(at) / double(c_msPerDay);
}

HostTimeline timelineOf(const std::vector<HistoryRecord>& history, LocalMs until)
{
    HostTimeline timeline;
    enum class eState { eUNKNOWN, eUP, eDOWN } state = eState::eUNKNOWN;
    LocalMs since = 0;
    auto leave = [&](LocalMs at, eOutageEnd how) {
        if (state == eState::eUNKNOWN)
            return;
        if (!timeline.monitored.empty() && timeline.monitored.back().second == since)
            timeline.monitored.back().second = at;
        else
            timeline.monitored.emplace_back(since, at);
        if (state == eState::eDOWN && how != eOutageEnd::eOPEN) {
            timeline.outages.back().end = at;
            timeline.outages.back().how = how;
        }
    };
    for (const HistoryRecord& record : history) {
        if (record.at >= until)
            break;
        switch (record.kind) {
        case eHistoryRecord::eSTART:
        case eHistoryRecord::eSTOP:
            leave(record.at, eOutageEnd::eSTOPPED);
            state = eState::eUNKNOWN;
            break;
        case eHistoryRecord::eUP:
            leave(record.at, eOutageEnd::eUP);
            state = eState::eUP;
            break;
        case eHistoryRecord::eDOWN:
            // A second down record goes on with the outage already begun.
            leave(record.at, eOutageEnd::eOPEN);
            if (state != eState::eDOWN)
                timeline.outages.push_back(OutageSpan {record.at, until, eOutageEnd::eOPEN});
            state = eState::eDOWN;
            break;
        }
        since = record.at;
    }
    leave(until, eOutageEnd::eOPEN);
    return timeline;
}

AvailabilityFigures figuresIn(const HostTimeline& timeline, LocalMs from, LocalMs to)
{
    AvailabilityFigures figures;
    auto overlap = [from, to](LocalMs begin, LocalMs end) {
        return std::max<LocalMs>(0, std::min(end, to) - std::max(begin, from));
    };
    for (const auto& [begin, end] : timeline.monitored)
        figures.monitored += overlap(begin, end);
    for (const OutageSpan& outage : timeline.outages) {
        const LocalMs inside = overlap(outage.down, outage.end);
        figures.down += inside;
        figures.longest = std::max(figures.longest, inside);
        if (outage.down >= from && outage.down < to)
            ++figures.outages;
    }
    return figures;
}

std::vector<std::pair<LocalMs, LocalMs>> splitPeriod(LocalMs from, LocalMs to, eReportSplit split)
{
    std::vector<std::pair<LocalMs, LocalMs>> parts;
    for (LocalMs begin = from; begin < to;) {
        const LocalMs end
            = split == eReportSplit::eNONE ? to : std::min(to, nextSplit(begin, split));
        parts.emplace_back(begin, end);
        begin = end;
    }
    return parts;
}
