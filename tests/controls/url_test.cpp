// The link: placement of the text, the click area, opening the address and the visited colour.

#include "tests/controls/widgetstestsupport.h"

#include "controls/url/urlgeometry.h"
#include "platform/gdi/dc.h"
#include "platform/shell/recordingshelllauncher.h"
#include "platform/ui/resources.h"
#include "platform/ui/tooltipctrl.h"

#include <gtest/gtest.h>

#include <QtWidgets/QApplication>
#include <QtWidgets/QWidget>

namespace {

constexpr COLORREF c_link = 0xFF0000;
constexpr COLORREF c_visited = 0x800080;
const std::string c_state = "URL=https://www.zorvex.example/\nBackgroundColor=0x00FFFFFF\n";
const std::string c_framedState
    = "URL=https://www.zorvex.example/\nBackgroundColor=0x00FFFFFF\nBox=1\n";

} // namespace

TEST(UrlGeometry, JustifyPlacesTheText)
{
    UINT format = 0;
    const CRect bounds(0, 0, 200, 30);
    const CSize text(100, 10);
    EXPECT_EQ(zorUrlTextRect(bounds, text, 0, &format), CRect(0, 10, 100, 20));
    EXPECT_EQ(format, DT_LEFT);
    EXPECT_EQ(zorUrlTextRect(bounds, text, 1, &format), CRect(50, 10, 150, 20));
    EXPECT_EQ(format, DT_CENTER);
    EXPECT_EQ(zorUrlTextRect(bounds, text, 2, &format), CRect(100, 10, 200, 20));
    EXPECT_EQ(format, DT_RIGHT);
    EXPECT_EQ(zorUrlTextRect(bounds, text, 3, &format), CRect(0, 10, 100, 20));
    EXPECT_EQ(format, DT_CENTER);
    // Wider and taller than the control: from the origin whatever the justification.
    EXPECT_EQ(zorUrlTextRect(CRect(0, 0, 50, 5), text, 2, &format), CRect(0, 0, 100, 10));
}

TEST(UrlGeometry, ClicksReachFourPixelsAroundTheText)
{
    const CRect text(50, 10, 150, 20);
    EXPECT_TRUE(zorUrlHit(text, CPoint(46, 6)));
    EXPECT_TRUE(zorUrlHit(text, CPoint(153, 23)));
    EXPECT_FALSE(zorUrlHit(text, CPoint(45, 15)));
    EXPECT_FALSE(zorUrlHit(text, CPoint(100, 24)));
}

TEST(UrlControl, DefaultsAreTheMakersAddressCentred)
{
    CHostedControl url(c_urlId, "", 300, 30);
    ASSERT_TRUE(url.ok());
    EXPECT_EQ(url.getText(1), "https://www.zorvex.example/");
    EXPECT_EQ(url.getText(DISPID_VALUE), "https://www.zorvex.example/");
    EXPECT_EQ(url.getLong(2), 0);
    EXPECT_EQ(url.getColor(3), 0xFF0000u);
    EXPECT_EQ(url.getColor(4), 0x800080u);
    EXPECT_EQ(url.getColor(5), 0x0F000000u);
    EXPECT_EQ(url.getLong(6), 1);
}

TEST(UrlControl, JustifyMovesTheDrawnText)
{
    CHostedControl url(c_urlId, c_state, 400, 30);
    ASSERT_TRUE(url.ok());
    ASSERT_EQ(url.put(6, COleVariant(0L)), S_OK);
    const auto left = columnsOf(url.grab(), c_link);
    ASSERT_GE(left.first, 0);
    EXPECT_LE(left.first, 2);
    ASSERT_EQ(url.put(6, COleVariant(1L)), S_OK);
    const auto centre = columnsOf(url.grab(), c_link);
    const int width = left.second - left.first;
    EXPECT_NEAR(centre.first, (400 - width) / 2, 4);
    ASSERT_EQ(url.put(6, COleVariant(2L)), S_OK);
    const auto right = columnsOf(url.grab(), c_link);
    EXPECT_GE(right.second, 390);
    ASSERT_EQ(url.put(6, COleVariant(3L)), S_OK);
    EXPECT_EQ(columnsOf(url.grab(), c_link).first, left.first);
}

