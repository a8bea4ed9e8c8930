// The text of an automation date or span: the %-fields of the default locale.

#include "platform/types/oledatetime_p.h"

#include <charconv>

using namespace zoroledt;

namespace {

// --- formatting ---

void appendNumber(std::string& out, long long value, int width, bool noPadding)
{
    char digits[24];
    const bool negative = value < 0;
    const unsigned long long magnitude
        = negative ? 0ULL - static_cast<unsigned long long>(value) : value;
    const auto end = std::to_chars(digits, digits + sizeof digits, magnitude).ptr;
    const int length = static_cast<int>(end - digits);
    if (negative)
        out += '-';
    if (!noPadding) {
        for (int i = length + (negative ? 1 : 0); i < width; ++i)
            out += '0';
    }
    out.append(digits, end);
}

void appendSpacePadded(std::string& out, int value, bool noPadding)
{
    if (value < 10 && !noPadding)
        out += ' ';
    appendNumber(out, value, 1, true);
}

void appendZone(std::string& out, const COleDateTime& date, bool offset)
{
    const std::time_t t = date.GetAsTimeT();
    std::tm local {};
    if (t == -1 || localtime_r(&t, &local) == nullptr)
        return;
    if (!offset) {
        if (local.tm_zone != nullptr)
            out += local.tm_zone;
        return;
    }
    long minutes = local.tm_gmtoff / 60;
    out += minutes < 0 ? '-' : '+';
    minutes = minutes < 0 ? -minutes : minutes;
    appendNumber(out, minutes / 60, 2, false);
    appendNumber(out, minutes % 60, 2, false);
}

void appendLongDate(std::string& out, const DateFields& f)
{
    out += c_dayNames[f.dayOfWeek];
    out += ", ";
    out += c_monthNames[f.month - 1];
    out += ' ';
    appendNumber(out, f.day, 2, false);
    out += ", ";
    appendNumber(out, f.year, 1, false);
}

int hour12(int hour)
{
    return hour % 12 == 0 ? 12 : hour % 12;
}

} // namespace

namespace zoroledt {

void appendFields(std::string& out, const char* format, const DateFields& f,
    const COleDateTime& date, const SpanParts* span)
{
    for (const char* p = format; *p != '\0'; ++p) {
        if (*p != '%') {
            out += *p;
            continue;
        }
        const char* fieldStart = p;
        bool alternate = false;
        if (p[1] == '#') {
            alternate = true;
            ++p;
        }
        const char field = p[1];
        if (field == '\0') {
            out.append(fieldStart, p + 1);
            break;
        }
        ++p;
        if (span != nullptr) {
            switch (field) {
            case 'D':
                appendNumber(out, span->days, 1, true);
                continue;
            case 'H':
                appendNumber(out, span->hours, 2, alternate);
                continue;
            case 'M':
                appendNumber(out, span->minutes, 2, alternate);
                continue;
            case 'S':
                appendNumber(out, span->seconds, 2, alternate);
                continue;
            default:
                break;
            }
        }
        switch (field) {
        case 'a':
            out.append(c_dayNames[f.dayOfWeek], 3);
            break;
        case 'A':
            out += c_dayNames[f.dayOfWeek];
            break;
        case 'b':
        case 'h':
            out.append(c_monthNames[f.month - 1], 3);
            break;
        case 'B':
            out += c_monthNames[f.month - 1];
            break;
        case 'c':
            if (alternate) {
                appendLongDate(out, f);
                out += ' ';
                appendFields(out, "%H:%M:%S", f, date, nullptr);
            } else {
                appendFields(out, "%a %b %e %H:%M:%S %Y", f, date, nullptr);
            }
            break;
        case 'C':
            appendNumber(out, f.year / 100, 2, alternate);
            break;
        case 'd':
            appendNumber(out, f.day, 2, alternate);
            break;
        case 'D':
            appendFields(out, "%m/%d/%y", f, date, nullptr);
            break;
        case 'e':
            appendSpacePadded(out, f.day, alternate);
            break;
        case 'F':
            appendFields(out, "%Y-%m-%d", f, date, nullptr);
            break;
        case 'H':
            appendNumber(out, f.hour, 2, alternate);
            break;
        case 'I':
            appendNumber(out, hour12(f.hour), 2, alternate);
            break;
        case 'j':
            appendNumber(out, f.dayOfYear, 3, alternate);
            break;
        case 'm':
            appendNumber(out, f.month, 2, alternate);
            break;
        case 'M':
            appendNumber(out, f.minute, 2, alternate);
            break;
        case 'n':
            out += '\n';
            break;
        case 'p':
            out += f.hour < 12 ? "AM" : "PM";
            break;
        case 'R':
            appendFields(out, "%H:%M", f, date, nullptr);
            break;
        case 'S':
            appendNumber(out, f.second, 2, alternate);
            break;
        case 't':
            out += '\t';
            break;
        case 'T':
        case 'X':
            appendFields(out, "%H:%M:%S", f, date, nullptr);
            break;
        case 'u':
            appendNumber(out, f.dayOfWeek == 0 ? 7 : f.dayOfWeek, 1, true);
            break;
        case 'U':
            appendNumber(out, (f.dayOfYear - 1 + 7 - f.dayOfWeek) / 7, 2, alternate);
            break;
        case 'w':
            appendNumber(out, f.dayOfWeek, 1, true);
            break;
        case 'W':
            appendNumber(out, (f.dayOfYear - 1 + 7 - (f.dayOfWeek + 6) % 7) / 7, 2, alternate);
            break;
        case 'x':
            if (alternate)
                appendLongDate(out, f);
            else
                appendFields(out, "%m/%d/%y", f, date, nullptr);
            break;
        case 'y':
            appendNumber(out, f.year % 100, 2, alternate);
            break;
        case 'Y':
            appendNumber(out, f.year, 1, false);
            break;
        case 'z':
            appendZone(out, date, true);
            break;
        case 'Z':
            appendZone(out, date, false);
            break;
        case '%':
            out += '%';
            break;
        default:
            out.append(fieldStart, p + 1);
            break;
        }
    }
}

} // namespace zoroledt

std::string COleDateTime::Format(const char* pFormat) const
{
    if (m_status == null)
        return std::string();
    DateFields f;
    if (!fieldsFromValue(*this, f))
        return "Invalid DateTime";
    std::string out;
    if (pFormat != nullptr)
        appendFields(out, pFormat, f, *this, nullptr);
    return out;
}

std::string COleDateTime::Format() const
{
    if (m_status == null)
        return std::string();
    DateFields f;
    if (!fieldsFromValue(*this, f))
        return "Invalid DateTime";
    const char* format = "%x %X";
    if (f.dayNumber == 0)
        format = "%X";
    else if (f.secondOfDay == 0)
        format = "%x";
    std::string out;
    appendFields(out, format, f, *this, nullptr);
    return out;
}
