#include "monitor/availability.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstring>
#include <ctime>

namespace {

const char* const c_dateFormat = "%m/%d/%y %H:%M:%S";
constexpr long long c_secondsPerDay = 86400;

void putTwoDigits(char* at, long long value)
{
    at[0] = static_cast<char>('0' + value / 10 % 10);
    at[1] = static_cast<char>('0' + value % 10);
}

// The length as outageLengthText writes a valid one that is not negative: at least two digits
// of hours, then minutes and seconds (at most 26 characters). False for any other length.
bool writeLength(const COleDateTimeSpan& length, char* at, std::size_t& written)
{
    const long long total = static_cast<long long>(length.GetTotalSeconds());
    if (length.GetStatus() != COleDateTimeSpan::valid || total < 0)
        return false;
    const long long hours = total / 3600;
    std::size_t n = 2;
    if (hours < 100)
        putTwoDigits(at, hours);
    else
        n = static_cast<std::size_t>(std::to_chars(at, at + 20, hours).ptr - at);
    at[n] = ':';
    putTwoDigits(at + n + 1, total / 60 % 60);
    at[n + 3] = ':';
    putTwoDigits(at + n + 4, total % 60);
    written = n + 6;
    return true;
}

// Writes the lines, their date-times as c_dateFormat does, from the fields directly: a long
// history gives a million lines. The records of a host come in order of date and most days
// hold many of them, so the date part is worked out once per day and the time of day from the
// seconds. Each line is made in one piece.
class CLineWriter
{
public:
    // The date-time, the text (a short one of this file) and, for a recovery line, the length.
    std::string line(
        const COleDateTime& date, const char* text, const COleDateTimeSpan* length = nullptr)
    {
        char buffer[128];
        const std::size_t textLength = std::strlen(text);
        std::size_t n = 0;
        if (textLength <= 64 && writeStamp(date, buffer)) {
            n = c_stampLength;
            std::memcpy(buffer + n, text, textLength);
            n += textLength;
            std::size_t written = 0;
            if (length == nullptr)
                return std::string(buffer, n);
            if (writeLength(*length, buffer + n, written))
                return std::string(buffer, n + written);
            return std::string(buffer, n) + length->Format("%H:%M:%S");
        }
        std::string line = date.Format(c_dateFormat) + text;
        return length ? line + outageLengthText(*length) : line;
    }

private:
    static constexpr std::size_t c_stampLength = 17; // "mm/dd/yy HH:MM:SS"

    // The stamp of a valid date-time; false for any other.
    bool writeStamp(const COleDateTime& date, char* stamp)
    {
        if (date.GetStatus() != COleDateTime::valid)
            return false;
        // Seconds since 30 December 1899 rounded to the nearest second as the date-time's own
        // fields are: the whole days, then the time of day by its magnitude (before 1899 the
        // time of day counts forward from the day's start as well).
        const double days = std::trunc(date.m_dt);
        const long long seconds = static_cast<long long>(days) * c_secondsPerDay
            + std::llround(std::fabs(date.m_dt - days) * c_secondsPerDay);
        long long day = seconds / c_secondsPerDay;
        if (seconds % c_secondsPerDay < 0)
            --day;
        const long long secondOfDay = seconds - day * c_secondsPerDay;
        if (!m_dayKnown || day != m_day) {
            std::tm t {};
            if (!date.GetAsTm(t))
                return false;
            putTwoDigits(m_date, t.tm_mon + 1);
            putTwoDigits(m_date + 3, t.tm_mday);
            putTwoDigits(m_date + 6, (t.tm_year + 1900) % 100);
            m_day = day;
            m_dayKnown = true;
        }
        std::memcpy(stamp, m_date, 9);
        putTwoDigits(stamp + 9, secondOfDay / 3600);
        stamp[11] = ':';
        putTwoDigits(stamp + 12, secondOfDay / 60 % 60);
        stamp[14] = ':';
        putTwoDigits(stamp + 15, secondOfDay % 60);
        return true;
    }