TEST(UrlControl, TextWiderThanTheControlStartsAtTheLeft)
{
    CHostedControl url(c_urlId, c_state, 60, 30);
    ASSERT_TRUE(url.ok());
    for (long justify : {1L, 2L}) {
        ASSERT_EQ(url.put(6, COleVariant(justify)), S_OK);
        const auto columns = columnsOf(url.grab(), c_link);
        ASSERT_GE(columns.first, 0);
        EXPECT_LE(columns.first, 2) << "Justify " << justify;
    }
}

TEST(UrlControl, ClickNearTheTextOpensTheAddressAndMarksItVisited)
{
    CRecordingShellLauncher launcher;
    CHostedControl url(c_urlId, c_state, 400, 30);
    ASSERT_TRUE(url.ok());
    const auto ink = columnsOf(url.grab(), c_link);
    ASSERT_GT(ink.first, 20);
    // Far left of the text: nothing.
    url.click(ink.first - 20, 15);
    EXPECT_TRUE(launcher.starts.empty());
    // Within the four pixels around the text.
    url.click(ink.first - 3, 15);
    ASSERT_EQ(launcher.starts.size(), 1u);
    ASSERT_FALSE(launcher.starts[0].args.empty());
    EXPECT_EQ(launcher.starts[0].args.back(), "https://www.zorvex.example/");
    const QImage after = url.grab();
    EXPECT_EQ(columnsOf(after, c_link).first, -1);
    EXPECT_EQ(columnsOf(after, c_visited).first, ink.first);
}

TEST(UrlControl, FailedOpenLeavesTheLinkColour)
{
    CRecordingShellLauncher launcher;
    launcher.result = false;
    CHostedControl url(c_urlId, c_state, 400, 30);
    ASSERT_TRUE(url.ok());
    const auto ink = columnsOf(url.grab(), c_link);
    ASSERT_GT(ink.first, 0);
    url.click((ink.first + ink.second) / 2, 15);
    EXPECT_EQ(launcher.starts.size(), 1u);
    const QImage after = url.grab();
    EXPECT_EQ(columnsOf(after, c_link).first, ink.first);
    EXPECT_EQ(columnsOf(after, c_visited).first, -1);
}

TEST(UrlControl, FrameShrinksTheArea)
{
    CHostedControl url(c_urlId, c_framedState, 400, 30);
    ASSERT_TRUE(url.ok());
    EXPECT_EQ(url.getLong(2), 1);
    const QImage image = url.grab();
    // The frame's outer line is not the background.
    EXPECT_NE(pixel(image, 0, 15), 0xFFFFFFu);
    EXPECT_EQ(pixel(image, 5, 5), 0xFFFFFFu);
}

TEST(UrlControl, HandCursorOverTheTextAndTheTip)
{
    CHostedControl url(c_urlId, c_state, 400, 30);
    ASSERT_TRUE(url.ok());
    const auto ink = columnsOf(url.grab(), c_link);
    ASSERT_GT(ink.first, 20);
    const HCURSOR hand = LoadCursorA(widgetsModule(), 4017u);
    ASSERT_NE(hand, nullptr) << "the module carries its hand cursor";
    QWidget* widget = url.control()->widget();
    url.control()->SendMessage(WM_MOUSEMOVE, 0, MAKELPARAM(ink.first + 2, 15));
    ASSERT_EQ(widget->cursor().shape(), Qt::BitmapCursor);
    EXPECT_EQ(widget->cursor().pixmap().cacheKey(), zorQCursor(hand).pixmap().cacheKey());
    url.control()->SendMessage(WM_MOUSEMOVE, 0, MAKELPARAM(ink.first - 30, 15));
    EXPECT_NE(widget->cursor().shape(), Qt::BitmapCursor);

    // The tip is the control's own text; read it from the tooltip tool registered for it.
    CToolTipCtrl* tip = nullptr;
    for (QObject* child : QApplication::topLevelWidgets()) {
        if (CWnd* wnd = CWnd::fromWidget(qobject_cast<QWidget*>(child));
            wnd && wnd->GetClassName() == "tooltips_class32")
            if (auto* t = dynamic_cast<CToolTipCtrl*>(wnd); t && t->GetToolCount() > 0)
                tip = t;
    }
    ASSERT_NE(tip, nullptr);
    EXPECT_EQ(tip->GetText(url.control()), "Click here to go to the web address.");
}
