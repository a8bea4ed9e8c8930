#include "platform/types/oledatetime.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>
#include <ostream>
#include <string>
#include <sys/stat.h>

namespace {

struct Fields
{
    int year, month, day, hour, minute, second;
};

void expectFields(const COleDateTime& date, const Fields& f)
{
    EXPECT_EQ(date.GetStatus(), COleDateTime::valid);
    EXPECT_EQ(date.GetYear(), f.year);
    EXPECT_EQ(date.GetMonth(), f.month);
    EXPECT_EQ(date.GetDay(), f.day);
    EXPECT_EQ(date.GetHour(), f.hour);
    EXPECT_EQ(date.GetMinute(), f.minute);
    EXPECT_EQ(date.GetSecond(), f.second);
}

// --- the value and its calendar fields ---

struct KnownValue
{
    const char* name;
    Fields fields;
    double value;
};

class DateValueKnown : public ::testing::TestWithParam<KnownValue>
{
};

TEST_P(DateValueKnown, FieldsGiveValueAndBack)
{
    const KnownValue& c = GetParam();
    const COleDateTime date(c.fields.year, c.fields.month, c.fields.day, c.fields.hour,
        c.fields.minute, c.fields.second);
    EXPECT_DOUBLE_EQ(date.m_dt, c.value);
    expectFields(COleDateTime(c.value), c.fields);
}

INSTANTIATE_TEST_SUITE_P(DateValue, DateValueKnown,
    ::testing::Values(KnownValue {"Origin", {1899, 12, 30, 0, 0, 0}, 0.0},
        KnownValue {"FirstOf1900", {1900, 1, 1, 0, 0, 0}, 2.0},
        KnownValue {"LeapDay2000", {2000, 2, 29, 0, 0, 0}, 36585.0},
        KnownValue {"June2002", {2002, 6, 5, 14, 7, 9}, 37412.0 + 50829.0 / 86400.0},
        KnownValue {"NegativeMorning", {1899, 12, 29, 6, 0, 0}, -1.25},
        KnownValue {"NegativeEvening", {1899, 12, 29, 18, 0, 0}, -1.75},
        KnownValue {"FirstDay", {100, 1, 1, 0, 0, 0}, -657434.0},
        KnownValue {"LastDay", {9999, 12, 31, 0, 0, 0}, 2958465.0},
        KnownValue {"LastSecond", {9999, 12, 31, 23, 59, 59}, 2958465.0 + 86399.0 / 86400.0}),
    [](const auto& info) { return std::string(info.param.name); });

// Every day of the calendar range against the C library's proleptic Gregorian calendar.
TEST(DateValue, EveryDayMatchesTheCalendar)
{
    for (long long day = -657434; day <= 2958465; ++day) {
        const std::time_t t = static_cast<std::time_t>(day - 25569) * 86400;
        std::tm utc {};
        ASSERT_NE(gmtime_r(&t, &utc), nullptr);
        const COleDateTime date(static_cast<double>(day));
        ASSERT_EQ(date.GetYear(), utc.tm_year + 1900) << day;
        ASSERT_EQ(date.GetMonth(), utc.tm_mon + 1) << day;
        ASSERT_EQ(date.GetDay(), utc.tm_mday) << day;
        ASSERT_EQ(date.GetDayOfWeek(), utc.tm_wday + 1) << day;
        ASSERT_EQ(date.GetDayOfYear(), utc.tm_yday + 1) << day;
        COleDateTime made;
        ASSERT_EQ(made.SetDate(utc.tm_year + 1900, utc.tm_mon + 1, utc.tm_mday), 0);
        ASSERT_EQ(made.m_dt, static_cast<double>(day));
    }
}

TEST(DateValue, EverySecondOfADayReadsBack)
{
    for (int s = 0; s < 86400; ++s) {
        for (const int year : {1990, 2099, 1850}) {
            const COleDateTime date(year, 7, 14, s / 3600, s / 60 % 60, s % 60);
            ASSERT_EQ(date.GetHour() * 3600 + date.GetMinute() * 60 + date.GetSecond(), s);
            ASSERT_EQ(date.GetDay(), 14);
        }
    }
}

TEST(DateValue, FractionRoundsToTheNearestSecond)
{
    const double noon = 37412.5;
    EXPECT_EQ(COleDateTime(noon + 0.4 / 86400).GetSecond(), 0);
    EXPECT_EQ(COleDateTime(noon + 0.6 / 86400).GetSecond(), 1);
    // Rounding up the last second of a day carries into the next day.
    expectFields(COleDateTime(37412.0 + 86399.6 / 86400), {2002, 6, 6, 0, 0, 0});
    // Before 1900 the fraction counts forward from midnight too.
    expectFields(COleDateTime(-1.0 - 86399.6 / 86400), {1899, 12, 30, 0, 0, 0});
}

struct BadFields
{
    const char* name;
    Fields fields;
};

class DateFieldsOutOfRange : public ::testing::TestWithParam<BadFields>
{
};

TEST_P(DateFieldsOutOfRange, LeaveTheValueInvalid)
{
    const Fields& f = GetParam().fields;
    COleDateTime date(2002, 6, 5, 0, 0, 0);
    EXPECT_EQ(date.SetDateTime(f.year, f.month, f.day, f.hour, f.minute, f.second), 1);
    EXPECT_EQ(date.GetStatus(), COleDateTime::invalid);
    EXPECT_EQ(date.GetYear(), -1);
    EXPECT_EQ(date.GetDayOfWeek(), -1);
    EXPECT_EQ(date.Format("%Y"), "Invalid DateTime");
    std::tm tm {};
    EXPECT_FALSE(date.GetAsTm(tm));
    EXPECT_EQ(date.GetAsTimeT(), -1);
}

INSTANTIATE_TEST_SUITE_P(DateFields, DateFieldsOutOfRange,
    ::testing::Values(BadFields {"Month13", {2002, 13, 1, 0, 0, 0}},
        BadFields {"Month0", {2002, 0, 1, 0, 0, 0}}, BadFields {"April31", {2002, 4, 31, 0, 0, 0}},
        BadFields {"February29NotLeap", {1900, 2, 29, 0, 0, 0}},
        BadFields {"Day0", {2002, 6, 0, 0, 0, 0}}, BadFields {"Hour24", {2002, 6, 5, 24, 0, 0}},
        BadFields {"Minute60", {2002, 6, 5, 0, 60, 0}},
        BadFields {"Second60", {2002, 6, 5, 0, 0, 60}},
        BadFields {"NegativeSecond", {2002, 6, 5, 0, 0, -1}},
        BadFields {"Year99", {99, 12, 31, 0, 0, 0}},
        BadFields {"Year10000", {10000, 1, 1, 0, 0, 0}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(DateValue, OutsideTheCalendarIsInvalid)
{
    EXPECT_EQ(COleDateTime(2958466.0).GetStatus(), COleDateTime::invalid);
    EXPECT_EQ(COleDateTime(-657435.0).GetStatus(), COleDateTime::invalid);
    EXPECT_EQ(COleDateTime(1e300).Format(), "Invalid DateTime");
    COleDateTime date;
    date = 37412.0;
    EXPECT_EQ(date.GetStatus(), COleDateTime::valid);
    date = -1e9;
    EXPECT_EQ(date.GetStatus(), COleDateTime::invalid);
}

TEST(DateValue, NullHasNoFieldsAndNoText)
{
    COleDateTime date(37412.0);
    date.SetStatus(COleDateTime::null);
    EXPECT_EQ(date.GetYear(), -1);
    EXPECT_EQ(date.Format("%Y"), "");
    EXPECT_EQ(date.Format(), "");
}

TEST(DateValue, SetTimeLandsOnTheOrigin)
{
    COleDateTime date;
    ASSERT_EQ(date.SetTime(18, 0, 0), 0);
    EXPECT_DOUBLE_EQ(date.m_dt, 0.75);
    expectFields(date, {1899, 12, 30, 18, 0, 0});
}

TEST(DateValue, AsTmHasWeekdayAndDayOfYear)
{
    std::tm tm {};
    ASSERT_TRUE(COleDateTime(2002, 6, 5, 14, 7, 9).GetAsTm(tm));
    EXPECT_EQ(tm.tm_year, 102);
    EXPECT_EQ(tm.tm_mon, 5);
    EXPECT_EQ(tm.tm_mday, 5);
    EXPECT_EQ(tm.tm_wday, 3);
    EXPECT_EQ(tm.tm_yday, 155);
    EXPECT_EQ(tm.tm_isdst, -1);
}

// --- arithmetic and order on the time line ---

TEST(DateArithmetic, OrderFollowsTimeBefore1900)
{
    const COleDateTime morning(1899, 12, 29, 6, 0, 0); // -1.25
    const COleDateTime evening(1899, 12, 29, 18, 0, 0); // -1.75
    EXPECT_TRUE(morning < evening);
    EXPECT_TRUE(evening > morning);
    EXPECT_TRUE(morning <= evening);
    EXPECT_FALSE(morning >= evening);
    EXPECT_DOUBLE_EQ((evening - morning).GetTotalDays(), 0.5);
}

TEST(DateArithmetic, SpanCrossesTheOrigin)
{
    const COleDateTime date(1899, 12, 31, 0, 0, 0);
    const COleDateTime earlier = date - COleDateTimeSpan(2, 6, 0, 0);
    expectFields(earlier, {1899, 12, 28, 18, 0, 0});
    EXPECT_DOUBLE_EQ(earlier.m_dt, -2.75);
    expectFields(earlier + COleDateTimeSpan(2, 6, 0, 0), {1899, 12, 31, 0, 0, 0});
    COleDateTime walk(1899, 12, 29, 12, 0, 0);
    walk += COleDateTimeSpan(0, 18, 0, 0);
    expectFields(walk, {1899, 12, 30, 6, 0, 0});
    walk -= COleDateTimeSpan(0, 12, 0, 0);
    expectFields(walk, {1899, 12, 29, 18, 0, 0});
}

TEST(DateArithmetic, DifferenceIsExactToTheSecond)
{
    const COleDateTime down(2002, 6, 5, 23, 58, 30);
    const COleDateTime up(2002, 6, 7, 0, 1, 15);
    const COleDateTimeSpan length = up - down;
    EXPECT_EQ(length.GetDays(), 1);
    EXPECT_EQ(length.GetHours(), 0);
    EXPECT_EQ(length.GetMinutes(), 2);
    EXPECT_EQ(length.GetSeconds(), 45);
    EXPECT_EQ(length.GetTotalSeconds(), 86565.0);
    EXPECT_EQ(length.Format("%H:%M:%S"), "00:02:45");
}

TEST(DateArithmetic, StatusPropagates)
{
    const COleDateTime good(2002, 6, 5, 0, 0, 0);
    COleDateTime bad;
    bad.SetStatus(COleDateTime::invalid);
    COleDateTime none;
    none.SetStatus(COleDateTime::null);
    EXPECT_EQ((good - bad).GetStatus(), COleDateTimeSpan::invalid);
    EXPECT_EQ((good - none).GetStatus(), COleDateTimeSpan::null);
    EXPECT_EQ((bad + COleDateTimeSpan(1.0)).GetStatus(), COleDateTime::invalid);
    EXPECT_EQ((none + COleDateTimeSpan(1.0)).GetStatus(), COleDateTime::null);
    EXPECT_EQ((good + COleDateTimeSpan(1e7)).GetStatus(), COleDateTime::invalid);
    EXPECT_NE(good, none);
}

// --- spans ---

TEST(DateSpan, PartsAreRoundedAndSigned)
{
    const COleDateTimeSpan span(1, 2, 3, 4);
    EXPECT_EQ(span.GetDays(), 1);
    EXPECT_EQ(span.GetHours(), 2);
    EXPECT_EQ(span.GetMinutes(), 3);
    EXPECT_EQ(span.GetSeconds(), 4);
    EXPECT_EQ(span.GetTotalSeconds(), 93784.0);
    EXPECT_DOUBLE_EQ(span.GetTotalMinutes(), 93784.0 / 60);
    EXPECT_DOUBLE_EQ(span.GetTotalHours(), 93784.0 / 3600);

    const COleDateTimeSpan negative = -span;
    EXPECT_EQ(negative.GetDays(), -1);
    EXPECT_EQ(negative.GetHours(), -2);
    EXPECT_EQ(negative.GetSeconds(), -4);

    // 0.4 seconds short of a minute is counted as the whole minute.
    const COleDateTimeSpan almost(59.6 / 86400);
    EXPECT_EQ(almost.GetMinutes(), 1);
    EXPECT_EQ(almost.GetSeconds(), 0);
}

TEST(DateSpan, TotalSecondsAreWhole)
{
    for (int s = 0; s < 100000; s += 7)
        ASSERT_EQ(COleDateTimeSpan(0, 0, 0, s).GetTotalSeconds(), static_cast<double>(s)) << s;
}

struct SpanText
{
    const char* name;
    COleDateTimeSpan span;
    const char* format;
    const char* text;
};

class DateSpanFormat : public ::testing::TestWithParam<SpanText>
{
};

TEST_P(DateSpanFormat, Writes)
{
    EXPECT_EQ(GetParam().span.Format(GetParam().format), GetParam().text);
}

INSTANTIATE_TEST_SUITE_P(DateSpan, DateSpanFormat,
    ::testing::Values(SpanText {"OneDay", {1, 2, 3, 0}, " %D day %H:%M:%S ", " 1 day 02:03:00 "},
        SpanText {"NoDays", {0, 0, 5, 7}, " %D days %H:%M:%S ", " 0 days 00:05:07 "},
        SpanText {"ManyDays", {400, 23, 59, 59}, "%D %H %M %S", "400 23 59 59"},
        SpanText {"NoLeadingZero", {0, 3, 4, 5}, "%#H:%#M:%#S", "3:4:5"},
        SpanText {"Percent", {0, 1, 0, 0}, "%H%%", "01%"},
        SpanText {"Negative", {0, -3, -4, 0}, "%D %H:%M", "0 -3:-4"},
        SpanText {"OtherFieldsAsDate", {2, 12, 0, 0}, "%p %d", "PM 01"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(DateSpan, StatusTexts)
{
    COleDateTimeSpan span(1.0);
    span.SetStatus(COleDateTimeSpan::invalid);
    EXPECT_EQ(span.Format("%D"), "Invalid DateTimeSpan");
    EXPECT_EQ((span + COleDateTimeSpan(1.0)).GetStatus(), COleDateTimeSpan::invalid);
    span.SetStatus(COleDateTimeSpan::null);
    EXPECT_EQ(span.Format("%D"), "");
    EXPECT_EQ((COleDateTimeSpan(1.0) - span).GetStatus(), COleDateTimeSpan::null);
}

// --- formatting ---

struct FormatCase
{
    const char* name;
    Fields fields;
    const char* format;
    const char* text;
};

void PrintTo(const FormatCase& c, std::ostream* os)
{
    *os << '"' << c.format << '"';
}

class DateFormat : public ::testing::TestWithParam<FormatCase>
{
};

TEST_P(DateFormat, Writes)
{
    const FormatCase& c = GetParam();
    const COleDateTime date(c.fields.year, c.fields.month, c.fields.day, c.fields.hour,
        c.fields.minute, c.fields.second);
    EXPECT_EQ(date.Format(c.format), c.text);
}

constexpr Fields c_june {2002, 6, 5, 14, 7, 9};
constexpr Fields c_january {2003, 1, 2, 0, 5, 3};

INSTANTIATE_TEST_SUITE_P(DateFormat, DateFormat,
    ::testing::Values(FormatCase {"StoreForm", c_june, "%m/%d/%Y %H:%M:%S", "06/05/2002 14:07:09"},
        FormatCase {"ShortYear", c_january, "%m/%d/%y", "01/02/03"},
        FormatCase {"TwelveHour", c_june, "%I:%M %p", "02:07 PM"},
        FormatCase {"Midnight", c_january, "%I %p", "12 AM"},
        FormatCase {"Noon", {2002, 6, 5, 12, 0, 0}, "%I %p", "12 PM"},
        FormatCase {"Names", c_june, "%A %a %B %b", "Wednesday Wed June Jun"},
        FormatCase {"DayOfYear", c_january, "%j", "002"},
        FormatCase {"ShortDate", c_june, "%x", "06/05/02"},
        FormatCase {"Time", c_june, "%X", "14:07:09"},
        FormatCase {"DateAndTime", c_june, "%c", "Wed Jun  5 14:07:09 2002"},
        FormatCase {"Percent", c_june, "100%% %d", "100% 05"},
        FormatCase {"LongDate", c_june, "%#x", "Wednesday, June 05, 2002"},
        FormatCase {"LongDateAndTime", c_june, "%#c", "Wednesday, June 05, 2002 14:07:09"},
        FormatCase {"ClockFace", c_june, "%#x %H:%M", "Wednesday, June 05, 2002 14:07"},
        FormatCase {
            "NoLeadingZeros", c_january, "%#m/%#d/%#y %#H:%#M:%#S %#j %#I", "1/2/3 0:5:3 2 12"},
        FormatCase {"FlagOnNamesIgnored", c_june, "%#A %#p %#X", "Wednesday PM 14:07:09"},
        FormatCase {"GraphLabel", c_june, "%m/%d/%y\r%H:%M", "06/05/02\r14:07"},
        FormatCase {"AccessLiteral", c_june, "#%m/%d/%Y %H:%M#", "#06/05/2002 14:07#"},
        FormatCase {"Weeks", c_january, "%U %W %w %u", "00 00 4 4"},
        FormatCase {"WeeksLater", c_june, "%U %W", "22 22"},
        FormatCase {"Iso", c_june, "%F %T", "2002-06-05 14:07:09"},
        FormatCase {"EarlyYear", {100, 3, 1, 0, 0, 0}, "%m/%d/%Y %y", "03/01/100 00"},
        FormatCase {"UnknownFieldKept", c_june, "%Q %", "%Q %"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(DateFormat, DefaultFormDropsTheEmptyPart)
{
    EXPECT_EQ(COleDateTime(2002, 6, 5, 14, 7, 9).Format(), "06/05/02 14:07:09");
    EXPECT_EQ(COleDateTime(2002, 6, 5, 0, 0, 0).Format(), "06/05/02");
    COleDateTime time;
    time.SetTime(14, 7, 9);
    EXPECT_EQ(time.Format(), "14:07:09");
}

// --- parsing ---

struct ParseCase
{
    const char* text;
    Fields fields;
};

void PrintTo(const ParseCase& c, std::ostream* os)
{
    *os << '"' << c.text << '"';
}

class DateParse : public ::testing::TestWithParam<ParseCase>
{
};

TEST_P(DateParse, Reads)
{
    COleDateTime date;
    ASSERT_TRUE(date.ParseDateTime(GetParam().text)) << GetParam().text;
    expectFields(date, GetParam().fields);
}

constexpr Fields c_day {2002, 6, 5, 0, 0, 0};
constexpr Fields c_dayTime {2002, 6, 5, 14, 7, 9};
constexpr Fields c_dayMinute {2002, 6, 5, 14, 7, 0};

INSTANTIATE_TEST_SUITE_P(DateParse, DateParse,
    ::testing::Values(ParseCase {"6/5/2002", c_day}, ParseCase {"06/05/2002 14:07:09", c_dayTime},
        ParseCase {"6-5-2002", c_day}, ParseCase {"2002-06-05", c_day},
        ParseCase {"2002-06-05 14:07:09", c_dayTime}, ParseCase {"2002-06-05 14:07", c_dayMinute},
        ParseCase {"2002-06-05T14:07:09", c_dayTime}, ParseCase {"June 5, 2002", c_day},
        ParseCase {"june 5 2002 14:07", c_dayMinute}, ParseCase {"5 June 2002", c_day},
        ParseCase {"5-Jun-02", c_day}, ParseCase {"Jun 5, 2002 2:07 PM", c_dayMinute},
        ParseCase {"Wednesday, June 05, 2002", c_day}, ParseCase {"06/05/02 14:07:09", c_dayTime},
        ParseCase {"6/5/2002 2:07:09 pm", c_dayTime}, ParseCase {"  6/5/2002\t", c_day},
        ParseCase {"12/31/29", {2029, 12, 31, 0, 0, 0}},
        ParseCase {"1/1/30", {1930, 1, 1, 0, 0, 0}},
        ParseCase {"2/29/2000 23:59:59", {2000, 2, 29, 23, 59, 59}},
        ParseCase {"14:07", {1899, 12, 30, 14, 7, 0}},
        ParseCase {"14:07:09", {1899, 12, 30, 14, 7, 9}},
        ParseCase {"2:07 PM", {1899, 12, 30, 14, 7, 0}},
        ParseCase {"12:30 AM", {1899, 12, 30, 0, 30, 0}},
        ParseCase {"12 PM", {1899, 12, 30, 12, 0, 0}}, ParseCase {"14:07 6/5/2002", c_dayMinute},
        ParseCase {"12/31/100 23:59:59", {100, 12, 31, 23, 59, 59}}),
    [](const auto& info) {
        std::string name;
        for (const char* p = info.param.text; *p != '\0'; ++p)
            name += (*p >= '0' && *p <= '9') || (*p >= 'a' && *p <= 'z') || (*p >= 'A' && *p <= 'Z')
                ? *p
                : '_';
        return name + "_" + std::to_string(info.index);
    });

class DateParseRejects : public ::testing::TestWithParam<const char*>
{
};

TEST_P(DateParseRejects, InvalidAndZero)
{
    COleDateTime date(2002, 6, 5, 0, 0, 0);
    EXPECT_FALSE(date.ParseDateTime(GetParam())) << GetParam();
    EXPECT_EQ(date.GetStatus(), COleDateTime::invalid);
    EXPECT_EQ(date.m_dt, 0.0);
}

INSTANTIATE_TEST_SUITE_P(DateParse, DateParseRejects,
    ::testing::Values("2/30/2002", "13/1/2002", "6/5/2002 x", "6/5/2002x", "June 31, 2002", "25:00",
        "14:60", "14:07:60", "13:00 PM", "2:07 PM extra", "abc", "6/5/2002 14",
        "2002-06-05 14:07:09.5", "6/5/20021", "6//5/2002", "Wednesday", "6/5-2002", "2002-06-05T",
        "1,234", "14"),
    [](const auto& info) { return "Case" + std::to_string(info.index); });

TEST(DateParse, BlankIsNull)
{
    COleDateTime date(2002, 6, 5, 0, 0, 0);
    EXPECT_FALSE(date.ParseDateTime(""));
    EXPECT_EQ(date.GetStatus(), COleDateTime::null);
    EXPECT_FALSE(date.ParseDateTime("   "));
    EXPECT_EQ(date.GetStatus(), COleDateTime::null);
    EXPECT_FALSE(date.ParseDateTime(nullptr));
    EXPECT_EQ(date.GetStatus(), COleDateTime::null);
}

TEST(DateParse, WithoutYearTakesThisYear)
{
    const int year = COleDateTime::GetCurrentTime().GetYear();
    COleDateTime date;
    ASSERT_TRUE(date.ParseDateTime("6/5"));
    expectFields(date, {year, 6, 5, 0, 0, 0});
    ASSERT_TRUE(date.ParseDateTime("June 5 14:07"));
    expectFields(date, {year, 6, 5, 14, 7, 0});
}

// The settings store writes dates in this form and must read back the very same value.
TEST(DateParse, StoreFormReadsBackExactly)
{
    const COleDateTime first(1990, 1, 1, 0, 0, 0);
    const COleDateTime last(2099, 12, 31, 23, 59, 59);
    for (double v = first.m_dt; v <= last.m_dt; v += 7919.0 / 86400 + 0.25) {
        // Values made from fields, as everything the suite stores is.
        const COleDateTime source(v);
        const COleDateTime date(source.GetYear(), source.GetMonth(), source.GetDay(),
            source.GetHour(), source.GetMinute(), source.GetSecond());
        const std::string text = date.Format("%m/%d/%Y %H:%M:%S");
        COleDateTime read;
        ASSERT_TRUE(read.ParseDateTime(text.c_str())) << text;
        ASSERT_EQ(read.m_dt, date.m_dt) << text;
        // The default form has a two-digit year, which reads as 1930 to 2029.
        if (date.GetYear() < 2030) {
            const std::string shortText = date.Format();
            ASSERT_TRUE(read.ParseDateTime(shortText.c_str())) << shortText;
            ASSERT_EQ(read.m_dt, date.m_dt) << shortText;
        }
    }
}

// --- local time through the system's time-zone data ---

class LocalTime : public ::testing::Test
{
protected:
    void SetUp() override
    {
        struct stat info
        {
        };
        ASSERT_EQ(stat("/usr/share/zoneinfo/Europe/Berlin", &info), 0)
            << "the time-zone data (tzdata) is missing";
        const char* previous = std::getenv("TZ");
        m_hadZone = previous != nullptr;
        if (m_hadZone)
            m_previousZone = previous;
        setenv("TZ", "Europe/Berlin", 1);
        tzset();
    }

    void TearDown() override
    {
        if (m_hadZone)
            setenv("TZ", m_previousZone.c_str(), 1);
        else
            unsetenv("TZ");
        tzset();
    }

    static std::time_t utc(int year, int month, int day, int hour, int minute, int second)
    {
        std::tm tm {};
        tm.tm_year = year - 1900;
        tm.tm_mon = month - 1;
        tm.tm_mday = day;
        tm.tm_hour = hour;
        tm.tm_min = minute;
        tm.tm_sec = second;
        return timegm(&tm);
    }

    std::string m_previousZone;
    bool m_hadZone {false};
};

TEST_F(LocalTime, SpringForwardSkipsAnHour)
{
    // 31 March 2002: 01:59:59 CET is followed by 03:00:00 CEST.
    const std::time_t before = utc(2002, 3, 31, 0, 59, 59);
    expectFields(COleDateTime(before), {2002, 3, 31, 1, 59, 59});
    expectFields(COleDateTime(before + 1), {2002, 3, 31, 3, 0, 0});
    EXPECT_EQ(COleDateTime(2002, 3, 31, 1, 59, 59).GetAsTimeT(), before);
    EXPECT_EQ(COleDateTime(2002, 3, 31, 3, 0, 0).GetAsTimeT(), before + 1);
    // 02:30 does not exist; it becomes one of the instants an hour apart around it.
    const std::time_t skipped = COleDateTime(2002, 3, 31, 2, 30, 0).GetAsTimeT();
    EXPECT_TRUE(skipped == utc(2002, 3, 31, 0, 30, 0) || skipped == utc(2002, 3, 31, 1, 30, 0))
        << skipped;
}

TEST_F(LocalTime, FallBackRepeatsAnHour)
{
    // 27 October 2002: 02:59:59 CEST is followed by 02:00:00 CET.
    const std::time_t first = utc(2002, 10, 27, 0, 30, 0);
    const std::time_t second = utc(2002, 10, 27, 1, 30, 0);
    expectFields(COleDateTime(first), {2002, 10, 27, 2, 30, 0});
    expectFields(COleDateTime(second), {2002, 10, 27, 2, 30, 0});
    EXPECT_EQ(COleDateTime(2002, 10, 27, 2, 30, 0).GetAsTimeT(), first);
    EXPECT_EQ(COleDateTime(2002, 10, 27, 3, 0, 0).GetAsTimeT(), utc(2002, 10, 27, 2, 0, 0));
    EXPECT_EQ(COleDateTime(2002, 10, 27, 1, 59, 59).GetAsTimeT(), utc(2002, 10, 26, 23, 59, 59));
}

// Across 1990-2099 every instant gives its local wall-clock fields and comes back, apart from
// the second pass through a repeated hour, which comes back as the first.
TEST_F(LocalTime, RoundTripAcrossTheCentury)
{
    const std::time_t start = utc(1990, 1, 1, 0, 0, 0);
    const std::time_t end = utc(2100, 1, 1, 0, 0, 0);
    int repeated = 0;
    for (std::time_t t = start; t < end; t += 3599) {
        std::tm local {};
        ASSERT_NE(localtime_r(&t, &local), nullptr);
        const COleDateTime date(t);
        std::tm fields {};
        ASSERT_TRUE(date.GetAsTm(fields));
        // One check per step keeps three million steps quick; the message says which failed.
        if (fields.tm_year != local.tm_year || fields.tm_mon != local.tm_mon
            || fields.tm_mday != local.tm_mday || fields.tm_hour != local.tm_hour
            || fields.tm_min != local.tm_min || fields.tm_sec != local.tm_sec)
            FAIL() << "fields of " << t << ": " << date.Format("%Y-%m-%d %H:%M:%S");
        const std::time_t back = date.GetAsTimeT();
        if (back != t) {
            // Only in the repeated hour: one hour earlier, the same wall-clock time.
            ASSERT_EQ(back, t - 3600) << t;
            ASSERT_EQ(local.tm_isdst, 0) << t;
            ++repeated;
        }
    }
    // Steps of 3599 seconds land once or twice in each year's repeated hour.
    EXPECT_GE(repeated, 110);
    EXPECT_LE(repeated, 220);
}

TEST_F(LocalTime, CurrentTimeIsTheWallClock)
{
    const std::time_t before = std::time(nullptr);
    const COleDateTime now = COleDateTime::GetCurrentTime();
    const std::time_t after = std::time(nullptr);
    const std::time_t t = now.GetAsTimeT();
    EXPECT_GE(t, before - 3600); // a repeated hour may read back an hour early
    EXPECT_LE(t, after);
    EXPECT_EQ(now.GetSecond(), COleDateTime(t).GetSecond());
}

TEST_F(LocalTime, ZoneFields)
{
    EXPECT_EQ(COleDateTime(2002, 6, 5, 14, 7, 9).Format("%Z %z"), "CEST +0200");
    EXPECT_EQ(COleDateTime(2002, 1, 5, 14, 7, 9).Format("%Z %z"), "CET +0100");
}

} // namespace
