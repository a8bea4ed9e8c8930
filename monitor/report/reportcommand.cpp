#include "monitor/report/reportcommand.h"

#include "monitor/monitorfiles.h"
#include "monitor/report/reportsource.h"
#include "monitor/report/reporttable.h"
#include "platform/dao/daoexception.h"
#include "platform/types/oledatetime.h"
#include "platform/ui/programline.h"

#include <QtCore/QDateTime>

#include <cstdio>
#include <filesystem>
#include <optional>
#include <ostream>
#include <utility>

namespace {

enum class eReport { eAVAILABILITY, eOUTAGES, eLATENCY };

struct ReportRequest
{
    eReport report {eReport::eAVAILABILITY};
    std::optional<LocalMs> from;
    std::optional<LocalMs> to;
    eReportSplit split {eReportSplit::eNONE};
    std::string host;
    eReportFormat format {eReportFormat::eTEXT};
    std::string database;
};

// A local date or date and time; a date alone is its midnight, or with wholeDay the next one.
std::optional<LocalMs> parseWhen(const std::string& text, bool wholeDay)
{
    const QString when = QString::fromStdString(text).replace(' ', 'T');
    // A date alone is exactly ten characters: the parser of dates takes the date of a date
    // and time too.
    const QDate day = when.size() == 10 ? QDate::fromString(when, Qt::ISODate) : QDate();
    LocalMs at = 0;
    static const QDate dayZero(1899, 12, 30);
    if (day.isValid()) {
        at = (dayZero.daysTo(day) + (wholeDay ? 1 : 0)) * c_msPerDay;
    } else {
        const QDateTime moment = QDateTime::fromString(when, Qt::ISODate);
        if (!moment.isValid() || when.size() < 16 || moment.timeSpec() != Qt::LocalTime)
            return std::nullopt;
        at = dayZero.daysTo(moment.date()) * c_msPerDay + moment.time().msecsSinceStartOfDay();
    }
    return at;
}

// The names of the reports and of the parts of a period, as the command line has them.
constexpr std::pair<const char*, eReport> c_reports[] = {{"availability", eReport::eAVAILABILITY},
    {"outages", eReport::eOUTAGES}, {"latency", eReport::eLATENCY}};
constexpr std::pair<const char*, eReportSplit> c_splits[]
    = {{"day", eReportSplit::eDAY}, {"week", eReportSplit::eWEEK}, {"month", eReportSplit::eMONTH}};

// Sets value to the choice the word names; false when it names none.
template<typename T, std::size_t N>
bool choose(const std::string& word, const std::pair<const char*, T> (&choices)[N], T& value)
{
    for (const auto& [name, choice] : choices) {
        if (word == name) {
            value = choice;
            return true;
        }
    }
    return false;
}

bool readRequest(const std::vector<std::string>& words, ReportRequest& request, std::string* error)
{
    bool optionsEnded = false;
    bool reportNamed = false;
    for (std::size_t i = 0; i < words.size(); ++i) {
        const std::string& word = words[i];
        if (word == "--" && !optionsEnded) {
            optionsEnded = true;
        } else if (optionsEnded || word.empty() || word[0] != '-') {
            if (reportNamed) {
                *error = "one report at a time: '" + word + "'";
                return false;
            }
            reportNamed = true;
            if (!choose(word, c_reports, request.report)) {
                *error = "no report '" + word + "' (availability, outages or latency)";
                return false;
            }
        } else if (word == "--from" || word == "--to") {
            const std::optional<LocalMs> at = parseWhen(words[++i], word == "--to");
            if (!at) {
                *error = "invalid time '" + words[i] + "' for option '" + word
                    + "' (YYYY-MM-DD or YYYY-MM-DDTHH:MM[:SS])";
                return false;
            }
            (word == "--from" ? request.from : request.to) = at;
        } else if (word == "--by") {
            const std::string& by = words[++i];
            if (!choose(by, c_splits, request.split)) {
                *error = "invalid value '" + by + "' for option '--by' (day, week or month)";
                return false;
            }
        } else if (word == "--host") {
            request.host = words[++i];
        } else if (word == "--csv") {
            request.format = eReportFormat::eCSV;
        } else if (word == "--json") {
            request.format = eReportFormat::eJSON;
        } else if (word == "--database") {
            request.database = words[++i];
        }
    }
    if (request.from && request.to && *request.from >= *request.to) {
        *error = "the period ends before it begins";
        return false;
    }
    return true;
}

std::string percentText(LocalMs part, LocalMs whole)
{
    char text[32];
    std::snprintf(text, sizeof text, "%.3f", 100.0 * double(part) / double(whole));
    return text;
}

CReportTable availabilityTable(
    const std::vector<HostHistory>& hosts, LocalMs from, LocalMs to, eReportSplit split)
{
    CReportTable table({{"host", "host"}, {"from", "from"}, {"to", "to"},
        {"monitored_s", "monitored"}, {"down_s", "down"}, {"availability_pct", "available %"},
        {"outages", "outages"}, {"longest_outage_s", "longest outage"},
        {"mean_time_between_outages_s", "mean time between outages"}});
    const auto periods = splitPeriod(from, to, split);
    for (const HostHistory& host : hosts) {
        const HostTimeline timeline = timelineOf(host.records, to);
        for (const auto& [begin, end] : periods) {
            const AvailabilityFigures f = figuresIn(timeline, begin, end);
            const LocalMs up = f.monitored - f.down;
            table.addRow({textCell(host.host), timeCell(begin), timeCell(end),
                lengthCell(f.monitored), lengthCell(f.down),
                f.monitored > 0 ? numberCell(percentText(up, f.monitored)) : numberCell({}),
                countCell(f.outages), lengthCell(f.longest),
                f.outages > 0 ? lengthCell(up / f.outages) : numberCell({})});
        }
    }
    return table;
}

CReportTable outageTable(const std::vector<HostHistory>& hosts, LocalMs from, LocalMs to)
{
    CReportTable table({{"host", "host"}, {"down_at", "down at"}, {"up_at", "up at"},
        {"length_s", "length"}, {"ended_by", "ended by"}});
    for (const HostHistory& host : hosts) {
        for (const OutageSpan& outage : timelineOf(host.records, to).outages) {
            if (outage.end <= from)
                continue;
            const char* endedBy = outage.how == eOutageEnd::eUP ? "up"
                : outage.how == eOutageEnd::eSTOPPED            ? "stop"
                                                                : "open";
            table.addRow({textCell(host.host), timeCell(outage.down),
                outage.how == eOutageEnd::eUP ? timeCell(outage.end) : textCell({}),
                lengthCell(outage.end - outage.down), textCell(endedBy)});
        }
    }
    return table;
}

CReportTable latencyTable(
    CDaoDatabase& database, const std::vector<HostHistory>& hosts, LocalMs from, LocalMs to)
{
    CReportTable table({{"host", "host"}, {"time", "quarter hour"}, {"average_ms", "average ms"},
        {"samples", "samples"}});
    for (const HostHistory& host : hosts)
        readLatencyAverages(database, host.hostId, from, to, [&](const LatencyAverage& average) {
            table.addRow({textCell(host.host), timeCell(average.time), countCell(average.averageMs),
                countCell(average.samples)});
        });
    return table;
}

std::string defaultDatabase(const std::string& programDirectory)
{
    const std::string beside = monitorDatabasePath(programDirectory);
    std::error_code error;
    return std::filesystem::exists(beside, error) ? beside
                                                  : monitorDatabasePath(monitorUserDataDirectory());
}

} // namespace

