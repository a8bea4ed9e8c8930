// The clock control created by class id from its registered module: the zone's time against the
// machine's zone, the second hand on screen, mouse events and traces, the General page's zone
// list, the font argument and the persisted order.

#include "tests/clock/clocktestsupport.h"

#include "clock/clockfontrecord.h"
#include "clock/clocktypelib.h"
#include "platform/ole/dispatchimpl.h"
#include "platform/ole/proppage.h"
#include "platform/types/clock.h"
#include "platform/ui/controls.h"
#include "platform/ui/messagebox.h"

#include <gtest/gtest.h>

#include <QtCore/QRegularExpression>
#include <QtGui/QGuiApplication>
#include <QtGui/QScreen>
#include <QtWidgets/QWidget>

#include <cstdlib>
#include <cstring>
#include <optional>
#include <time.h>

namespace {

constexpr COLORREF c_foreground = 0x800000;

// Positions are minute positions: the hour hand's 5 an hour plus one every 12 minutes.
struct ZoneRow
{
    const char* name;
    const char* tz;
    std::time_t now;
    LONG zone;
    bool putZone; // written after creation rather than loaded
    int hour;
    int minute;
};

std::ostream& operator<<(std::ostream& os, const ZoneRow& row)
{
    return os << row.name;
}

class ClockZone : public testing::TestWithParam<ZoneRow>
{
protected:
    void SetUp() override
    {
        registerClock();
        if (const char* tz = std::getenv("TZ"))
            m_tz = tz;
        setenv("TZ", GetParam().tz, 1);
        tzset();
        const std::time_t now = GetParam().now;
        zorSetClock([now] { return now; });
    }
    void TearDown() override
    {
        zorSetClock({});
        if (m_tz)
            setenv("TZ", m_tz->c_str(), 1);
        else
            unsetenv("TZ");
        tzset();
    }

private:
    std::optional<std::string> m_tz;
};

} // namespace

TEST_P(ClockZone, ShowsTheZonesTimeWorkedOutFromTheMachinesZone)
{
    const ZoneRow& row = GetParam();
    CHostedClock clock(row.putZone ? "" : "Zone=" + std::to_string(row.zone) + "\n", 240, 240);
    ASSERT_NE(clock.control(), nullptr);
    if (row.putZone) {
        clock.control()->SetModifiedFlag(FALSE);
        ASSERT_EQ(
            zorPutProperty(clock.dispatch(), eCLOCK_ZONE, COleVariant(long {row.zone})), S_OK);
        EXPECT_TRUE(clock.control()->IsModified());
    }
    // A size change lays the face out again.
    clock.control()->MoveWindow(0, 0, 260, 250);
    clock.control()->SendMessage(WM_TIMER, 1, 0);
    const QImage image = clock.grab();
    const ZorClockLayout layout = hostedLayout(260, 250);
    const ZorClockTable table = clockTable();
    const auto along = [&](int percent, int position) {
        return pixel(
            image, zorClockPoint(layout, table, zorClockLength(layout, percent), position));
    };
    // The hour hand reaches 55 % of the radius, the minute hand 80 %.
    EXPECT_EQ(along(30, row.hour), c_foreground) << "hour hand";
    EXPECT_EQ(along(60, row.minute), c_foreground) << "minute hand";
    EXPECT_TRUE(clock.control()->KillTimer(1)) << "timer 1 runs from the window's creation";
}

