#include "framework/utilities/utilities.h"

#include "framework/diagnostics/diagnostics.h"
#include "platform/module/module.h"
#include "platform/ui/messagebox.h"
#include "platform/ui/strings.h"

#include <cctype>
#include <climits>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

std::string formatText(const char* format, ...) __attribute__((format(printf, 1, 2)));

std::string formatText(const char* format, ...)
{
    va_list args;
    va_start(args, format);
    va_list again;
    va_copy(again, args);
    const int length = std::vsnprintf(nullptr, 0, format, args);
    va_end(args);
    std::string text(length > 0 ? static_cast<std::size_t>(length) : 0, '\0');
    if (length > 0)
        std::vsnprintf(text.data(), text.size() + 1, format, again);
    va_end(again);
    return text;
}

// The standard decimal conversion: leading white space, a sign, digits; 0 when the text does
// not begin with a number. Values beyond the range of int are held at its ends.
int decimalValue(const char* text)
{
    if (!text)
        return 0;
    const long value = std::strtol(text, nullptr, 10);
    if (value > INT_MAX)
        return INT_MAX;
    if (value < INT_MIN)
        return INT_MIN;
    return static_cast<int>(value);
}

bool isAsciiSpace(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

// Copies up to 127 characters into a buffer of 128 and deletes every character of the set one
// by one, moving the rest of the text left and examining the same position again.
std::string removeCharacters(const char* text, const char* set)
{
    if (!text)
        return {};
    char buffer[128] = {};
    std::strncpy(buffer, text, sizeof buffer - 1);
    for (char* p = buffer; *p;) {
        if (std::strchr(set, *p))
            std::memmove(p, p + 1, std::strlen(p + 1) + 1);
        else
            ++p;
    }
    return buffer;
}

bool isLeapYear(int year)
{
    return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
}

// The walk of nextItem, one per thread: the standard tokeniser's state without its
// process-wide hidden pointer.
thread_local char* t_walk = nullptr;
// What nextItem gives when the walk has no further token.
thread_local char t_noItem[1] = {'\0'};

} // namespace

char* trim(char* text)
{
    if (!text || !*text)
        return text;
    const auto trimmed = [](char c) { return static_cast<signed char>(c) < 33; };
    char* begin = text;
    while (*begin && trimmed(*begin))
        ++begin;
    char* end = begin + std::strlen(begin);
    while (end > begin && trimmed(end[-1]))
        --end;
    const std::size_t length = static_cast<std::size_t>(end - begin);
    std::memmove(text, begin, length);
    text[length] = '\0';
    return text;
}

std::string trim(const char* text)
{
    if (!text)
        return {};
    const std::size_t length = std::strlen(text);
    if (length >= 1024)
        return text;
    char buffer[1024];
    std::memcpy(buffer, text, length + 1);
    return trim(buffer);
}

std::string trimUpper(const char* text)
{
    if (!text)
        return {};
    const char* begin = text;
    while (*begin && isAsciiSpace(*begin))
        ++begin;
    const char* end = begin + std::strlen(begin);
    while (end > begin && isAsciiSpace(end[-1]))
        --end;
    std::string upper(begin, end);
    for (char& c : upper) {
        if (c >= 'a' && c <= 'z')
            c = static_cast<char>(c - 'a' + 'A');
    }
    return upper;
}

std::string removeComma(const char* text)
{
    return removeCharacters(text, ",");
}

std::string nospace(const char* text)
{
    return removeCharacters(text, " ',-");
}

std::string loadString(UINT id)
{
    char text[512] = {};
    LoadStringA(AfxGetResourceHandle(), id, text, sizeof text);
    return text;
}

char* nextItem(char* text, const char* separators)
{
    // Continuing a walk that never began has nothing to give.
    if (!text && !t_walk) {
        t_noItem[0] = '\0';
        return t_noItem;
    }
    char* token = strtok_r(text, separators ? separators : "", &t_walk);
    if (!token) {
        t_noItem[0] = '\0';
        return t_noItem;
    }
    return trim(token);
}

