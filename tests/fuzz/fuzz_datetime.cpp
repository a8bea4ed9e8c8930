// libFuzzer target: arbitrary text through COleDateTime::ParseDateTime, the reader of dates in
// settings, database fields, variants and list columns.
//
// Invariants: a parse that succeeds leaves a valid value inside 1 January 100 to 31 December
// 9999, one that fails leaves the value 0 with the status invalid (null for a blank text); and
// a parsed value written in a lossless form (the year in full, the time to the second) parses
// back to the same value, in the numeric form and in the long form with month and day names.

#include "platform/types/oledatetime.h"

#include <cstddef>
#include <cstdint>
#include <string>

namespace {

void check(bool condition)
{
    if (!condition)
        __builtin_trap();
}

// The bounds of the values from 1 January 100 00:00:00 to 31 December 9999 23:59:59. Before
// 1900 the fraction counts forward from midnight on a negative day number, so the first day
// runs from -657434 down towards -657435.
constexpr double FIRST_DAY_END = -657435.0;
constexpr double LAST_DAY_END = 2958466.0;

void checkRoundTrip(const COleDateTime& value, const char* format)
{
    const std::string text = value.Format(format);
    COleDateTime again;
    check(again.ParseDateTime(text.c_str()));
    check(again.GetStatus() == COleDateTime::valid && again == value);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string text(reinterpret_cast<const char*>(data), size);
    COleDateTime value(12345.5);
    const bool parsed = value.ParseDateTime(text.c_str());
    if (!parsed) {
        check(value.m_dt == 0.0 && value.GetStatus() != COleDateTime::valid);
        return 0;
    }
    check(value.GetStatus() == COleDateTime::valid);
    check(value.m_dt > FIRST_DAY_END && value.m_dt < LAST_DAY_END);
    check(value.GetYear() >= 100 && value.GetYear() <= 9999);

    checkRoundTrip(value, "%m/%d/%Y %H:%M:%S");
    checkRoundTrip(value, "%#x %H:%M:%S");
    checkRoundTrip(value, "%Y-%m-%dT%H:%M:%S");
    // The forms a variant writes: the time alone on day zero, the date alone at midnight.
    const bool dayZero = value.GetYear() == 1899 && value.GetMonth() == 12 && value.GetDay() == 30;
    const bool midnight = value.GetHour() == 0 && value.GetMinute() == 0 && value.GetSecond() == 0;
    if (dayZero)
        checkRoundTrip(value, "%H:%M:%S");
    if (midnight)
        checkRoundTrip(value, "%m/%d/%Y");
    // The default form has a two-digit year, which reads back inside 1930 to 2029 (and on day
    // zero, which it leaves out).
    if (dayZero || (value.GetYear() >= 1930 && value.GetYear() <= 2029)) {
        COleDateTime again;
        check(again.ParseDateTime(value.Format().c_str()) && again == value);
    }
    return 0;
}
