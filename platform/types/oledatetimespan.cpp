// The automation date's span: a length of time in days with fraction.

#include "platform/types/oledatetime_p.h"

#include <cmath>

using namespace zoroledt;

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