int nextItemInt(char* text, const char* separators)
{
    return decimalValue(nextItem(text, separators));
}

std::string toString(int value)
{
    return formatText("%d", value);
}

std::string toComma(int value)
{
    // The digits of the magnitude; the sign goes in front of the grouped digits at the end, so
    // it is never taken for a digit of a group.
    const unsigned magnitude
        = value < 0 ? 0u - static_cast<unsigned>(value) : static_cast<unsigned>(value);

    // 1. The number right-aligned in a field of 10 characters.
    const std::string field = formatText("%10.1u", magnitude);

    // 2. From the right: the last three characters, then a comma and the three before them for
    // as long as the character before the group taken last is not a blank. Nine digits fill
    // three groups; a tenth digit makes a fourth group rather than being dropped.
    std::size_t start = field.size() - 3;
    std::string grouped = field.substr(start);
    while (start > 0 && field[start - 1] != ' ') {
        const std::size_t next = start >= 3 ? start - 3 : 0;
        grouped = field.substr(next, start - next) + "," + grouped;
        start = next;
    }

    // 3. Right-aligned in 12 characters, the sign before the first digit.
    grouped.erase(0, grouped.find_first_not_of(' '));
    if (value < 0)
        grouped.insert(0, 1, '-');
    if (grouped.size() < 12)
        grouped.insert(0, 12 - grouped.size(), ' ');
    return grouped;
}

std::string toHexString(int value, int digits)
{
    if (digits != 0)
        return formatText("0x%.*X", digits, static_cast<unsigned>(value));
    return formatText("0x%X", static_cast<unsigned>(value));
}

std::string toHexString(unsigned char value)
{
    return formatText("%.2X", static_cast<unsigned>(value));
}

int fromHex(const char* text)
{
    if (!text || !std::isxdigit(static_cast<unsigned char>(text[0])))
        return 0;
    // Read as "%X" reads it; a number beyond 32 bits is held at the largest one.
    const unsigned long long value = std::strtoull(text, nullptr, 16);
    return static_cast<int>(value > UINT_MAX ? UINT_MAX : static_cast<unsigned>(value));
}

int cvtIP(const char* text)
{
    if (!text)
        return 0;
    std::string copy(text);
    char* walk = nullptr;
    int parts[4] = {};
    char* token = strtok_r(copy.data(), ".", &walk);
    for (int i = 0; i < 4 && token; ++i) {
        parts[i] = decimalValue(trim(token));
        token = strtok_r(nullptr, ".", &walk);
    }
    const unsigned address = static_cast<unsigned>(parts[0]) << 24
        | static_cast<unsigned>(parts[1]) << 16 | static_cast<unsigned>(parts[2]) << 8
        | static_cast<unsigned>(parts[3]);
    return static_cast<int>(address);
}

std::string cvtIP(int address)
{
    const unsigned value = static_cast<unsigned>(address);
    return formatText("%u.%u.%u.%u", (value >> 24) & 0xFF, (value >> 16) & 0xFF,
        (value >> 8) & 0xFF, value & 0xFF);
}

bool isIP(const char* text)
{
    if (!text || !*text || std::strlen(text) > 15)
        return false;
    std::string copy(text);
    char* walk = nullptr;
    int parts = 0;
    long long sum = 0;
    for (char* token = strtok_r(copy.data(), ".", &walk); token && parts < 4;
         token = strtok_r(nullptr, ".", &walk)) {
        sum += decimalValue(token);
        ++parts;
    }
    return parts >= 4 && sum > 0;
}

