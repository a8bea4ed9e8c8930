#pragma once

// What the parts of the automation date share: the calendar arithmetic (oledatetimecalendar.cpp),
// the fields of a value and the field formatter (oledatetimeformat.cpp), which the date, its
// parser (oledatetimeparser.cpp) and the span (oledatetimespan.cpp) use.

#include "platform/types/oledatetime.h"

#include <string>

namespace zoroledt {

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

// Hours, minutes and seconds of a span, replacing %D %H %M %S of the date fields.
struct SpanParts
{
    long days {0};
    long hours {0};
    long minutes {0};
    long seconds {0};
};

long long floorDiv(long long a, long long b);
bool isLeapYear(int year);
int daysInMonth(int year, int month);
long long daysFromCivil(long long year, int month, int day);
void civilFromDays(long long days, int& year, int& month, int& day);
long long dayNumber(int year, int month, int day);
bool fieldsInRange(int year, int month, int day, int hour, int minute, int second);
double valueFromDayAndSeconds(long long day, long long secondOfDay);
double linearFromValue(double dt);
double valueFromLinear(double linear);
bool valueInRange(double dt);
bool secondsFromValue(double dt, long long& seconds);
bool fieldsFromValue(double dt, DateFields& f);
bool fieldsFromValue(const COleDateTime& date, DateFields& f);

// Appends the text of a format with the %-fields of a date (and of a span, if given).
void appendFields(std::string& out, const char* format, const DateFields& f,
    const COleDateTime& date, const SpanParts* span);

} // namespace zoroledt
