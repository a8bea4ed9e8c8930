#include "platform/types/oledatetime_p.h"

#include "platform/types/clock.h"

#include <cmath>

using namespace zoroledt;

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
