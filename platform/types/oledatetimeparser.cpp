// Reading an automation date from the default locale's date and time texts.

#include "platform/types/oledatetime_p.h"
#include "platform/types/textchars.h"

#include <cstring>

using namespace zoroledt;

namespace {

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

// Whether a word of the text equals a name or its first three letters, case aside.
bool wordMatches(const char* word, std::size_t length, const char* name)
{
    const std::size_t nameLength = std::strlen(name);
    if (length != nameLength && length != 3)
        return false;
    return zorEqualsNoCase(std::string_view(word, length), std::string_view(name, length));
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
            const char c = zorLowerAscii(word[0]);
            if ((c == 'a' || c == 'p')
                && (length == 1 || (length == 2 && zorLowerAscii(word[1]) == 'm')))
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