int runCorvaneReport(const std::vector<std::string>& words, const std::string& programDirectory,
    std::ostream& out, std::ostream& err)
{
    ReportRequest request;
    CProgramLine line("corvane-report",
        {"[availability|outages|latency] [--from WHEN] [--to WHEN] [--by day|week|month] "
         "[--host HOST] [--csv|--json] [--database FILE]"},
        "Reports from the host monitor's database: each host's availability over a period "
        "(the default), its outages, or its quarter-hour latency averages.",
        {{{"--from"}, "WHEN", "the period's start (default: 30 days before its end)"},
            {{"--to"}, "WHEN",
                "the period's end, excluded (default: now); a date takes its whole day"},
            {{"--by"}, "PART", "availability per day, week (from Monday) or month"},
            {{"--host"}, "HOST", "only this host (letter case aside)"},
            {{"--csv"}, "", "comma-separated values (RFC 4180)"},
            {{"--json"}, "", "a JSON array of objects"},
            {{"--database"}, "FILE", "read this database instead of the monitor's"}});
    line.setOperands(0, 1, "REPORT");
    line.setNotes("WHEN is a local date YYYY-MM-DD or a local time YYYY-MM-DDTHH:MM[:SS].\n"
                  "Times are written in ISO 8601 local time with the offset from UTC, lengths in "
                  "seconds (on a terminal as [Nd ]HH:MM:SS).\n"
                  "Exit status: 0 with the report, 1 when the database cannot be read, 2 for a "
                  "wrong command line.");
    line.setCheck([&request](const std::vector<std::string>& w, std::string* error) {
        return readRequest(w, request, error);
    });
    if (const std::optional<int> status = line.answer(words, out, err))
        return *status;

    const LocalMs now = localMsOf(COleDateTime::GetCurrentTime());
    const LocalMs to = std::min(request.to.value_or(now), now);
    const LocalMs from = request.from.value_or(to - 30 * c_msPerDay);
    const std::string path
        = request.database.empty() ? defaultDatabase(programDirectory) : request.database;
    try {
        CDaoDatabase database;
        openReportDatabase(database, path);
        const std::vector<HostHistory> hosts = readHostHistories(database, request.host);
        const CReportTable table = request.report == eReport::eAVAILABILITY
            ? availabilityTable(hosts, from, std::max(from, to), request.split)
            : request.report == eReport::eOUTAGES ? outageTable(hosts, from, to)
                                                  : latencyTable(database, hosts, from, to);
        table.write(out, request.format);
    } catch (const CDaoException& e) {
        // The engine names the file when it cannot open it; otherwise the line names it.
        const std::string what = e.m_pErrorInfo ? e.m_pErrorInfo->m_strDescription : e.what();
        err << "corvane-report: " << what
            << (what.find(path) == std::string::npos ? " (" + path + ")" : std::string()) << "\n";
        return 1;
    }
    out.flush();
    return out ? 0 : 1;
}
