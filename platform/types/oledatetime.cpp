#include "platform/types/oledatetime.h"

#include "platform/types/clock.h"

#include <charconv>
#include <cmath>
#include <cstring>

namespace {

constexpr long long c_secondsPerDay = 86400;
// 1 January 100 and 31 December 9999 as automation day numbers.
constexpr long long c_minDay = -657434;
constexpr long long c_maxDay = 2958465;
// Days from 1 January 1970 back to 30 December 1899.
constexpr long long c_epochOffsetDays = 25569;

const char* const c_dayNames[7]
    = {"Sunday", "Monday", "Tuesday", "Wednesday", "Thursday", "Friday", "Saturday"};
const char* const c_monthNames[12] = {"January", "February", "March", "April", "May", "June",
    "July", "August", "September", "October", "November", "December"};

long long floorDiv(long long a, long long b)
{
    long long q = a / b;
    if ((a % b != 0) && ((a < 0) != (b < 0)))
        --q;
    return q;
}

bool isLeapYear(int year)
{
    return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
}

int daysInMonth(int year, int month)
{
    static const int c_lengths[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return month == 2 && isLeapYear(year) ? 29 : c_lengths[month - 1];
}

// Days since 1 January 1970 of a date of the proleptic Gregorian calendar (the era-based
// day count: 400 years are exactly 146097 days).
long long daysFromCivil(long long year, int month, int day)
{
    year -= month <= 2 ? 1 : 0;
    const long long era = (year >= 0 ? year : year - 399) / 400;
    const long long yearOfEra = year - era * 400;
    const long long dayOfYear = (153 * (month + (month > 2 ? -3 : 9)) + 2) / 5 + day - 1;
    const long long dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
    return era * 146097 + dayOfEra - 719468;
}

void civilFromDays(long long days, int& year, int& month, int& day)
{
    days += 719468;
    const long long era = (days >= 0 ? days : days - 146096) / 146097;
    const long long dayOfEra = days - era * 146097;
    const long long yearOfEra
        = (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
    const long long dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
    const long long mp = (5 * dayOfYear + 2) / 153;
    day = static_cast<int>(dayOfYear - (153 * mp + 2) / 5 + 1);
    month = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
    year = static_cast<int>(yearOfEra + era * 400 + (month <= 2 ? 1 : 0));
}

// The automation day number of a calendar date.
long long dayNumber(int year, int month, int day)
{
    return daysFromCivil(year, month, day) + c_epochOffsetDays;
}

bool fieldsInRange(int year, int month, int day, int hour, int minute, int second)
{
    return year >= 100 && year <= 9999 && month >= 1 && month <= 12 && day >= 1
        && day <= daysInMonth(year, month) && hour >= 0 && hour <= 23 && minute >= 0 && minute <= 59
        && second >= 0 && second <= 59;
}

// The value for a day number and a time of day: the fraction counts forward from midnight
// also before 30 December 1899, where the day part is negative.
double valueFromDayAndSeconds(long long day, long long secondOfDay)
{
    const double fraction = static_cast<double>(secondOfDay) / c_secondsPerDay;
    return day >= 0 ? static_cast<double>(day) + fraction : static_cast<double>(day) - fraction;
}

// The value on a plain time line (days since 30 December 1899, increasing with time).
double linearFromValue(double dt)
{
    const double day = std::trunc(dt);
    return day + std::fabs(dt - day);
}

double valueFromLinear(double linear)
{
    const double day = std::floor(linear);
    return day >= 0 ? linear : day - (linear - day);
}

bool valueInRange(double dt)
{
    return std::isfinite(dt) && dt > static_cast<double>(c_minDay - 1)
        && dt < static_cast<double>(c_maxDay + 1);
}

// Seconds on the time line since 30 December 1899 00:00:00, rounded to the nearest second;
// false outside 1 January 100 00:00:00 to 31 December 9999 23:59:59.
bool secondsFromValue(double dt, long long& seconds)
{
    if (!valueInRange(dt))
        return false;
    const double day = std::trunc(dt);
    seconds = static_cast<long long>(day) * c_secondsPerDay
        + std::llround(std::fabs(dt - day) * c_secondsPerDay);
    return seconds >= c_minDay * c_secondsPerDay && seconds < (c_maxDay + 1) * c_secondsPerDay;
}

struct DateFields
{
    int year {1899};
    int month {12};
    int day {30};
    int hour {0};
    int minute {0};
    int second {0};
    int dayOfWeek {6}; // 0 = Sunday
    int dayOfYear {364}; // 1 = 1 January
    long long dayNumber {0};
    long long secondOfDay {0};
};

bool fieldsFromValue(double dt, DateFields& f)
{
    long long seconds = 0;
    if (!secondsFromValue(dt, seconds))
        return false;
    f.dayNumber = floorDiv(seconds, c_secondsPerDay);
    f.secondOfDay = seconds - f.dayNumber * c_secondsPerDay;
    civilFromDays(f.dayNumber - c_epochOffsetDays, f.year, f.month, f.day);
    f.hour = static_cast<int>(f.secondOfDay / 3600);
    f.minute = static_cast<int>(f.secondOfDay / 60 % 60);
    f.second = static_cast<int>(f.secondOfDay % 60);
    // 30 December 1899 was a Saturday.
    f.dayOfWeek = static_cast<int>((f.dayNumber % 7 + 13) % 7);
    f.dayOfYear = static_cast<int>(f.dayNumber - dayNumber(f.year, 1, 1) + 1);
    return true;
}

bool fieldsFromValue(const COleDateTime& date, DateFields& f)
{
    return date.GetStatus() == COleDateTime::valid && fieldsFromValue(date.m_dt, f);
}

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

// Hours, minutes and seconds of a span, replacing %D %H %M %S of the date fields.
struct SpanParts
{
    long days {0};
    long hours {0};
    long minutes {0};
    long seconds {0};
};

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

void appendFields(std::string& out, const char* format, const DateFields& f,
    const COleDateTime& date, const SpanParts* span);

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

// --- parsing ---

bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}

bool isAlpha(char c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

bool isBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f';
}

char lower(char c)
{
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

// Whether a word of the text equals a name or its first three letters, case aside.
bool wordMatches(const char* word, std::size_t length, const char* name)
{
    const std::size_t nameLength = std::strlen(name);
    if (length != nameLength && length != 3)
        return false;
    for (std::size_t i = 0; i < length; ++i) {
        if (lower(word[i]) != lower(name[i]))
            return false;
    }
    return true;
}

// A reader of the default locale's date and time texts; each rule either consumes its part
// of the text or leaves the position where it was.
class DateTextReader
{
public:
    explicit DateTextReader(const char* text) : m_p(text) { }

    bool read(int& year, int& month, int& day, long long& secondOfDay, bool& hasDate)
    {
        skipBlanks();
        const char* weekday = m_p;
        if (readWeekday()) {
            skipChar(',');
            skipBlanks();
            if (!readDate(year, month, day)) {
                m_p = weekday;
                return false;
            }
            hasDate = true;
        } else {
            hasDate = readDate(year, month, day);
        }

        bool hasTime = false;
        if (hasDate) {
            const char* afterDate = m_p;
            if (m_isoDate && (*m_p == 'T' || *m_p == 't') && isDigit(m_p[1])) {
                ++m_p;
                hasTime = readTime(secondOfDay);
            } else {
                skipChar(',');
                if (skipBlanks() || m_p != afterDate)
                    hasTime = readTime(secondOfDay);
            }
            if (!hasTime)
                m_p = afterDate;
        } else {
            hasTime = readTime(secondOfDay);
            if (!hasTime)
                return false;
            const char* afterTime = m_p;
            if (skipBlanks() && readDate(year, month, day))
                hasDate = true;
            else
                m_p = afterTime;
        }
        if (!hasTime)
            secondOfDay = 0;
        skipBlanks();
        return *m_p == '\0';
    }

private:
    bool skipBlanks()
    {
        const char* start = m_p;
        while (isBlank(*m_p))
            ++m_p;
        return m_p != start;
    }

    bool skipChar(char c)
    {
        if (*m_p != c)
            return false;
        ++m_p;
        return true;
    }

    // A decimal number of at most four digits; its digit count in digits.
    bool readNumber(int& value, int& digits)
    {
        const char* start = m_p;
        value = 0;
        while (isDigit(*m_p) && m_p - start < 5) {
            value = value * 10 + (*m_p - '0');
            ++m_p;
        }
        digits = static_cast<int>(m_p - start);
        if (digits == 0 || digits > 4 || isDigit(*m_p)) {
            m_p = start;
            return false;
        }
        return true;
    }

    bool readWord(const char*& word, std::size_t& length)
    {
        word = m_p;
        while (isAlpha(*m_p))
            ++m_p;
        length = static_cast<std::size_t>(m_p - word);
        return length > 0;
    }

    bool readWeekday()
    {
        const char* start = m_p;
        const char* word = nullptr;
        std::size_t length = 0;
        if (readWord(word, length)) {
            for (const char* name : c_dayNames) {
                if (wordMatches(word, length, name))
                    return true;
            }
        }
        m_p = start;
        return false;
    }

    bool readMonthName(int& month)
    {
        const char* start = m_p;
        const char* word = nullptr;
        std::size_t length = 0;
        if (readWord(word, length)) {
            for (int i = 0; i < 12; ++i) {
                if (wordMatches(word, length, c_monthNames[i])) {
                    month = i + 1;
                    return true;
                }
            }
        }
        m_p = start;
        return false;
    }

    static int yearFromDigits(int value, int digits)
    {
        if (digits > 2)
            return value;
        return value < 30 ? 2000 + value : 1900 + value;
    }

    bool readDate(int& year, int& month, int& day)
    {
        const char* start = m_p;
        m_isoDate = false;
        int y = 0, m = 0, d = 0;
        if (readNumericDate(y, m, d) || readDayMonthYear(y, m, d) || readMonthDayYear(y, m, d)) {
            year = y;
            month = m;
            day = d;
            return true;
        }
        m_p = start;
        return false;
    }

    // "6/5/2002", "6-5-02", "6.5.2002", "2002-06-05", "2002/6/5", "6/5" (this year).
    bool readNumericDate(int& year, int& month, int& day)
    {
        const char* start = m_p;
        int first = 0, firstDigits = 0, second = 0, secondDigits = 0;
        if (!readNumber(first, firstDigits))
            return false;
        const char separator = *m_p;
        if (separator != '/' && separator != '-' && separator != '.') {
            m_p = start;
            return false;
        }
        ++m_p;
        if (!readNumber(second, secondDigits) || secondDigits > 2) {
            m_p = start;
            return false;
        }
        const char* afterSecond = m_p;
        int third = 0, thirdDigits = 0;
        if (skipChar(separator) && readNumber(third, thirdDigits)) {
            if (firstDigits > 2) {
                if (thirdDigits > 2) {
                    m_p = start;
                    return false;
                }
                year = first;
                month = second;
                day = third;
                m_isoDate = true;
            } else {
                month = first;
                day = second;
                year = yearFromDigits(third, thirdDigits);
            }
            return true;
        }
        m_p = afterSecond;
        if (firstDigits > 2 || separator == '.') {
            m_p = start;
            return false;
        }
        month = first;
        day = second;
        year = COleDateTime::GetCurrentTime().GetYear();
        return true;
    }

    // A separator between the parts of a date with a month name: blanks, or one "-", "/" or
    // "." (with an optional "," before the year).
    bool skipNamedDateSeparator()
    {
        const char* start = m_p;
        if (*m_p == '-' || *m_p == '/' || *m_p == '.') {
            ++m_p;
            return true;
        }
        skipChar(',');
        skipBlanks();
        return m_p != start;
    }

    // "5 June 2002", "5-Jun-02", "05 Jun" (this year).
    bool readDayMonthYear(int& year, int& month, int& day)
    {
        const char* start = m_p;
        int digits = 0;
        if (!readNumber(day, digits) || digits > 2 || !skipNamedDateSeparator()
            || !readMonthName(month)) {
            m_p = start;
            return false;
        }
        return readOptionalYear(year);
    }

    // "June 5, 2002", "Jun 5 2002", "June 2002" (the first), "June 5" (this year).
    bool readMonthDayYear(int& year, int& month, int& day)
    {
        const char* start = m_p;
        if (!readMonthName(month))
            return false;
        int value = 0, digits = 0;
        if (!skipNamedDateSeparator() || !readNumber(value, digits)) {
            m_p = start;
            return false;
        }
        if (digits > 2) {
            year = value;
            day = 1;
            return true;
        }
        day = value;
        return readOptionalYear(year);
    }

    bool readOptionalYear(int& year)
    {
        const char* beforeYear = m_p;
        int value = 0, digits = 0;
        if (skipNamedDateSeparator() && readNumber(value, digits)) {
            // A number followed by ":" is the hour of a time, not a year.
            if (*m_p != ':') {
                year = yearFromDigits(value, digits);
                return true;
            }
        }
        m_p = beforeYear;
        year = COleDateTime::GetCurrentTime().GetYear();
        return true;
    }

    // "AM", "PM", "A" or "P", case aside; 0 when there is none, 1 for AM, 2 for PM.
    int readMeridiem()
    {
        const char* start = m_p;
        const char* word = nullptr;
        std::size_t length = 0;
        if (readWord(word, length)) {
            const char c = lower(word[0]);
            if ((c == 'a' || c == 'p') && (length == 1 || (length == 2 && lower(word[1]) == 'm')))
                return c == 'a' ? 1 : 2;
        }
        m_p = start;
        return 0;
    }

    // "14:07", "14:07:09", "2:07 PM", "2:07:09pm", "2 PM".
    bool readTime(long long& secondOfDay)
    {
        const char* start = m_p;
        int hour = 0, minute = 0, second = 0, digits = 0;
        if (!readNumber(hour, digits) || digits > 2)
            return fail(start);
        bool hasMinutes = false;
        if (skipChar(':')) {
            if (!readNumber(minute, digits) || digits > 2)
                return fail(start);
            hasMinutes = true;
            if (skipChar(':') && (!readNumber(second, digits) || digits > 2))
                return fail(start);
        }
        const char* beforeMeridiem = m_p;
        skipBlanks();
        const int meridiem = readMeridiem();
        if (meridiem == 0)
            m_p = beforeMeridiem;
        if (!hasMinutes && meridiem == 0)
            return fail(start);
        if (meridiem != 0) {
            if (hour > 12)
                return fail(start);
            hour = hour % 12 + (meridiem == 2 ? 12 : 0);
        }
        if (hour > 23 || minute > 59 || second > 59)
            return fail(start);
        secondOfDay = hour * 3600LL + minute * 60LL + second;
        return true;
    }

    bool fail(const char* start)
    {
        m_p = start;
        return false;
    }

    const char* m_p {nullptr};
    bool m_isoDate {false};
};

} // namespace

// --- COleDateTime ---

COleDateTime::COleDateTime(double dtSrc) : m_dt(dtSrc)
{
    long long seconds = 0;
    m_status = secondsFromValue(dtSrc, seconds) ? valid : invalid;
}

COleDateTime::COleDateTime(int nYear, int nMonth, int nDay, int nHour, int nMin, int nSec)
{
    SetDateTime(nYear, nMonth, nDay, nHour, nMin, nSec);
}

COleDateTime::COleDateTime(std::time_t timeSrc)
{
    std::tm local {};
    if (localtime_r(&timeSrc, &local) == nullptr) {
        m_dt = 0.0;
        m_status = invalid;
        return;
    }
    SetDateTime(local.tm_year + 1900, local.tm_mon + 1, local.tm_mday, local.tm_hour, local.tm_min,
        local.tm_sec > 59 ? 59 : local.tm_sec);
}

COleDateTime COleDateTime::GetCurrentTime()
{
    return COleDateTime(zorTimeNow());
}

int COleDateTime::SetDateTime(int nYear, int nMonth, int nDay, int nHour, int nMin, int nSec)
{
    if (!fieldsInRange(nYear, nMonth, nDay, nHour, nMin, nSec)) {
        m_dt = 0.0;
        m_status = invalid;
        return 1;
    }
    m_dt = valueFromDayAndSeconds(
        dayNumber(nYear, nMonth, nDay), nHour * 3600LL + nMin * 60LL + nSec);
    m_status = valid;
    return 0;
}

int COleDateTime::SetDate(int nYear, int nMonth, int nDay)
{
    return SetDateTime(nYear, nMonth, nDay, 0, 0, 0);
}

int COleDateTime::SetTime(int nHour, int nMin, int nSec)
{
    return SetDateTime(1899, 12, 30, nHour, nMin, nSec);
}

int COleDateTime::GetYear() const
{
    DateFields f;
    return fieldsFromValue(*this, f) ? f.year : -1;
}

int COleDateTime::GetMonth() const
{
    DateFields f;
    return fieldsFromValue(*this, f) ? f.month : -1;
}

int COleDateTime::GetDay() const
{
    DateFields f;
    return fieldsFromValue(*this, f) ? f.day : -1;
}

int COleDateTime::GetHour() const
{
    DateFields f;
    return fieldsFromValue(*this, f) ? f.hour : -1;
}

int COleDateTime::GetMinute() const
{
    DateFields f;
    return fieldsFromValue(*this, f) ? f.minute : -1;
}

int COleDateTime::GetSecond() const
{
    DateFields f;
    return fieldsFromValue(*this, f) ? f.second : -1;
}

int COleDateTime::GetDayOfWeek() const
{
    DateFields f;
    return fieldsFromValue(*this, f) ? f.dayOfWeek + 1 : -1;
}

int COleDateTime::GetDayOfYear() const
{
    DateFields f;
    return fieldsFromValue(*this, f) ? f.dayOfYear : -1;
}

bool COleDateTime::GetAsTm(std::tm& out) const
{
    DateFields f;
    if (!fieldsFromValue(*this, f))
        return false;
    out = std::tm {};
    out.tm_year = f.year - 1900;
    out.tm_mon = f.month - 1;
    out.tm_mday = f.day;
    out.tm_hour = f.hour;
    out.tm_min = f.minute;
    out.tm_sec = f.second;
    out.tm_wday = f.dayOfWeek;
    out.tm_yday = f.dayOfYear - 1;
    out.tm_isdst = -1;
    return true;
}

namespace {

bool sameWallClock(const std::tm& a, const std::tm& b)
{
    return a.tm_year == b.tm_year && a.tm_mon == b.tm_mon && a.tm_mday == b.tm_mday
        && a.tm_hour == b.tm_hour && a.tm_min == b.tm_min && a.tm_sec == b.tm_sec;
}

long offsetAt(std::time_t t)
{
    std::tm local {};
    return localtime_r(&t, &local) != nullptr ? local.tm_gmtoff : 0;
}

} // namespace

std::time_t COleDateTime::GetAsTimeT() const
{
    DateFields f;
    std::tm fields {};
    if (!fieldsFromValue(*this, f) || !GetAsTm(fields))
        return -1;
    // The wall-clock time read as if it were universal time; the instant is that minus the
    // zone's offset in force then. The offsets a day before and after cover a change of
    // daylight-saving time; when both fit (the repeated hour) the earlier instant is taken.
    const std::time_t asUniversal = static_cast<std::time_t>(
        (f.dayNumber - c_epochOffsetDays) * c_secondsPerDay + f.secondOfDay);
    const long offsets[2]
        = {offsetAt(asUniversal - c_secondsPerDay), offsetAt(asUniversal + c_secondsPerDay)};
    bool found = false;
    std::time_t best = -1;
    for (const long offset : offsets) {
        const std::time_t t = asUniversal - offset;
        std::tm local {};
        if (localtime_r(&t, &local) == nullptr || local.tm_gmtoff != offset
            || !sameWallClock(local, fields))
            continue;
        if (!found || t < best)
            best = t;
        found = true;
    }
    if (found)
        return best;
    // Skipped by a daylight-saving change (or a zone rule beyond the two offsets): as the
    // system's mktime takes it.
    return std::mktime(&fields);
}

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

bool COleDateTime::ParseDateTime(const char* lpszDate)
{
    m_dt = 0.0;
    const char* p = lpszDate;
    while (p != nullptr && isBlank(*p))
        ++p;
    if (p == nullptr || *p == '\0') {
        m_status = null;
        return false;
    }
    int year = 1899, month = 12, day = 30;
    long long secondOfDay = 0;
    bool hasDate = false;
    DateTextReader reader(p);
    if (!reader.read(year, month, day, secondOfDay, hasDate)
        || !fieldsInRange(year, month, day, 0, 0, 0)) {
        m_status = invalid;
        return false;
    }
    m_dt = valueFromDayAndSeconds(dayNumber(year, month, day), secondOfDay);
    m_status = valid;
    return true;
}

COleDateTime& COleDateTime::operator=(double dtSrc)
{
    *this = COleDateTime(dtSrc);
    return *this;
}

bool COleDateTime::operator==(const COleDateTime& o) const
{
    return m_status == o.m_status && linearFromValue(m_dt) == linearFromValue(o.m_dt);
}

bool COleDateTime::operator!=(const COleDateTime& o) const
{
    return !(*this == o);
}

bool COleDateTime::operator<(const COleDateTime& o) const
{
    return linearFromValue(m_dt) < linearFromValue(o.m_dt);
}

bool COleDateTime::operator>(const COleDateTime& o) const
{
    return linearFromValue(m_dt) > linearFromValue(o.m_dt);
}

bool COleDateTime::operator<=(const COleDateTime& o) const
{
    return linearFromValue(m_dt) <= linearFromValue(o.m_dt);
}

bool COleDateTime::operator>=(const COleDateTime& o) const
{
    return linearFromValue(m_dt) >= linearFromValue(o.m_dt);
}

COleDateTime COleDateTime::operator+(const COleDateTimeSpan& span) const
{
    COleDateTime result;
    if (m_status == invalid || span.GetStatus() == COleDateTimeSpan::invalid) {
        result.m_status = invalid;
        return result;
    }
    if (m_status == null || span.GetStatus() == COleDateTimeSpan::null) {
        result.m_status = null;
        return result;
    }
    return COleDateTime(valueFromLinear(linearFromValue(m_dt) + span.m_span));
}

COleDateTime COleDateTime::operator-(const COleDateTimeSpan& span) const
{
    return *this + (-span);
}

COleDateTime& COleDateTime::operator+=(const COleDateTimeSpan& span)
{
    *this = *this + span;
    return *this;
}

COleDateTime& COleDateTime::operator-=(const COleDateTimeSpan& span)
{
    *this = *this - span;
    return *this;
}

COleDateTimeSpan COleDateTime::operator-(const COleDateTime& o) const
{
    COleDateTimeSpan result;
    if (m_status == invalid || o.m_status == invalid)
        result.m_status = COleDateTimeSpan::invalid;
    else if (m_status == null || o.m_status == null)
        result.m_status = COleDateTimeSpan::null;
    else
        result.m_span = linearFromValue(m_dt) - linearFromValue(o.m_dt);
    return result;
}

// --- COleDateTimeSpan ---

namespace {

long long roundedSeconds(double span)
{
    const double seconds = span * c_secondsPerDay;
    if (!std::isfinite(seconds) || std::fabs(seconds) > 9.0e18)
        return 0;
    return std::llround(seconds);
}

} // namespace

COleDateTimeSpan::COleDateTimeSpan(double dblSpanSrc)
    : m_span(dblSpanSrc), m_status(std::isfinite(dblSpanSrc) ? valid : invalid)
{ }

COleDateTimeSpan::COleDateTimeSpan(long lDays, int nHours, int nMins, int nSecs)
{
    SetDateTimeSpan(lDays, nHours, nMins, nSecs);
}

void COleDateTimeSpan::SetDateTimeSpan(long lDays, int nHours, int nMins, int nSecs)
{
    const long long seconds
        = lDays * c_secondsPerDay + nHours * 3600LL + nMins * 60LL + static_cast<long long>(nSecs);
    m_span = static_cast<double>(seconds) / c_secondsPerDay;
    m_status = valid;
}

double COleDateTimeSpan::GetTotalHours() const
{
    return static_cast<double>(roundedSeconds(m_span)) / 3600.0;
}

double COleDateTimeSpan::GetTotalMinutes() const
{
    return static_cast<double>(roundedSeconds(m_span)) / 60.0;
}

double COleDateTimeSpan::GetTotalSeconds() const
{
    return static_cast<double>(roundedSeconds(m_span));
}

long COleDateTimeSpan::GetDays() const
{
    return static_cast<long>(roundedSeconds(m_span) / c_secondsPerDay);
}

long COleDateTimeSpan::GetHours() const
{
    return static_cast<long>(roundedSeconds(m_span) % c_secondsPerDay / 3600);
}

long COleDateTimeSpan::GetMinutes() const
{
    return static_cast<long>(roundedSeconds(m_span) % 3600 / 60);
}

long COleDateTimeSpan::GetSeconds() const
{
    return static_cast<long>(roundedSeconds(m_span) % 60);
}

std::string COleDateTimeSpan::Format(const char* pFormat) const
{
    if (m_status == null)
        return std::string();
    if (m_status == invalid || !std::isfinite(m_span))
        return "Invalid DateTimeSpan";
    DateFields f;
    if (!fieldsFromValue(m_span, f)) {
        // Longer than the calendar reaches: the other fields show the time of day alone.
        const long long seconds = roundedSeconds(m_span) % c_secondsPerDay;
        fieldsFromValue(valueFromDayAndSeconds(0, seconds < 0 ? -seconds : seconds), f);
    }
    const SpanParts parts {GetDays(), GetHours(), GetMinutes(), GetSeconds()};
    std::string out;
    if (pFormat != nullptr)
        appendFields(out, pFormat, f, COleDateTime(m_span), &parts);
    return out;
}

bool COleDateTimeSpan::operator==(const COleDateTimeSpan& o) const
{
    return m_status == o.m_status && m_span == o.m_span;
}

bool COleDateTimeSpan::operator!=(const COleDateTimeSpan& o) const
{
    return !(*this == o);
}

bool COleDateTimeSpan::operator<(const COleDateTimeSpan& o) const
{
    return m_span < o.m_span;
}

bool COleDateTimeSpan::operator>(const COleDateTimeSpan& o) const
{
    return m_span > o.m_span;
}

bool COleDateTimeSpan::operator<=(const COleDateTimeSpan& o) const
{
    return m_span <= o.m_span;
}

bool COleDateTimeSpan::operator>=(const COleDateTimeSpan& o) const
{
    return m_span >= o.m_span;
}

namespace {

COleDateTimeSpan combined(const COleDateTimeSpan& a, const COleDateTimeSpan& b, double value)
{
    COleDateTimeSpan result(value);
    if (a.GetStatus() == COleDateTimeSpan::invalid || b.GetStatus() == COleDateTimeSpan::invalid)
        result.SetStatus(COleDateTimeSpan::invalid);
    else if (a.GetStatus() == COleDateTimeSpan::null || b.GetStatus() == COleDateTimeSpan::null)
        result.SetStatus(COleDateTimeSpan::null);
    return result;
}

} // namespace

COleDateTimeSpan COleDateTimeSpan::operator+(const COleDateTimeSpan& o) const
{
    return combined(*this, o, m_span + o.m_span);
}

COleDateTimeSpan COleDateTimeSpan::operator-(const COleDateTimeSpan& o) const
{
    return combined(*this, o, m_span - o.m_span);
}

COleDateTimeSpan COleDateTimeSpan::operator-() const
{
    COleDateTimeSpan result(-m_span);
    result.m_status = m_status;
    return result;
}