// 2024-07-01 12:00:15 and 2024-01-15 13:00:15 UTC: every row's second hand points at three.
INSTANTIATE_TEST_SUITE_P(Clock, ClockZone,
    testing::Values(
        // Bias -60, daylight bias -60: -300 - 60 - 60 = -420, and 14:00 local shows 07:00.
        ZoneRow {"NewYorkFromUtcPlusOneInDaylightTime", "CET-1CEST,M3.5.0,M10.5.0/3", 1719835215,
            -300, false, 35, 0},
        // Standard time: -300 - 60 = -360, and 14:00 local shows 08:00.
        ZoneRow {"NewYorkFromUtcPlusOneInStandardTime", "CET-1CEST,M3.5.0,M10.5.0/3", 1705323615,
            -300, false, 40, 0},
        // 12:00 UTC shows 17:30: the minute hand 30 positions from UTC's.
        ZoneRow {"HalfHourZoneWrittenAfterCreation", "UTC0", 1719835215, 330, true, 27, 30},
        // A zone not in the table is shown as it is: 12:45.
        ZoneRow {"ZoneOutsideTheTable", "UTC0", 1719835215, 45, false, 3, 45},
        // 17:30 on a machine half an hour off a whole zone is 12:00 UTC.
        ZoneRow {"UtcFromAHalfHourMachine", "IST-5:30", 1719835215, 0, false, 0, 0}),
    [](const testing::TestParamInfo<ZoneRow>& info) { return info.param.name; });

TEST(ClockLive, SecondsWithinAMinuteShowWhatAFullPaintShows)
{
    CHostedClock clock("", 200, 200);
    ASSERT_EQ(clock.call(eCLOCK_SETTIME, {COleVariant(COleDateTime(2002, 6, 5, 10, 20, 5))}), S_OK);
    pumpEvents();
    const int paints = clock.control()->paintCount();
    ASSERT_EQ(clock.call(eCLOCK_SETTIME, {COleVariant(COleDateTime(2002, 6, 5, 10, 20, 6))}), S_OK);
    pumpEvents();
    EXPECT_GT(clock.control()->paintCount(), paints);
    // The screen as it is, without a paint, against a paint of the whole control.
    QWidget* window = clock.control()->widget()->window();
    const QPoint origin = clock.control()->widget()->mapTo(window, QPoint(0, 0));
    const QImage shown = QGuiApplication::primaryScreen()
                             ->grabWindow(window->winId(), origin.x(), origin.y(), 200, 200)
                             .toImage()
                             .convertToFormat(QImage::Format_RGB32);
    EXPECT_EQ(shown, clock.grab());
}

TEST(ClockEvents, EachMouseMessageFiresItsEventAndMovesCountOnlyWhileCaptured)
{
    CHostedClock clock("", 120, 120);
    ASSERT_NE(clock.control(), nullptr);
    CRecordingDebugSink trace;
    const struct
    {
        UINT message;
        std::vector<ClockEvent> events;
        const char* trace;
    } steps[] = {{WM_MOUSEMOVE, {}, ""},
        {WM_LBUTTONDOWN, {{eCLOCKEVENT_LBUTTONDOWN, {0}}, {DISPID_CLICK, {}}},
            "CLOCK l Button Down\r\n"},
        {WM_MOUSEMOVE, {{eCLOCKEVENT_MOUSEMOVE, {}}}, "CLOCK MouseMove\r\n"},
        {WM_LBUTTONUP, {{eCLOCKEVENT_LBUTTONUP, {}}}, "CLOCK l Button Up\r\n"},
        {WM_MOUSEMOVE, {}, ""},
        {WM_LBUTTONDBLCLK, {{eCLOCKEVENT_LBUTTONDOWN, {1}}}, "CLOCK l Button DblClk\r\n"},
        {WM_RBUTTONDOWN, {{eCLOCKEVENT_RBUTTONDOWN, {0}}}, "CLOCK r Button Down\r\n"},
        {WM_RBUTTONDBLCLK, {{eCLOCKEVENT_RBUTTONDOWN, {1}}}, "CLOCK r Button DblClk\r\n"}};
    for (const auto& step : steps) {
        SCOPED_TRACE(testing::Message() << "message 0x" << std::hex << step.message);
        clock.events.clear();
        trace.output.clear();
        clock.control()->SendMessage(step.message, 0, MAKELPARAM(20, 20));
        EXPECT_EQ(clock.events, step.events);
        EXPECT_EQ(trace.output, step.trace);
    }
}

