// The time and up-time controls: their texts, the layout, the refresh timer, the up-time read
// at creation and on ticks, getTimeString and persistence.

#include "tests/controls/widgetstestsupport.h"

#include "controls/frame/widgetstypelib.h"
#include "controls/time/timetext.h"
#include "platform/ole/dispatchimpl.h"

#include <gtest/gtest.h>

namespace {

constexpr const char* c_timeId = "{01540154-0002-0000-0029-000000000004}";
constexpr const char* c_upTimeId = "{01540154-0003-0000-0029-000000000004}";
// Red text on white: no part of the 3-D frame has either colour.
constexpr COLORREF c_ink = 0x0000FF;
const std::string c_redOnWhite = "TextColor=0x000000FF\nBackgroundColor=0x00FFFFFF\n";

// 1 day, 2 hours, 3 minutes and 4 seconds; 2 days, 3 hours, 4 minutes and 5 seconds.
constexpr long long c_oneDay = 93784;
constexpr long long c_twoDays = 183845;

// The up-time the module reads while a test runs, through its exported source hook.
long long s_upTime = 0;
long long testUpTime()
{
    return s_upTime;
}

class UpTimeControl : public testing::Test
{
protected:
    using Source = long long (*)();
    using SetSource = Source (*)(Source);
    void SetUp() override
    {
        registerWidgets();
        m_set = reinterpret_cast<SetSource>(
            GetProcAddress(widgetsModule(), "zorWidgetsSetUpTimeSource"));
        ASSERT_NE(m_set, nullptr);
        s_upTime = c_oneDay;
        m_set(testUpTime);
    }
    void TearDown() override
    {
        if (m_set)
            m_set(nullptr);
    }
    SetSource m_set {nullptr};
};

std::string timeString(const CHostedControl& upTime)
{
    COleVariant text;
    EXPECT_EQ(
        zorInvoke(upTime.dispatch(), eUPTIME_GETTIMESTRING, DISPATCH_METHOD, {}, &text), S_OK);
    return text.vt == VT_BSTR ? std::string(text.bstrVal) : "not a text";
}

// Whether the control's timer 1 exists. Asking stops it (KillTimer is the window's only
// answer), so a test asks once per state.
bool timerRan(const CHostedControl& control)
{
    return control.control()->KillTimer(1);
}

struct UpTimeRow
{
    const char* name;
    long long seconds;
    LONG interval;
    const char* text;
};

class UpTimeText : public testing::TestWithParam<UpTimeRow>
{
};

} // namespace

TEST_P(UpTimeText, IsAlignedToTheIntervalWithDayOrDays)
{
    EXPECT_EQ(zorUpTimeText(GetParam().seconds, GetParam().interval), GetParam().text);
}

INSTANTIATE_TEST_SUITE_P(UpTime, UpTimeText,
    testing::Values(UpTimeRow {"OneDaySingular", c_oneDay, 15, " 1 day 02:03:00 "},
        UpTimeRow {"TwoDaysPlural", c_twoDays, 15, " 2 days 03:04:00 "},
        UpTimeRow {"UnderADayPlural", 3599, 15, " 0 days 00:59:45 "},
        // 86400 aligned to 7 is 86394: the aligned value decides the day count.
        UpTimeRow {"AlignedValueCountsTheDays", 86400, 7, " 0 days 23:59:54 "},
        UpTimeRow {"IntervalZeroCountsAsOne", c_oneDay, 0, " 1 day 02:03:04 "},
        UpTimeRow {"NegativeIntervalCountsAsOne", c_oneDay, -15, " 1 day 02:03:04 "},
        // Past the 49.7 days a 32-bit millisecond counter holds.
        UpTimeRow {"PastTheTickCountWrap", 4400000, 15, " 50 days 22:13:15 "}),
    [](const testing::TestParamInfo<UpTimeRow>& info) { return info.param.name; });

