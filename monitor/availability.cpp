#include "monitor/availability.h"

#include <cstring>
#include <ctime>

namespace {

const char* const c_dateFormat = "%m/%d/%y %H:%M:%S";

void putTwoDigits(char* at, int value)
{
    at[0] = static_cast<char>('0' + value / 10 % 10);
    at[1] = static_cast<char>('0' + value % 10);
}

// A line starting with the record's date-time as c_dateFormat writes it. The fields are
// written directly, since a long history gives a million such lines.
std::string lineAt(const COleDateTime& date, const char* text)
{
    std::string line;
    std::tm t {};
    if (date.GetStatus() != COleDateTime::valid || !date.GetAsTm(t)) {
        line = date.Format(c_dateFormat);
    } else {
        char stamp[] = "mm/dd/yy HH:MM:SS";
        putTwoDigits(stamp, t.tm_mon + 1);
        putTwoDigits(stamp + 3, t.tm_mday);
        putTwoDigits(stamp + 6, (t.tm_year + 1900) % 100);
        putTwoDigits(stamp + 9, t.tm_hour);
        putTwoDigits(stamp + 12, t.tm_min);
        putTwoDigits(stamp + 15, t.tm_sec);
        // Room for the text and the length a recovery line adds.
        line.reserve(sizeof stamp + std::strlen(text) + 8);
        line.assign(stamp, sizeof stamp - 1);
    }
    line += text;
    return line;
}

} // namespace

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

    // At most one line per record, and the two of the header.
    lines.reserve(lines.size() + records.size() + 2);

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
                addLine(
                    lineAt(record.date, record.up ? " monitoring started" : " monitoring stopped"));
                lastLineUnavailable = false;
            }
        } else if (!record.up) {
            downStart = record.date;
            downPending = true;
            if (!lastLineUnavailable) {
                addLine(lineAt(record.date, " unavailable"));
                lastLineUnavailable = true;
            }
        } else {
            if (downPending) {
                const COleDateTimeSpan length = record.date - downStart;
                // Whole seconds on both sides: dates a whole number of seconds apart may
                // differ by a hair in days.
                if (length.GetTotalSeconds() >= options.shortestOutage) {
                    // Always after an unavailable line, so the header is already there.
                    std::string line = lineAt(record.date, " available, was down for ");
                    line += length.Format("%H:%M:%S");
                    lines.push_back(std::move(line));
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
    for (const HostRow& host : hosts) {
        records.clear();
        const bool whole = database.readHostHistory(host.hostId, records);
        addHostOutageLines(lines, host.host, records, options);
        // The lines of the records read before an error stay; the list ends there.
        if (!whole)
            return lines;
    }
    return lines;
}
