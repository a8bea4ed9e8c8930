#include "monitor/report/reporttable.h"

#include <QtCore/QDateTime>
#include <QtCore/QString>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <ostream>
#include <unordered_map>
#include <utility>

namespace {

std::string csvField(const std::string& text)
{
    if (text.find_first_of(",\"\r\n") == std::string::npos)
        return text;
    std::string quoted = "\"";
    for (const char c : text) {
        if (c == '"')
            quoted += '"';
        quoted += c;
    }
    return quoted + '"';
}

// A JSON string of the text: UTF-8 as it is, and a text that is not UTF-8 (a host typed in
// another single-byte encoding) read as Latin-1, so the output is always valid JSON.
std::string jsonString(const std::string& text)
{
    QByteArray bytes = QByteArray::fromStdString(text);
    if (QString::fromUtf8(bytes).toUtf8() != bytes)
        bytes = QString::fromLatin1(bytes).toUtf8();
    std::string json = "\"";
    for (const char c : bytes) {
        const auto u = static_cast<unsigned char>(c);
        if (c == '"' || c == '\\') {
            json += '\\';
            json += c;
        } else if (u < 0x20) {
            char escaped[8];
            std::snprintf(escaped, sizeof escaped, "\\u%04x", u);
            json += escaped;
        } else {
            json += c;
        }
    }
    return json + '"';
}

// How many bytes of UTF-8 text make its width on a terminal: one column per character.
std::size_t columnsOf(const std::string& text)
{
    return std::size_t(std::count_if(text.begin(), text.end(),
        [](char c) { return (static_cast<unsigned char>(c) & 0xC0) != 0x80; }));
}

// The offset from UTC of a local time, in minutes. Asking the time zone costs more than all
// the rest of a report's row, so each day is asked twice, at its start and in its last half
// hour, and only a day on which the two differ (a change of offset, which zones make on the
// hour or the half hour) is asked per half hour. Kept for the process: the zone is read once.
int localOffsetMinutes(const QDate& date, LocalMs inDay)
{
    constexpr LocalMs c_halfHour = c_msPerDay / 48;
    auto offsetAt = [&date](LocalMs ms) {
        return QDateTime(date, QTime::fromMSecsSinceStartOfDay(int(ms)), Qt::LocalTime)
                   .offsetFromUtc()
            / 60;
    };
    thread_local std::unordered_map<qint64, std::pair<int, int>> days;
    const auto [day, added] = days.try_emplace(date.toJulianDay());
    if (added)
        day->second = {offsetAt(0), offsetAt(c_msPerDay - c_halfHour)};
    if (day->second.first == day->second.second)
        return day->second.first;
    return offsetAt(inDay - inDay % c_halfHour);
}

} // namespace

ReportCell textCell(std::string text)
{
    return ReportCell {std::move(text), {}, false};
}

ReportCell numberCell(std::string number)
{
    return ReportCell {std::move(number), {}, true};
}

ReportCell countCell(long long count)
{
    return numberCell(std::to_string(count));
}

ReportCell lengthCell(LocalMs length)
{
    char value[32];
    if (length % 1000 == 0)
        std::snprintf(value, sizeof value, "%lld", (long long)(length / 1000));
    else
        std::snprintf(value, sizeof value, "%lld.%03lld", (long long)(length / 1000),
            (long long)(length % 1000));
    const long long seconds = (length + 500) / 1000;
    const long long days = seconds / 86400;
    char shown[48];
    std::snprintf(shown, sizeof shown, "%02lld:%02lld:%02lld", seconds % 86400 / 3600,
        seconds % 3600 / 60, seconds % 60);
    return ReportCell {value, days > 0 ? std::to_string(days) + "d " + shown : shown, true};
}