    bool m_dayKnown {false};
    long long m_day {0};
    char m_date[10] {"mm/dd/yy "};
};

} // namespace

std::string outageLengthText(const COleDateTimeSpan& length)
{
    char text[32];
    std::size_t n = 0;
    // An invalid, null or negative length keeps the span's own text.
    if (!writeLength(length, text, n))
        return length.Format("%H:%M:%S");
    return std::string(text, n);
}

int shortestOutageSeconds(double pickerValue)
{
    return static_cast<int>(pickerValue * 86400 + 5.787037037037037e-6);
}

bool writeStatus(
    CMonitorDatabase& database, const std::string& host, bool up, bool sessionStartStop)
{
    if (host.empty())
        return false;
    const LONG id = database.hostId(host);
    if (id == -1)
        return false;
    return database.appendStatus(id, up, sessionStartStop, COleDateTime::GetCurrentTime());
}

void addHostOutageLines(std::vector<std::string>& lines, const std::string& host,
    const std::vector<StatusRecord>& records, const OutageListOptions& options)
{
    bool headerShown = false;
    bool downPending = false;
    COleDateTime downStart;
    bool lastLineUnavailable = false;
    CLineWriter writer;

    // At most one line per record, and the two of the header. The list at least doubles when
    // it grows, so that a list built host by host is not moved to new memory once per host: a
    // million lines in a new place cost as much as writing them.
    const std::size_t needed = lines.size() + records.size() + 2;
    if (lines.capacity() < needed)
        lines.reserve(std::max(needed, 2 * lines.capacity()));

    auto addLine = [&](std::string line) {
        if (!headerShown) {
            lines.emplace_back();
            lines.push_back(host);
            headerShown = true;
        }
        lines.push_back(std::move(line));
    };

    for (const StatusRecord& record : records) {
        if (record.sessionStartStop) {
            downPending = false;
            if (options.showStartStop) {
                addLine(writer.line(
                    record.date, record.up ? " monitoring started" : " monitoring stopped"));
                lastLineUnavailable = false;
            }
        } else if (!record.up) {
            downStart = record.date;
            downPending = true;
            if (!lastLineUnavailable) {
                addLine(writer.line(record.date, " unavailable"));
                lastLineUnavailable = true;
            }
        } else {
            if (downPending) {
                const COleDateTimeSpan length = record.date - downStart;
                // Whole seconds on both sides: dates a whole number of seconds apart may
                // differ by a hair in days.
                if (length.GetTotalSeconds() >= options.shortestOutage) {
                    // Always after an unavailable line, so the header is already there.
                    lines.push_back(writer.line(record.date, " available, was down for ", &length));
                }
            }
            downPending = false;
            lastLineUnavailable = false;
        }
    }
}

std::vector<std::string> buildOutageList(
    CMonitorDatabase& database, const OutageListOptions& options, LONG onlyHostId)
{
    std::vector<std::string> lines;
    // After an error the hosts read before it still get their lines.
    std::vector<HostRow> hosts;
    database.listHosts(hosts, onlyHostId);
    std::vector<StatusRecord> records;
    for (std::size_t i = 0; i < hosts.size(); ++i) {
        records.clear();
        const bool whole = database.readHostHistory(hosts[i].hostId, records);
        // Room for this host's lines and, as a guess, as many for each host still to come, so
        // that hosts of like histories fill the list without moving it; room that stays unused
        // is never touched.
        const std::size_t needed = lines.size() + records.size() + 2;
        if (lines.capacity() < needed)
            lines.reserve(needed + (records.size() + 2) * (hosts.size() - i - 1));
        addHostOutageLines(lines, hosts[i].host, records, options);
        // The lines of the records read before an error stay; the list ends there.
        if (!whole)
            break;
    }
    return lines;
}