TEST(TimeArithmetic, SecondsAlignAndTheTimerPeriodStaysInRange)
{
    EXPECT_EQ(zorTimeText(12, 34, 56, 15), " 12:34:45 ");
    EXPECT_EQ(zorTimeText(12, 34, 56, 600), " 12:34:00 ");
    EXPECT_EQ(zorTimeText(7, 5, 9, 0), " 07:05:09 ");

    EXPECT_EQ(zorTimerElapse(15), 15000u);
    EXPECT_EQ(zorTimerElapse(0), 1000u);
    EXPECT_EQ(zorTimerElapse(0x7FFFFFFF), 0x7FFFFFFFu);
}

TEST_F(UpTimeControl, ShowsTheUpTimeOfCreationUntilATickAlignedToTheInterval)
{
    CHostedControl upTime(c_upTimeId, c_redOnWhite, 300, 30);
    ASSERT_TRUE(upTime.ok());
    const QImage created = upTime.grab();
    EXPECT_EQ(timeString(upTime), " 1 day 02:03:00 ");
    EXPECT_GE(columnsOf(created, c_ink).first, 0) << "the text is drawn";
    EXPECT_FALSE(timerRan(upTime)) << "UseTimer 0 runs no timer";

    // The system's up-time moves on; a repaint without a tick shows the same.
    s_upTime = c_twoDays;
    ASSERT_EQ(upTime.put(eTIME_BOXBORDER, COleVariant(0L)), S_OK);
    EXPECT_EQ(upTime.grab(), created);
    EXPECT_EQ(timeString(upTime), " 1 day 02:03:00 ");

    // A tick reads the up-time again and draws it.
    upTime.control()->SendMessage(WM_TIMER, 1, 0);
    const QImage ticked = upTime.grab();
    EXPECT_EQ(timeString(upTime), " 2 days 03:04:00 ");
    EXPECT_NE(ticked, created);

    // An interval below 1 is kept as written and counts as 1: nothing divides by zero.
    ASSERT_EQ(upTime.put(eTIME_TIMERINTERVAL, COleVariant(0L)), S_OK);
    upTime.grab();
    EXPECT_EQ(upTime.getLong(eTIME_TIMERINTERVAL), 0);
    EXPECT_EQ(timeString(upTime), " 2 days 03:04:05 ");
}

TEST_F(UpTimeControl, JustifyPlacesTheTextInsideTheFrame)
{
    // Justify, then how far the frame moves the text: inward by its 4 pixels at the side the
    // text keeps to, not at all when centred.
    const struct
    {
        long justify;
        int frameShift;
    } rows[] = {{0, 4}, {1, 0}, {2, -4}, {5, -4}};
    std::pair<int, int> right;
    for (const auto& row : rows) {
        SCOPED_TRACE(row.justify);
        CHostedControl plain(c_upTimeId, c_redOnWhite, 300, 30);
        CHostedControl framed(c_upTimeId, c_redOnWhite + "BoxBorder=1\n", 300, 30);
        ASSERT_TRUE(plain.ok() && framed.ok());
        ASSERT_EQ(plain.put(eTIME_JUSTIFY, COleVariant(row.justify)), S_OK);
        ASSERT_EQ(framed.put(eTIME_JUSTIFY, COleVariant(row.justify)), S_OK);
        const auto ink = columnsOf(plain.grab(), c_ink);
        const auto framedInk = columnsOf(framed.grab(), c_ink);
        ASSERT_GE(ink.first, 0);
        EXPECT_EQ(framedInk.first, ink.first + row.frameShift);
        EXPECT_EQ(framedInk.second, ink.second + row.frameShift);
        if (row.justify == 2)
            right = ink;
        if (row.justify == 5) {
            EXPECT_EQ(ink, right) << "any other value right-aligns as 2 does";
        }
    }
}

