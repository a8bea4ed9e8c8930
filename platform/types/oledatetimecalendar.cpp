// The calendar arithmetic of the automation date: day numbers, the proleptic Gregorian calendar,
// the range and the fields of a value.

#include "platform/types/oledatetime_p.h"

#include <cmath>

namespace zoroledt {

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

} // namespace zoroledt
