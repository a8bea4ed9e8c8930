#pragma once

// Availability records and the outage list.
//
// The monitor writes a status record for every start and stop of monitoring and every change
// between available and unavailable; the outage list of the main window is rebuilt from those
// records whenever it is shown anew: per host, the moments it became unavailable, when it came
// back and how long it was down, optionally with the starts and stops of monitoring, with the
// recovery lines of short outages left out. The per-host pass is a plain function over the
// host's records, apart from the reading of the database.

#include "monitor/monitordatabase.h"
#include "platform/types/wintypes.h"

#include <string>
#include <vector>

// What the outage list shows.
struct OutageListOptions
{
    // Show the "monitoring started" and "monitoring stopped" lines.
    bool showStartStop {false};
    // Recovery lines of outages shorter than this many seconds are left out.
    int shortestOutage {60};
};

// The shortest outage in seconds from the duration picker's value (a time of day, in days):
// v * 86400 + 5.787037037037037e-6, truncated. The small addition keeps a whole number of
// seconds from falling just short of itself in floating point.
int shortestOutageSeconds(double pickerValue);

// Writes one status record for the host text with the current local date-time: up (for a
// start or stop record: true = started, false = stopped) and whether it is a start or stop of
// monitoring. The host id is looked up (and created) from the text at each write; a host
// with an empty text gets no records. A database error has been shown when this gives false;
// the record is lost and monitoring goes on.
bool writeStatus(
    CMonitorDatabase& database, const std::string& host, bool up, bool sessionStartStop);

// The length of an outage as a recovery line shows it: "%H:%M:%S" under a day; from a day on
// the whole length in hours, minutes and seconds ("25:00:00", "100:00:00"), not the hours
// within its last day. Lengths are rounded to the nearest second.
std::string outageLengthText(const COleDateTimeSpan& length);

// Appends one host's lines to the list, from its status records in order of date: before the
// host's first line an empty line and a line with the host text; then "%s unavailable" when the
// host went down, "%s available, was down for %s" when it came back after at least the
// shortest outage, and with showStartStop "%s monitoring started" or "%s monitoring stopped".
// Dates are written "%m/%d/%y %H:%M:%S", the length as outageLengthText gives it. A host with
// no lines to show gets no header either.
void addHostOutageLines(std::vector<std::string>& lines, const std::string& host,
    const std::vector<StatusRecord>& records, const OutageListOptions& options);

// The whole outage list from the database: the hosts in order of their text, each with its
// lines; with onlyHostId other than -1 only that host. After a database error (shown) the
// list holds the lines made so far.
std::vector<std::string> buildOutageList(
    CMonitorDatabase& database, const OutageListOptions& options, LONG onlyHostId = -1);