TEST(TimeTimer, StartsAtEachFirstDrawAndRestartsOnEveryWrite)
{
    for (const char* id : {c_timeId, c_upTimeId}) {
        SCOPED_TRACE(id);
        // Two controls of one type: each starts its own timer.
        CHostedControl first(id, "UseTimer=1\n", 200, 30);
        CHostedControl second(id, "UseTimer=1\n", 200, 30);
        ASSERT_TRUE(first.ok() && second.ok());
        first.grab();
        second.grab();
        EXPECT_TRUE(timerRan(first));
        EXPECT_TRUE(timerRan(second));

        // Any property write starts it again; with UseTimer 0 none runs.
        first.control()->SetModifiedFlag(FALSE);
        const int paints = first.control()->paintCount();
        ASSERT_EQ(first.put(eTIME_JUSTIFY, COleVariant(2L)), S_OK);
        pumpEvents();
        EXPECT_TRUE(timerRan(first));
        EXPECT_TRUE(first.control()->IsModified());
        EXPECT_GT(first.control()->paintCount(), paints);
        ASSERT_EQ(first.put(eTIME_TIMERINTERVAL, COleVariant(0L)), S_OK);
        EXPECT_TRUE(timerRan(first)) << "an interval of 0 runs every second";
        ASSERT_EQ(first.put(eTIME_USETIMER, COleVariant(0L)), S_OK);
        EXPECT_FALSE(timerRan(first));

        // A tick repaints.
        const int beforeTick = first.control()->paintCount();
        first.control()->SendMessage(WM_TIMER, 1, 0);
        pumpEvents();
        EXPECT_GT(first.control()->paintCount(), beforeTick);
    }
}

TEST(TimePersistence, OrderDefaultsAndRoundTrip)
{
    for (const char* id : {c_timeId, c_upTimeId}) {
        SCOPED_TRACE(id);
        std::string bag;
        std::string bytes;
        {
            CHostedControl control(id, "", 200, 30);
            ASSERT_TRUE(control.ok());
            ASSERT_EQ(control.control()->saveToBag(&bag), S_OK);
            ASSERT_EQ(control.put(eTIME_BOXBORDER, COleVariant(1L)), S_OK);
            ASSERT_EQ(control.putColor(eTIME_TEXTCOLOR, 0x00010203), S_OK);
            ASSERT_EQ(control.putColor(eTIME_BACKGROUNDCOLOR, 0x05000000), S_OK);
            ASSERT_EQ(control.put(eTIME_JUSTIFY, COleVariant(2L)), S_OK);
            ASSERT_EQ(control.put(eTIME_TIMERINTERVAL, COleVariant(0L)), S_OK);
            ASSERT_EQ(control.put(eTIME_USETIMER, COleVariant(1L)), S_OK);
            ASSERT_EQ(control.control()->saveToStream(&bytes), S_OK);
        }
        // A fresh control saves every default, in order, before the stock font.
        std::size_t at = 0;
        for (const char* line :
            {"BoxBorder=0", "TextColor=0x08000000", "BackgroundColor=0x0F000000", "Justify=1",
                "TimerInterval=15", "UseTimer=0", "Font="}) {
            at = bag.find(line, at);
            ASSERT_NE(at, std::string::npos) << line << " in order in\n" << bag;
        }
        CHostedControl other(id, "", 200, 30);
        ASSERT_TRUE(other.ok());
        ASSERT_EQ(other.control()->loadFromStream(bytes), S_OK);
        EXPECT_EQ(other.getLong(eTIME_BOXBORDER), 1);
        EXPECT_EQ(other.getColor(eTIME_TEXTCOLOR), 0x00010203u);
        EXPECT_EQ(other.getColor(eTIME_BACKGROUNDCOLOR), 0x05000000u);
        EXPECT_EQ(other.getLong(eTIME_JUSTIFY), 2);
        EXPECT_EQ(other.getLong(eTIME_TIMERINTERVAL), 0);
        EXPECT_EQ(other.getLong(eTIME_USETIMER), 1);
        EXPECT_TRUE(timerRan(other)) << "the loaded UseTimer starts the timer";
    }
}
