// The system information control: the report from given facts, the operating-system lines,
// the aligned time and up-time, the layout, and the control as a container drives it.

#include "tests/controls/widgetstestsupport.h"

#include "controls/sysinfo/sysinfogeometry.h"
#include "controls/sysinfo/sysinforeport.h"
#include "platform/gdi/syscolor.h"

#include <gtest/gtest.h>

namespace {

constexpr const char* c_sysInfoId = "{01540154-0007-0000-0029-000000000004}";
constexpr DISPID c_background = 1;
constexpr DISPID c_boxBorder = 2;
constexpr DISPID c_textColor = 3;
constexpr DISPID c_showTime = 4;
constexpr DISPID c_showUpTime = 5;

struct OsRow
{
    const char* name;
    ZorOsVersion version;
    const char* line;
};

class SysInfoOsLine : public testing::TestWithParam<OsRow>
{
};

// The text-colour pixels inside a rectangle of the image.
int pixelsOf(const QImage& image, const CRect& r, COLORREF color)
{
    int count = 0;
    for (int y = r.top; y < r.bottom; ++y)
        for (int x = r.left; x < r.right; ++x)
            count += pixel(image, x, y) == color ? 1 : 0;
    return count;
}

} // namespace

TEST_P(SysInfoOsLine, NamesTheVersion)
{
    EXPECT_EQ(zorWindowsOsLine(GetParam().version), GetParam().line);
}

INSTANTIATE_TEST_SUITE_P(VersionRecords, SysInfoOsLine,
    testing::Values(OsRow {"Consumer95BuildIsLow16Bits", {1, 4, 0, 0x040003B6, "B"},
                        "Windows 95 B (build 950)\r\n"},
        OsRow {"Consumer98", {1, 4, 1, 0x040A07CE, "A"}, "Windows 98 A (build 1998)\r\n"},
        OsRow {"ConsumerMinor10IsGeneric", {1, 4, 10, 0x040A0898, "A"},
            "Windows V4.10 A (build 2200)\r\n"},
        OsRow {"Nt50", {2, 5, 0, 2195, "Service Pack 4"},
            "Windows 2000 Service Pack 4 (build 2195)\r\n"},
        OsRow {"Nt51", {2, 5, 1, 2600, "Service Pack 1"},
            "Windows XP Service Pack 1 (build 2600)\r\n"},
        OsRow {"Nt52IsNamedLikeXp", {2, 5, 2, 3790, ""}, "Windows XP  (build 3790)\r\n"},
        OsRow {
            "NtOtherKeepsTheWholeBuild", {2, 6, 0, 70000, "x"}, "Windows NT x (build 70000)\r\n"},
        OsRow {"UnknownPlatformHasNoLineEnd", {3, 5, 1, 100, "x"}, "Unknown Operating System"}),
    [](const testing::TestParamInfo<OsRow>& info) { return std::string(info.param.name); });

TEST(SysInfoReport, LinesFromTheFacts)
{
    ZorSysInfoFacts facts;
    facts.osLine = zorUnameOsLine("Linux", "6.1.0", "#1 SMP");
    facts.physicalAvailable = 1572864; // 1.5 MB
    facts.memoryAvailable = 3670016; // 3.5 MB
    facts.directory = "/home/user";
    facts.directoryFreeMB = 1234;
    const std::string withoutTemp = "Linux 6.1.0 (build #1 SMP)\r\n"
                                    "1.5 MB physical memory available\r\n"
                                    "3.5 MB memory available\r\n\r\n"
                                    "1234.0 MB free on default path /home/user";
    EXPECT_EQ(zorSysInfoReport(facts), withoutTemp);

    facts.tempPath = "/tmp";
    facts.tempFreeMB = 99;
    EXPECT_EQ(zorSysInfoReport(facts), withoutTemp + "\r\n99.0 MB free on temp path \r\n/tmp");

    // A long TEMP path shows its first 75 characters.
    facts.tempPath = "/" + std::string(100, 't');
    const std::string report = zorSysInfoReport(facts);
    EXPECT_EQ(report.substr(report.rfind('\n') + 1), facts.tempPath->substr(0, 75));

    // Without a version line the report starts afresh with the memory; an unknown system's
    // line runs into the memory line.
    facts.osLine.reset();
    EXPECT_EQ(zorSysInfoReport(facts).rfind("1.5 MB physical memory available\r\n", 0), 0u);
    facts.osLine = zorWindowsOsLine({9, 0, 0, 0, ""});
    EXPECT_EQ(zorSysInfoReport(facts).rfind("Unknown Operating System1.5 MB physical", 0), 0u);
}

TEST(SysInfoTime, UpTimeAdvancesInStepsOfFifteenSeconds)
{
    std::int64_t last = 0;
    for (std::int64_t seconds = 0; seconds < 200; ++seconds) {
        const std::int64_t shown = zorAlignUpTime(seconds);
        ASSERT_TRUE(shown == last || shown == last + 15) << seconds;
        ASSERT_TRUE(shown <= seconds && seconds - shown < 15) << seconds;
        last = shown;
    }
    EXPECT_EQ(zorUpTimeText(zorAlignUpTime(86399)), " 0 days 23:59:45 ");
    EXPECT_EQ(zorUpTimeText(86400 + 3 * 3600 + 4 * 60 + 5), " 1 day 03:04:05 ");
    EXPECT_EQ(zorUpTimeText(2 * 86400 + 15), " 2 days 00:00:15 ");
}