bool validateDate(const char* text, COleDateTime& result, const char* fieldName)
{
    constexpr UINT boxType = MB_ICONEXCLAMATION | MB_OK;
    const bool named = fieldName && *fieldName;

    if (!text || !*text) {
        if (named)
            boxOut(__FILE__, __LINE__, boxType, "%s is blank.", fieldName);
        else
            boxOut(__FILE__, __LINE__, boxType, "Date is blank.");
        return false;
    }
    if (!std::strchr(text, '/') && !std::strchr(text, '-')) {
        if (named)
            boxOut(__FILE__, __LINE__, boxType,
                "Invalid %s. Please enter in the following format M/D/Y or M-D-Y.", fieldName);
        else
            boxOut(__FILE__, __LINE__, boxType,
                "Invalid date. Please enter in the following format M/D/Y or M-D-Y.");
        return false;
    }

    std::string copy(text);
    char* walk = nullptr;
    const char* monthToken = strtok_r(copy.data(), "-/", &walk);
    const char* dayToken = monthToken ? strtok_r(nullptr, "-/", &walk) : nullptr;
    const char* yearToken = dayToken ? strtok_r(nullptr, "-/", &walk) : nullptr;
    const int month = decimalValue(monthToken);
    const int day = decimalValue(dayToken);

    const int year = yearToken ? decimalValue(yearToken) : 0;
    if (!yearToken || year < 1990 || year > 2099) {
        boxOut(__FILE__, __LINE__, boxType, "Invalid year, enter from 1990 to 2099.");
        return false;
    }
    if (month < 1 || month > 12) {
        boxOut(__FILE__, __LINE__, boxType, "Invalid month, enter from 1 to 12.");
        return false;
    }
    const int length = daysInMonth(month, year);
    if (day < 1 || day > length) {
        boxOut(__FILE__, __LINE__, boxType, "Invalid day, enter from 1 to %d", length);
        return false;
    }
    result.SetDateTime(year, month, day, 0, 0, 0);
    return true;
}

std::string formatDate(const COleDateTime& date, eDATEFORMAT format, bool access)
{
    if (date.GetStatus() != COleDateTime::valid)
        return {};
    if (access) {
        switch (format) {
        case eDATEHOURMINUTE:
            return date.Format("#%m/%d/%Y %H:%M#");
        case eDATEHOURMINUTESECOND:
            return date.Format("#%m/%d/%Y %H:%M:%S#");
        default:
            return date.Format("#%m/%d/%Y#");
        }
    }
    switch (format) {
    case eDATEHOURMINUTE:
        return "CONVERT(DATETIME, " + date.Format("'%Y-%m-%d %H:%M:00'") + ",102)";
    case eDATEHOURMINUTESECOND:
        return "CONVERT(DATETIME, " + date.Format("'%Y-%m-%d %H:%M:%S'") + ",102)";
    default:
        return "CONVERT(DATETIME, " + date.Format("'%Y-%m-%d 00:00:00'") + ",102)";
    }
}

std::string formatTime(const COleDateTime& date, bool withTime)
{
    return date.Format(withTime ? "%m/%d/%y %H:%M" : "%m/%d/%y");
}

int daysInMonth(int month, int year)
{
    switch (month) {
    case 1:
    case 3:
    case 5:
    case 7:
    case 8:
    case 10:
    case 12:
        return 31;
    case 4:
    case 6:
    case 9:
    case 11:
        return 30;
    case 2:
        return isLeapYear(year) ? 29 : 28;
    default:
        return 0;
    }
}

int daysInYear(int year)
{
    return isLeapYear(year) ? 366 : 365;
}

COleDateTime dateOnly(const COleDateTime& date)
{
    if (date.GetStatus() != COleDateTime::valid)
        return date;
    return COleDateTime(date.GetYear(), date.GetMonth(), date.GetDay(), 0, 0, 0);
}

COleDateTime timeOnly(const COleDateTime& date)
{
    if (date.GetStatus() != COleDateTime::valid)
        return date;
    COleDateTime time;
    time.SetTime(date.GetHour(), date.GetMinute(), date.GetSecond());
    return time;
}
