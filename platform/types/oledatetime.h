#pragma once

// The automation date: local wall-clock time as days since 30 December 1899, the time of day
// as the fraction. Before that day the value is negative and the fraction still counts
// forward from midnight (-1.25 is 29 December 1899, 06:00), as the automation type defines it.
//
// The value carries a status: valid, invalid (a failed conversion or an out-of-range field)
// or null. Conversions from and to calendar fields are exact to the second; the fraction is
// rounded to the nearest second when it is split into fields.

#include "platform/types/wintypes.h"

#include <ctime>
#include <string>

class COleDateTimeSpan;

class COleDateTime
{
public:
    enum DateTimeStatus { valid = 0, invalid = 1, null = 2 };

    COleDateTime() = default; // valid, 30 December 1899 00:00:00
    COleDateTime(double dtSrc); // valid
    COleDateTime(int nYear, int nMonth, int nDay, int nHour, int nMin, int nSec);
    // A calendar time (seconds since the epoch) taken as local time through the system's
    // time-zone data.
    explicit COleDateTime(std::time_t timeSrc);

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
    // taken as the system's mktime takes it.
    std::time_t GetAsTimeT() const;

    // strftime fields, plus the "#" flag of the Windows formatter (%#x: the long date,
    // %#d: day without leading zero, and so on for the numeric fields). An invalid value gives
    // "Invalid DateTime", a null value an empty text.
    std::string Format(const char* pFormat) const;
    // The default form: date and time in the user's locale ("%x %X"), date alone at
    // midnight, time alone on 30 December 1899.
    std::string Format() const;

    // Parses a date, a time, or both in the default locale (the C/POSIX conventions with the
    // month first: "6/5/2002 14:07:09", "2002-06-05 14:07", "June 5, 2002", "14:07"). Returns
    // false and sets the status invalid when the text cannot be read; an empty text gives null.
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
    double GetTotalHours() const;
    double GetTotalMinutes() const;
    double GetTotalSeconds() const;
    // The parts, rounded to the nearest second first; negative spans give negative parts.
    long GetDays() const;
    long GetHours() const;
    long GetMinutes() const;
    long GetSeconds() const;

    // %D days, %H hours, %M minutes, %S seconds of the span, other strftime fields of the time
    // of day the span stands for.
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