TEST(SysInfoTime, CurrentTimeDropsItsSecondsModuloFifteen)
{
    EXPECT_EQ(
        zorTimeText(zorAlignTime(COleDateTime(2002, 6, 5, 14, 7, 44))), " 06/05/2002 14:07:30 ");
    EXPECT_EQ(
        zorTimeText(zorAlignTime(COleDateTime(2002, 6, 5, 14, 7, 45))), " 06/05/2002 14:07:45 ");
    EXPECT_EQ(
        zorTimeText(zorAlignTime(COleDateTime(2002, 12, 31, 23, 59, 59))), " 12/31/2002 23:59:45 ");
}

TEST(SysInfoGeometry, ReportCentredAboveTheTimeLine)
{
    EXPECT_EQ(zorSysInfoTimeRect(400, 200), CRect(6, 180, 200, 194));
    EXPECT_EQ(zorSysInfoUpTimeRect(401, 200), CRect(197, 180, 395, 194));
    // Centred with truncating halves; a report larger than its area starts at the corner.
    EXPECT_EQ(zorSysInfoReportRect(CRect(4, 4, 396, 176), CSize(201, 61)), CRect(99, 59, 300, 120));
    EXPECT_EQ(zorSysInfoReportRect(CRect(4, 4, 96, 36), CSize(200, 60)), CRect(4, 4, 204, 64));
}

TEST(SysInfoControl, DefaultsAndPersistenceOrder)
{
    CHostedControl info(c_sysInfoId, "", 200, 100);
    ASSERT_TRUE(info.ok());
    std::string bag;
    ASSERT_EQ(info.control()->saveToBag(&bag), S_OK);
    ASSERT_EQ(info.put(c_boxBorder, COleVariant(0L)), S_OK);
    ASSERT_EQ(info.putColor(c_textColor, 0x05000000), S_OK);
    ASSERT_EQ(info.put(c_showTime, COleVariant(0L)), S_OK);
    ASSERT_EQ(info.control()->saveToBag(&bag), S_OK);
    std::size_t at = 0;
    for (const char* name : {"BoxBorder=0", "BackgroundColor=0x0F000000", "TextColor=0x05000000",
             "ShowTime=0", "ShowUpTime=1", "Font=", "_ExtentX="}) {
        const std::size_t found = bag.find(name, at);
        ASSERT_NE(found, std::string::npos) << name << " in order in\n" << bag;
        at = found;
    }
    // What was saved comes back as it was.
    CHostedControl other(c_sysInfoId, "", 200, 100);
    ASSERT_TRUE(other.ok());
    ASSERT_EQ(other.control()->loadFromBag(bag), S_OK);
    std::string again;
    ASSERT_EQ(other.control()->saveToBag(&again), S_OK);
    EXPECT_EQ(again, bag);
}

TEST(SysInfoControl, ClearedFlagsHideTheTimeAndTheUpTime)
{
    constexpr COLORREF c_text = 0x0000FF;
    constexpr COLORREF c_fill = 0xFFFFFF;
    CHostedControl info(c_sysInfoId, "", 400, 200);
    ASSERT_TRUE(info.ok());
    ASSERT_EQ(info.putColor(c_background, c_fill), S_OK);
    ASSERT_EQ(info.putColor(c_textColor, c_text), S_OK);
    const CRect timeStrip(6, 180, 150, 194);
    const CRect upTimeStrip(250, 180, 394, 194);
    for (const auto& [showTime, showUpTime] : {std::pair {1L, 1L}, {0L, 1L}, {1L, 0L}, {0L, 0L}}) {
        SCOPED_TRACE(testing::Message() << "ShowTime " << showTime << " ShowUpTime " << showUpTime);
        ASSERT_EQ(info.put(c_showTime, COleVariant(showTime)), S_OK);
        ASSERT_EQ(info.put(c_showUpTime, COleVariant(showUpTime)), S_OK);
        const QImage image = info.grab();
        EXPECT_EQ(pixelsOf(image, timeStrip, c_text) > 0, showTime != 0);
        EXPECT_EQ(pixelsOf(image, upTimeStrip, c_text) > 0, showUpTime != 0);
        // The report itself always shows.
        EXPECT_GT(pixelsOf(image, CRect(4, 4, 396, 176), c_text), 0);
        // The sunken frame: its outer line in the window-frame colour, the fill inside.
        EXPECT_EQ(pixel(image, 0, 100), GetSysColor(COLOR_WINDOWFRAME));
        EXPECT_EQ(pixel(image, 5, 100), c_fill);
    }
}

TEST(SysInfoControl, TimerRunsFromTheFirstDrawAndItsTickRepaints)
{
    CHostedControl info(c_sysInfoId, "", 200, 100);
    ASSERT_TRUE(info.ok());
    info.grab();
    info.control()->SetModifiedFlag(FALSE);
    const int paints = info.control()->paintCount();
    info.control()->SendMessage(WM_TIMER, 1, 0);
    pumpEvents();
    EXPECT_GT(info.control()->paintCount(), paints);
    EXPECT_FALSE(info.control()->IsModified());
    // The drawn control has its refresh timer (stopping it here says it existed).
    EXPECT_TRUE(info.control()->KillTimer(1));
}
