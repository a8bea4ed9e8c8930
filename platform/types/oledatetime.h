#pragma once

// The automation date: local wall-clock time as days since 30 December 1899, the time of day
// as the fraction. Before that day the value is negative and the fraction still counts
// forward from midnight (-1.25 is 29 December 1899, 06:00), as the automation type defines it.
//
// The value carries a status: valid, invalid (a failed conversion, an out-of-range field or a
// value outside 1 January 100 to 31 December 9999) or null. Conversions from and to calendar
// fields are exact to the second; the fraction is rounded to the nearest second when it is
// split into fields. Order, differences and sums follow the time line, so they hold for values
// before 1900 too.
//
// The default locale of formatting and parsing: the C/POSIX conventions with English names, the
// month before the day. %x is "06/05/02", %X "14:07:09", %c "Wed Jun  5 14:07:09 2002", %p
// "AM"/"PM"; the long date of %#x is "dddd, MMMM dd, yyyy" ("Wednesday, June 05, 2002"). The
// texts never depend on the process's C locale, so a program that switches it (as Qt does at
// start) formats and reads dates the same way. Two-digit years read as 1930 to 2029.

#include "platform/types/wintypes.h"

#include <ctime>
#include <string>

class COleDateTimeSpan;

class COleDateTime
{
public:
    enum DateTimeStatus { valid = 0, invalid = 1, null = 2 };

    COleDateTime() = default; // valid, 30 December 1899 00:00:00
    COleDateTime(double dtSrc); // valid when inside the range above, invalid otherwise
    COleDateTime(int nYear, int nMonth, int nDay, int nHour, int nMin, int nSec);
    // A calendar time (seconds since the epoch) taken as local time through the system's
    // time-zone data.
    explicit COleDateTime(std::time_t timeSrc);

    // The local wall-clock time now, in whole seconds (of the suite's clock,
    // platform/types/clock.h).
    static COleDateTime GetCurrentTime();

    DateTimeStatus GetStatus() const { return m_status; }
    void SetStatus(DateTimeStatus status) { m_status = status; }

    // Each returns 0 on success; out-of-range fields leave the value invalid and return 1.
    // Years run from 100 to 9999, months 1-12, days 1 to the month's length, hours 0-23,
    // minutes and seconds 0-59.
    int SetDateTime(int nYear, int nMonth, int nDay, int nHour, int nMin, int nSec);
    int SetDate(int nYear, int nMonth, int nDay);
    int SetTime(int nHour, int nMin, int nSec); // a time on 30 December 1899

    // Calendar fields of a valid value; -1 (AFX_OLE_DATETIME_ERROR) when not valid.
    int GetYear() const;
    int GetMonth() const;
    int GetDay() const;
    int GetHour() const;
    int GetMinute() const;
    int GetSecond() const;
    int GetDayOfWeek() const; // 1 = Sunday ... 7 = Saturday
    int GetDayOfYear() const; // 1 = 1 January

    // Fills a struct tm with the fields (tm_isdst = -1); false when not valid.
    bool GetAsTm(std::tm& out) const;
    // The value as local calendar time, through the system's time-zone data; -1 when not
    // valid. A wall-clock time that does not exist (skipped by a daylight-saving change) is
    // taken as the system's mktime takes it; one that happens twice (the hour repeated when
    // daylight-saving time ends) gives the earlier of the two instants.
    std::time_t GetAsTimeT() const;

    // strftime fields in the default locale: %a %A %b %B %c %C %d %D %e %F %h %H %I %j %m %M
    // %n %p %R %S %t %T %u %U %w %W %x %X %y %Y %z %Z %%, plus the "#" flag of the Windows
    // formatter: %#x is the long date, %#c the long date and the time, and on the numeric
    // fields (%#d, %#H, %#j, %#m, ...) it removes the leading zeros. An unknown field is copied
    // as it stands. An invalid value gives "Invalid DateTime", a null value an empty text.
    std::string Format(const char* pFormat) const;
    // The default form: date and time in the default locale ("%x %X"), the date alone at
    // midnight, the time alone on 30 December 1899.
    std::string Format() const;

    // Parses a date, a time, or both in the default locale: "6/5/2002", "6-5-2002",
    // "06/05/02", "2002-06-05", "June 5, 2002", "Jun 5 2002", "5 June 2002", "5-Jun-2002",
    // a leading day name ("Wednesday, June 05, 2002"), then optionally a time "14:07",
    // "14:07:09", "2:07 PM", "2 PM" (after a blank, or a "T" after a year-first date); or a
    // time alone, which lands on 30 December 1899; a month and day without a year take the
    // current year. Blanks around the text are ignored, anything else left over fails.
    // Returns false and sets the status invalid (value 0) when the text cannot be read or
    // names an impossible date or time; a null or blank text gives false and status null.
    bool ParseDateTime(const char* lpszDate);

    operator double() const { return m_dt; }

    COleDateTime& operator=(double dtSrc);
    bool operator==(const COleDateTime& o) const;
    bool operator!=(const COleDateTime& o) const;
    bool operator<(const COleDateTime& o) const;
    bool operator>(const COleDateTime& o) const;
    bool operator<=(const COleDateTime& o) const;
    bool operator>=(const COleDateTime& o) const;

    COleDateTime operator+(const COleDateTimeSpan& span) const;
    COleDateTime operator-(const COleDateTimeSpan& span) const;
    COleDateTime& operator+=(const COleDateTimeSpan& span);
    COleDateTime& operator-=(const COleDateTimeSpan& span);
    COleDateTimeSpan operator-(const COleDateTime& o) const;

    double m_dt {0.0};
    DateTimeStatus m_status {valid};
};

// A length of time in days with fraction.
class COleDateTimeSpan
{
public:
    enum DateTimeSpanStatus { valid = 0, invalid = 1, null = 2 };

    COleDateTimeSpan() = default;
    COleDateTimeSpan(double dblSpanSrc);
    COleDateTimeSpan(long lDays, int nHours, int nMins, int nSecs);

    void SetDateTimeSpan(long lDays, int nHours, int nMins, int nSecs);
    DateTimeSpanStatus GetStatus() const { return m_status; }
    void SetStatus(DateTimeSpanStatus status) { m_status = status; }

    double GetTotalDays() const { return m_span; }
    // The length rounded to the nearest second, in hours, minutes or (whole) seconds.
    double GetTotalHours() const;
    double GetTotalMinutes() const;
    double GetTotalSeconds() const;
    // The parts, rounded to the nearest second first; negative spans give negative parts.
    long GetDays() const;
    long GetHours() const;
    long GetMinutes() const;
    long GetSeconds() const;

    // %D days, %H hours, %M minutes, %S seconds of the span (the parts above; hours, minutes
    // and seconds two digits, "#" drops the leading zero), other fields as COleDateTime's
    // for the span taken as a date. An invalid span gives "Invalid DateTimeSpan", a null span
    // an empty text.
    std::string Format(const char* pFormat) const;

    operator double() const { return m_span; }
    bool operator==(const COleDateTimeSpan& o) const;
    bool operator!=(const COleDateTimeSpan& o) const;
    bool operator<(const COleDateTimeSpan& o) const;
    bool operator>(const COleDateTimeSpan& o) const;
    bool operator<=(const COleDateTimeSpan& o) const;
    bool operator>=(const COleDateTimeSpan& o) const;
    COleDateTimeSpan operator+(const COleDateTimeSpan& o) const;
    COleDateTimeSpan operator-(const COleDateTimeSpan& o) const;
    COleDateTimeSpan operator-() const;

    double m_span {0.0};
    DateTimeSpanStatus m_status {valid};
};