TEST(ClockPages, ZoneListSelectsTheZonesRowAndAppliesTheChosenOne)
{
    const struct
    {
        LONG zone;
        int row;
    } rows[] = {{720, 0}, {330, 9}, {-300, 23}, {-660, 29}, {45, -1}};
    for (const auto& row : rows) {
        SCOPED_TRACE(row.zone);
        CHostedClock clock("Zone=" + std::to_string(row.zone) + "\n", 120, 120);
        CPropertyFrame frame("Clock", {clock.dispatch()}, clock.control()->GetPropPageIDs());
        ASSERT_TRUE(frame.createFrame(nullptr));
        ASSERT_EQ(frame.pageCount(), 3);
        EXPECT_EQ(frame.pageCaption(0), "General");
        EXPECT_EQ(frame.pageCaption(2), "About");
        COlePropertyPage* general = frame.page(0);
        auto* list = static_cast<CComboBox*>(general->GetDlgItem(203));
        ASSERT_NE(list, nullptr);
        EXPECT_EQ(list->GetCount(), 30);
        EXPECT_EQ(list->GetCurSel(), row.row);
        EXPECT_FALSE(frame.applyEnabled()) << "opening changes nothing";
        std::string text;
        list->GetLBText(23, text);
        EXPECT_EQ(text,
            "(UTC-5)   Washington, New York, Atlanta, Toronto, Havana, Bogota, Lima, "
            "Ecuador, Panama ");

        // Choosing UTC+3.5 and applying writes its minutes to Zone.
        list->SetCurSel(13);
        general->SendMessage(WM_COMMAND, MAKEWPARAM(203, CBN_SELCHANGE),
            reinterpret_cast<LPARAM>(list->GetSafeHwnd()));
        EXPECT_TRUE(frame.apply());
        COleVariant zone;
        EXPECT_EQ(zorGetProperty(clock.dispatch(), eCLOCK_ZONE, &zone), S_OK);
        EXPECT_EQ(zone.lVal, 210);

        frame.setActivePage(2);
        EXPECT_TRUE(QRegularExpression(R"(^Version \d+\.\d\d\.\d\d\d\d\.\d+$)")
                        .match(QString::fromStdString(frame.page(2)->GetDlgItemText(3043)))
                        .hasMatch());
        EXPECT_NE(zorSiteOf(frame.page(2)->GetDlgItem(3044)), nullptr) << "the link";
        frame.DestroyWindow();
    }
}

TEST(ClockFont, TakesOnlyAWholeRecordAndEndsItsFaceName)
{
    CHostedClock clock("", 100, 100);
    LOGFONT font;
    font.lfHeight = -20;
    // A face name that fills its 32 bytes without an end.
    std::memset(font.lfFaceName, 'A', LF_FACESIZE);
    const std::string record = zorClockFontRecord(font);
    // An address, as a 32-bit caller would pass it, is no record.
    const std::pair<COleVariant, HRESULT> rows[]
        = {{COleVariant(record), S_OK}, {COleVariant(record.substr(0, 59)), E_INVALIDARG},
            {COleVariant(record + "x"), E_INVALIDARG}, {COleVariant(0x12345678L), E_INVALIDARG}};
    for (const auto& [argument, result] : rows)
        EXPECT_EQ(clock.call(eCLOCK_SETFONT, {argument}), result);
    LOGFONT read;
    ASSERT_TRUE(zorClockFontFromRecord(record, &read));
    EXPECT_EQ(read.lfHeight, -20);
    EXPECT_EQ(std::strlen(read.lfFaceName), LF_FACESIZE - 1u);
}

TEST(ClockPersistence, SavesEveryDefaultInOrder)
{
    CHostedClock clock("", 100, 100);
    std::string bag;
    ASSERT_EQ(clock.control()->saveToBag(&bag), S_OK);
    std::size_t at = 0;
    for (const char* line : {"Foreground=0x00800000", "Background=0x00C0C0C0", "Shadow=0x00FFFFFF",
             "Font=MS Sans Serif,8,400,0,0,1,0", "ShowDate=1", "Digital=0", "Zone=-300", "Border=1",
             "_ExtentX="}) {
        at = bag.find(line, at);
        ASSERT_NE(at, std::string::npos) << line << " in order in\n" << bag;
    }
}
