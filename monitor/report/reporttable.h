#pragma once

// The rows of a report and their three forms: aligned columns for a terminal, CSV (RFC 4180:
// a header line, comma-separated fields, a field quoted when it holds a comma, a quote or a
// line break, lines ended by CR LF) and JSON (an array with one object per row, keyed by the
// column names; an empty cell is null, a number cell a JSON number).
//
// A cell has the value the machine forms carry and, where it differs, the text a terminal
// shows: a length is seconds in CSV and JSON and "2d 03:04:05" on the terminal. So has a
// column: "longest_outage_s" in CSV and JSON, "longest outage" on the terminal.

#include "monitor/report/hosttimeline.h"

#include <iosfwd>
#include <string>
#include <vector>

enum class eReportFormat { eTEXT, eCSV, eJSON };

struct ReportCell
{
    std::string value; // empty: no value
    std::string shown; // for the terminal; empty: the value
    bool number {false};
};

ReportCell textCell(std::string text);
ReportCell numberCell(std::string number);
ReportCell countCell(long long count);
// Seconds, with milliseconds only when there are any; shown as "[Nd ]HH:MM:SS".
ReportCell lengthCell(LocalMs length);
// ISO 8601 local time with the offset from UTC ("2026-12-08T20:15:03+01:00"); shown as
// "2026-12-08 20:15:03".
ReportCell timeCell(LocalMs at);

// A column: its name, the key of CSV and JSON, and its title on the terminal.
struct ReportColumn
{
    std::string name;
    std::string title;
};

class CReportTable
{
public:
    explicit CReportTable(std::vector<ReportColumn> columns);

    void addRow(std::vector<ReportCell> cells);
    void write(std::ostream& out, eReportFormat format) const;

private:
    void writeText(std::ostream& out) const;
    void writeCsv(std::ostream& out) const;
    void writeJson(std::ostream& out) const;

    std::vector<ReportColumn> m_columns;
    std::vector<std::vector<ReportCell>> m_rows;
};
