#include "framework/utilities/utilities.h"
#include "platform/ui/messagebox.h"

#include <cmath>
#include <gtest/gtest.h>
#include <string>

struct DateCase
{
    const char* name;
    const char* text;
    const char* field; // null: no field name
    const char* message; // null: the date is accepted
    int year {0};
    int month {0};
    int day {0};
};

class ValidateDate : public testing::TestWithParam<DateCase>
{
};

TEST_P(ValidateDate, AcceptsOrExplainsInOneBox)
{
    const DateCase& c = GetParam();
    CRecordingPresenter presenter;
    const COleDateTime untouched(2001, 1, 2, 3, 4, 5);
    COleDateTime result = untouched;

    const bool accepted = validateDate(c.text, result, c.field);

    if (!c.message) {
        EXPECT_TRUE(accepted);
        EXPECT_TRUE(presenter.boxes.empty());
        EXPECT_EQ(result, COleDateTime(c.year, c.month, c.day, 0, 0, 0));
        return;
    }
    EXPECT_FALSE(accepted);
    EXPECT_EQ(result, untouched);
    ASSERT_EQ(presenter.boxes.size(), 1u);
    EXPECT_EQ(presenter.boxes[0].text, c.message);
    EXPECT_EQ(presenter.boxes[0].type, MB_ICONEXCLAMATION | MB_OK);
}

INSTANTIATE_TEST_SUITE_P(Table, ValidateDate,
    testing::Values(DateCase {"LeapDay2000", "2/29/2000", "Start date", nullptr, 2000, 2, 29},
        DateCase {"Hyphens", "12-31-2099", nullptr, nullptr, 2099, 12, 31},
        DateCase {"NoLeapDay2001", "2/29/2001", nullptr, "Invalid day, enter from 1 to 28"},
        DateCase {"ThirtyDayMonth", "4/31/2002", nullptr, "Invalid day, enter from 1 to 30"},
        DateCase {"TwoDigitYear", "12/31/89", nullptr, "Invalid year, enter from 1990 to 2099."},
        DateCase {"MissingYear", "6/5", nullptr, "Invalid year, enter from 1990 to 2099."},
        DateCase {"YearReportedBeforeMonth", "13/40/1989", nullptr,
            "Invalid year, enter from 1990 to 2099."},
        DateCase {"Month13", "13-01-2002", nullptr, "Invalid month, enter from 1 to 12."},
        DateCase {"BlankNamed", "", "Start date", "Start date is blank."},
        DateCase {"BlankUnnamed", "", nullptr, "Date is blank."},
        DateCase {"PercentInFieldName", "", "100%s", "100%s is blank."},
        DateCase {"NoSeparatorNamed", "20020605", "Start date",
            "Invalid Start date. Please enter in the following format M/D/Y or M-D-Y."},
        DateCase {"NoSeparatorUnnamed", "June 5", nullptr,
            "Invalid date. Please enter in the following format M/D/Y or M-D-Y."}),
    [](const testing::TestParamInfo<DateCase>& info) { return std::string(info.param.name); });

struct SqlCase
{
    const char* name;
    int format;
    bool access;
    const char* text;
};

class FormatDate : public testing::TestWithParam<SqlCase>
{
};

TEST_P(FormatDate, LiteralOfEachDialect)
{
    const COleDateTime date(2002, 6, 5, 14, 7, 9);
    EXPECT_EQ(formatDate(date, static_cast<eDATEFORMAT>(GetParam().format), GetParam().access),
        GetParam().text);
}

INSTANTIATE_TEST_SUITE_P(Table, FormatDate,
    testing::Values(SqlCase {"AccessSeconds", 7, true, "#06/05/2002 14:07:09#"},
        SqlCase {"AccessMinutes", 3, true, "#06/05/2002 14:07#"},
        SqlCase {"AccessDate", eDATEONLY, true, "#06/05/2002#"},
        SqlCase {"ServerSeconds", 7, false, "CONVERT(DATETIME, '2002-06-05 14:07:09',102)"},
        SqlCase {"ServerMinutes", 3, false, "CONVERT(DATETIME, '2002-06-05 14:07:00',102)"},
        SqlCase {"ServerDate", eDATEONLY, false, "CONVERT(DATETIME, '2002-06-05 00:00:00',102)"}),
    [](const testing::TestParamInfo<SqlCase>& info) { return std::string(info.param.name); });

TEST(FormatDate, DateThatIsNotValidGivesTheEmptyText)
{
    COleDateTime invalid;
    invalid.SetStatus(COleDateTime::invalid);
    EXPECT_EQ(formatDate(invalid, eDATEHOURMINUTESECOND, true), "");
    EXPECT_EQ(formatDate(invalid, eDATEONLY, false), "");
}

TEST(FormatTime, DateWithOrWithoutHoursAndMinutes)
{
    const COleDateTime date(2002, 6, 5, 14, 7, 9);
    EXPECT_EQ(formatTime(date, false), "06/05/02");
    EXPECT_EQ(formatTime(date, true), "06/05/02 14:07");
}

TEST(DaysInMonth, GregorianLengths)
{
    EXPECT_EQ(daysInMonth(2, 1900), 28);
    EXPECT_EQ(daysInMonth(2, 2000), 29);
    EXPECT_EQ(daysInMonth(2, 1996), 29);
    EXPECT_EQ(daysInMonth(2, 2001), 28);
    EXPECT_EQ(daysInMonth(4, 2002), 30);
    EXPECT_EQ(daysInMonth(12, 2002), 31);
    EXPECT_EQ(daysInMonth(0, 2002), 0);
    EXPECT_EQ(daysInMonth(13, 2002), 0);
}

TEST(DaysInYear, GregorianLeapYears)
{
    EXPECT_EQ(daysInYear(1996), 366);
    EXPECT_EQ(daysInYear(1997), 365);
    EXPECT_EQ(daysInYear(1900), 365);
}

TEST(DateOnly, SameDayAtMidnight)
{
    const COleDateTime day = dateOnly(COleDateTime(2002, 6, 5, 14, 7, 9));
    EXPECT_EQ(day, COleDateTime(2002, 6, 5, 0, 0, 0));
    EXPECT_EQ(day.GetStatus(), COleDateTime::valid);
    // Before 30 December 1899 the day count is negative and the fraction still runs forward.
    EXPECT_EQ(dateOnly(COleDateTime(1899, 12, 29, 6, 0, 0)), COleDateTime(1899, 12, 29, 0, 0, 0));
}

TEST(TimeOnly, TimeOfDayOnDayZero)
{
    const COleDateTime time = timeOnly(COleDateTime(2002, 6, 5, 14, 7, 9));
    EXPECT_EQ(time.GetStatus(), COleDateTime::valid);
    EXPECT_NEAR(static_cast<double>(time), (14 * 3600 + 7 * 60 + 9) / 86400.0, 1e-9);
    EXPECT_EQ(time.GetHour(), 14);
    EXPECT_EQ(time.GetMinute(), 7);
    EXPECT_EQ(time.GetSecond(), 9);
    EXPECT_EQ(time.GetYear(), 1899);
    EXPECT_EQ(time.GetMonth(), 12);
    EXPECT_EQ(time.GetDay(), 30);
}

TEST(TimeOnly, ValueThatIsNotValidKeepsItsStatus)
{
    COleDateTime invalid;
    invalid.SetStatus(COleDateTime::invalid);
    EXPECT_EQ(timeOnly(invalid).GetStatus(), COleDateTime::invalid);
    EXPECT_EQ(dateOnly(invalid).GetStatus(), COleDateTime::invalid);
}