ReportCell timeCell(LocalMs at)
{
    static const QDate dayZero(1899, 12, 30);
    const LocalMs day = (at >= 0 ? at : at - c_msPerDay + 1) / c_msPerDay;
    const LocalMs inDay = at - day * c_msPerDay;
    const QDate date = dayZero.addDays(day);
    const int offset = localOffsetMinutes(date, inDay);
    const int seconds = int(inDay / 1000);
    char shown[32];
    std::snprintf(shown, sizeof shown, "%04d-%02d-%02d %02d:%02d:%02d", date.year(), date.month(),
        date.day(), seconds / 3600, seconds / 60 % 60, seconds % 60);
    char fraction[8] = "";
    if (inDay % 1000)
        std::snprintf(fraction, sizeof fraction, ".%03d", int(inDay % 1000));
    char value[48];
    std::snprintf(value, sizeof value, "%.10sT%s%s%c%02d:%02d", shown, shown + 11, fraction,
        offset < 0 ? '-' : '+', std::abs(offset) / 60, std::abs(offset) % 60);
    return ReportCell {value, shown, false};
}

CReportTable::CReportTable(std::vector<ReportColumn> columns) : m_columns(std::move(columns)) { }

void CReportTable::addRow(std::vector<ReportCell> cells)
{
    cells.resize(m_columns.size());
    m_rows.push_back(std::move(cells));
}

void CReportTable::write(std::ostream& out, eReportFormat format) const
{
    switch (format) {
    case eReportFormat::eTEXT:
        writeText(out);
        break;
    case eReportFormat::eCSV:
        writeCsv(out);
        break;
    case eReportFormat::eJSON:
        writeJson(out);
        break;
    }
}

void CReportTable::writeText(std::ostream& out) const
{
    auto shownOf = [](const ReportCell& cell) -> std::string {
        if (!cell.shown.empty())
            return cell.shown;
        return cell.value.empty() ? "-" : cell.value;
    };
    std::vector<std::size_t> widths;
    std::vector<bool> numeric;
    for (std::size_t i = 0; i < m_columns.size(); ++i) {
        widths.push_back(columnsOf(m_columns[i].title));
        numeric.push_back(false);
        for (const auto& row : m_rows) {
            widths[i] = std::max(widths[i], columnsOf(shownOf(row[i])));
            numeric[i] = numeric[i] || row[i].number;
        }
    }
    // Numbers right-aligned, texts left-aligned, two spaces between columns, none at the end.
    auto line = [&](const std::vector<std::string>& cells) {
        std::string text;
        for (std::size_t i = 0; i < cells.size(); ++i) {
            const std::string pad(widths[i] - columnsOf(cells[i]), ' ');
            text += (i ? "  " : "") + (numeric[i] ? pad + cells[i] : cells[i] + pad);
        }
        text.erase(text.find_last_not_of(' ') + 1);
        out << text << '\n';
    };
    std::vector<std::string> titles;
    for (const ReportColumn& column : m_columns)
        titles.push_back(column.title);
    line(titles);
    for (const auto& row : m_rows) {
        std::vector<std::string> cells;
        for (const ReportCell& cell : row)
            cells.push_back(shownOf(cell));
        line(cells);
    }
}

void CReportTable::writeCsv(std::ostream& out) const
{
    auto line = [&](auto fieldOf) {
        for (std::size_t i = 0; i < m_columns.size(); ++i)
            out << (i ? "," : "") << csvField(fieldOf(i));
        out << "\r\n";
    };
    line([&](std::size_t i) { return m_columns[i].name; });
    for (const auto& row : m_rows)
        line([&](std::size_t i) { return row[i].value; });
}

void CReportTable::writeJson(std::ostream& out) const
{
    out << '[';
    for (std::size_t r = 0; r < m_rows.size(); ++r) {
        out << (r ? ",\n {" : "\n {");
        for (std::size_t i = 0; i < m_columns.size(); ++i) {
            const ReportCell& cell = m_rows[r][i];
            out << (i ? ", " : "") << jsonString(m_columns[i].name) << ": ";
            if (cell.value.empty())
                out << "null";
            else if (cell.number)
                out << cell.value;
            else
                out << jsonString(cell.value);
        }
        out << '}';
    }
    out << (m_rows.empty() ? "]\n" : "\n]\n");
}
