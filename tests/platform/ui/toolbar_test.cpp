#include "platform/ui/toolbar.h"

#include "platform/ui/bitmaps.h"
#include "platform/ui/controls.h"
#include "tests/platform/ui/uitestapp.h"

#include <QtCore/QBuffer>
#include <QtGui/QHelpEvent>
#include <QtGui/QPainter>
#include <QtWidgets/QToolButton>
#include <QtWidgets/QToolTip>

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace {

constexpr UINT IDR_TEST_BAR = 700;
constexpr UINT IDR_NO_BITMAP = 701;
constexpr UINT ID_RED = 32771;
constexpr UINT ID_GREEN = 32772;
constexpr UINT ID_BLUE = 32773;
constexpr int c_leftOverId = 1234;

} // namespace

ZOR_TOOLBAR_TABLE({
    {IDR_TEST_BAR, 16, 15, {ID_RED, ID_SEPARATOR, ID_GREEN, ID_BLUE}},
    {IDR_NO_BITMAP, 16, 15, {ID_RED}},
});

namespace {

// The bitmap of the test bar: three images of 16 x 15 (red, green, blue) side by side, each
// with its top-left pixel in the light grey that stands for the button face.
QByteArray stripBytes()
{
    QImage strip(48, 15, QImage::Format_RGB32);
    const QColor colours[] = {Qt::red, Qt::green, Qt::blue};
    for (int i = 0; i < 3; ++i) {
        for (int y = 0; y < 15; ++y)
            for (int x = 0; x < 16; ++x)
                strip.setPixel(16 * i + x, y, colours[i].rgb());
        strip.setPixel(16 * i, 0, qRgb(192, 192, 192));
    }
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    strip.save(&buffer, "BMP");
    return bytes;
}

void registerStrip()
{
    static const QByteArray bytes = stripBytes();
    static const CBitmapTableRegistrar table(ZOR_THIS_MODULE(),
        {{IDR_TEST_BAR, reinterpret_cast<const unsigned char*>(bytes.constData()),
            static_cast<std::size_t>(bytes.size())}});
}

// The bar's owner: records commands, fly-by texts and tip requests, and answers tips.
class COwnerWnd : public CWnd, public CCmdUITarget
{
public:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (message == WM_SETMESSAGESTRING) {
            messageStrings.push_back(static_cast<UINT>(wParam));
            return 0;
        }
        if (message == WM_COMMAND) {
            commands.push_back({wParam, lParam});
            return 0;
        }
        if (message == WM_NOTIFY) {
            auto* header = reinterpret_cast<NMHDR*>(lParam);
            requests.push_back(*header);
            if (header->code == TTN_NEEDTEXTA && !tipA.empty())
                std::snprintf(
                    reinterpret_cast<TOOLTIPTEXTA*>(header)->szText, 80, "%s", tipA.c_str());
            if (header->code == TTN_NEEDTEXTW && !tipW.empty())
                std::copy(
                    tipW.begin(), tipW.end() + 1, reinterpret_cast<TOOLTIPTEXTW*>(header)->szText);
            return 0;
        }
        return CWnd::WindowProc(message, wParam, lParam);
    }

    std::vector<std::pair<WPARAM, LPARAM>> commands;
    std::vector<UINT> messageStrings;
    std::vector<NMHDR> requests;
    std::string tipA;
    std::u16string tipW;
};

struct Fixture
{
    Fixture()
    {
        uiTestApp();
        registerStrip();
        owner.CreateEx(
            0, "Owner", "Owner", WS_POPUP | WS_VISIBLE, CRect(0, 0, 300, 200), nullptr, 0);
        bar.Create(&owner);
        bar.LoadToolBar(IDR_TEST_BAR);
    }
    QToolButton* button(int index) const
    {
        const auto buttons = bar.widget()->findChildren<QToolButton*>();
        for (QToolButton* b : buttons) {
            if (b->property("zorIndex").toInt() == index)
                return b;
        }
        return nullptr;
    }
    COwnerWnd owner;
    CToolBar bar;
};

// Qt hides its tip a moment after it is asked to; the next case must not see this one's.
void hideTipNow()
{
    QToolTip::hideText();
    for (QWidget* window : QApplication::topLevelWidgets()) {
        if (window->inherits("QTipLabel"))
            window->hide();
    }
}

struct LoadCase
{
    const char* name;
    UINT id;
    BOOL loaded;
};

class ToolBarLoad : public testing::TestWithParam<LoadCase>
{
};

TEST_P(ToolBarLoad, NeedsTheResourceAndItsBitmap)
{
    Fixture f;
    CToolBar bar;
    ASSERT_TRUE(bar.Create(&f.owner));
    EXPECT_EQ(bar.LoadToolBar(GetParam().id), GetParam().loaded);
}

INSTANTIATE_TEST_SUITE_P(Cases, ToolBarLoad,
    testing::Values(LoadCase {"ResourceWithBitmap", IDR_TEST_BAR, TRUE},
        LoadCase {"ResourceWithoutBitmap", IDR_NO_BITMAP, FALSE},
        LoadCase {"NoResource", 999, FALSE}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(ToolBarButtons, OneButtonPerIdentifierWithItsImage)
{
    Fixture f;
    ASSERT_EQ(f.bar.GetCount(), 4);
    EXPECT_EQ(f.bar.GetItemID(2), ID_GREEN);
    EXPECT_EQ(f.bar.GetButtonStyle(1), TBBS_SEPARATOR);
    EXPECT_EQ(f.bar.CommandToIndex(ID_BLUE), 3);
    EXPECT_EQ(f.bar.GetDlgCtrlID(), static_cast<int>(AFX_IDW_TOOLBAR));
    EXPECT_EQ(f.bar.CalcFixedLayout(FALSE, TRUE).cy, 15 + 6 + 2 * CToolBar::c_cyBorder);

    // The separator takes no image: the second button shows the second image.
    const struct
    {
        int index;
        QRgb colour;
    } rows[] = {{0, qRgb(255, 0, 0)}, {2, qRgb(0, 255, 0)}, {3, qRgb(0, 0, 255)}};
    for (const auto& row : rows) {
        QToolButton* button = f.button(row.index);
        ASSERT_NE(button, nullptr);
        EXPECT_EQ(button->size(), QSize(23, 21));
        const QImage image = button->icon().pixmap(QSize(16, 15)).toImage();
        EXPECT_EQ(image.pixel(5, 5), row.colour | 0xFF000000) << row.index;
        // The face grey is transparent.
        EXPECT_EQ(qAlpha(image.pixel(0, 0)), 0) << row.index;
    }
}

struct UpdateCase
{
    const char* name;
    bool updateHandler;
    bool commandHandler;
    BOOL disableIfNoHandler;
    UINT expectedStyle;
};

class ToolBarUpdate : public testing::TestWithParam<UpdateCase>
{
};

TEST_P(ToolBarUpdate, IdlePassAsksTheOwner)
{
    const UpdateCase& c = GetParam();
    Fixture f;
    if (c.updateHandler)
        f.owner.onUpdateCommandUI(ID_GREEN, [](CCmdUI* pCmdUI) {
            pCmdUI->Enable(FALSE);
            pCmdUI->SetCheck(1);
        });
    if (c.commandHandler)
        f.owner.onCommand(ID_GREEN, BN_CLICKED, [] {});
    f.bar.SendMessage(WM_IDLEUPDATECMDUI, c.disableIfNoHandler, 0);
    EXPECT_EQ(f.bar.GetButtonStyle(2), c.expectedStyle);
    EXPECT_EQ(f.button(2)->isEnabled(), !(c.expectedStyle & TBBS_DISABLED));
    EXPECT_EQ(f.button(2)->isChecked(), (c.expectedStyle & TBBS_CHECKED) != 0);
}

INSTANTIATE_TEST_SUITE_P(Cases, ToolBarUpdate,
    testing::Values(
        UpdateCase {"UpdateHandlerDecides", true, true, TRUE, TBBS_DISABLED | TBBS_CHECKED},
        UpdateCase {"CommandHandlerKeepsEnabled", false, true, TRUE, TBBS_BUTTON},
        UpdateCase {"NoHandlerDisabled", false, false, TRUE, TBBS_DISABLED},
        UpdateCase {"NoHandlerLeftAlone", false, false, FALSE, TBBS_BUTTON}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(ToolBarUpdateHidden, HiddenBarIsNotUpdated)
{
    Fixture f;
    f.bar.ShowWindow(SW_HIDE);
    f.bar.SendMessage(WM_IDLEUPDATECMDUI, TRUE, 0);
    EXPECT_EQ(f.bar.GetButtonStyle(2), TBBS_BUTTON);
}

TEST(ToolBarClick, SendsTheCommandToTheOwnerUnlessDisabled)
{
    Fixture f;
    f.button(2)->click();
    ASSERT_EQ(f.owner.commands.size(), 1u);
    EXPECT_EQ(f.owner.commands[0].first, MAKEWPARAM(ID_GREEN, BN_CLICKED));
    EXPECT_EQ(f.owner.commands[0].second, reinterpret_cast<LPARAM>(f.bar.GetSafeHwnd()));

    f.bar.SetButtonStyle(3, TBBS_DISABLED);
    f.button(3)->click();
    f.bar.pressButton(3);
    EXPECT_EQ(f.owner.commands.size(), 1u);

    // A check box button turns its check with each click.
    f.bar.SetButtonStyle(0, TBBS_CHECKBOX);
    f.button(0)->click();
    EXPECT_EQ(f.bar.GetButtonStyle(0), TBBS_CHECKBOX | TBBS_CHECKED);
    EXPECT_EQ(f.owner.commands.size(), 2u);
}

struct TipCase
{
    const char* name;
    DWORD barStyle;
    std::string tipA;
    std::u16string tipW;
    std::string shown;
    std::size_t requests;
};

class ToolBarTips : public testing::TestWithParam<TipCase>
{
};

TEST_P(ToolBarTips, OwnerGivesTheText)
{
    const TipCase& c = GetParam();
    Fixture f;
    f.bar.SetBarStyle(f.bar.GetBarStyle() | c.barStyle);
    f.owner.tipA = c.tipA;
    f.owner.tipW = c.tipW;

    // The mouse resting on the button asks for the tip.
    QToolButton* button = f.button(3);
    QHelpEvent help(QEvent::ToolTip, QPoint(3, 3), button->mapToGlobal(QPoint(3, 3)));
    QCoreApplication::sendEvent(button, &help);

    ASSERT_EQ(f.owner.requests.size(), c.requests);
    if (c.requests > 0) {
        EXPECT_EQ(f.owner.requests[0].code, TTN_NEEDTEXTA);
        EXPECT_EQ(f.owner.requests[0].idFrom, ID_BLUE);
        EXPECT_EQ(f.owner.requests[0].hwndFrom, f.bar.GetToolTips()->GetSafeHwnd());
    }
    if (c.requests > 1) {
        EXPECT_EQ(f.owner.requests[1].code, TTN_NEEDTEXTW);
    }
    const QString shown = QToolTip::isVisible() ? QToolTip::text() : QString();
    EXPECT_EQ(shown.toStdString(), c.shown);
    hideTipNow();
}

INSTANTIATE_TEST_SUITE_P(Cases, ToolBarTips,
    testing::Values(TipCase {"SingleByteAnswer", CBRS_TOOLTIPS, "Blue", u"", "Blue", 1},
        TipCase {"WideAnswerAfterAnEmptyOne", CBRS_TOOLTIPS, "", u"Bl\u00e4u", "Bl\xc3\xa4u", 2},
        TipCase {"NoAnswer", CBRS_TOOLTIPS, "", u"", "", 2},
        TipCase {"NoTooltipStyle", 0, "Blue", u"", "", 0}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(ToolBarFlyBy, EnteringAndLeavingAButtonTellTheOwner)
{
    Fixture f;
    QEvent enter(QEvent::Enter);
    QEvent leave(QEvent::Leave);
    QCoreApplication::sendEvent(f.button(2), &enter);
    QCoreApplication::sendEvent(f.button(2), &leave);
    EXPECT_TRUE(f.owner.messageStrings.empty());

    f.bar.SetBarStyle(f.bar.GetBarStyle() | CBRS_FLYBY);
    QCoreApplication::sendEvent(f.button(2), &enter);
    QCoreApplication::sendEvent(f.button(2), &leave);
    EXPECT_EQ(f.owner.messageStrings, (std::vector<UINT> {ID_GREEN, AFX_IDS_IDLEMESSAGE}));
}

struct ReposCase
{
    const char* name;
    UINT flag;
    CRect extra;
    CRect remaining;
};

class RepositionBarsLayout : public testing::TestWithParam<ReposCase>
{
};

TEST_P(RepositionBarsLayout, BarsTakeTheTopAndTheRestIsLeftOver)
{
    const ReposCase& c = GetParam();
    Fixture f;
    CWnd leftOver;
    ASSERT_TRUE(leftOver.CreateEx(
        0, "Rest", "", WS_CHILD | WS_VISIBLE, CRect(0, 0, 10, 10), &f.owner, c_leftOverId));
    f.bar.MoveWindow(0, 100, 50, 25);
    const int barHeight = f.bar.CalcFixedLayout(TRUE, TRUE).cy;

    CRect param = c.extra;
    RepositionBars(
        &f.owner, AFX_IDW_CONTROLBAR_FIRST, AFX_IDW_CONTROLBAR_LAST, c_leftOverId, c.flag, &param);
    const CRect expected(
        c.remaining.left, c.remaining.top + barHeight, c.remaining.right, c.remaining.bottom);
    CRect rcBar;
    f.bar.GetWindowRect(&rcBar);
    f.owner.ScreenToClient(&rcBar);
    CRect rcRest;
    leftOver.GetWindowRect(&rcRest);
    f.owner.ScreenToClient(&rcRest);
    if (c.flag == reposQuery) {
        EXPECT_EQ(param, expected);
        // Nothing moved.
        EXPECT_EQ(rcBar, CRect(0, 100, 50, 125));
        EXPECT_EQ(rcRest, CRect(0, 0, 10, 10));
    } else {
        EXPECT_EQ(rcBar,
            CRect(
                c.remaining.left, c.remaining.top, c.remaining.right, c.remaining.top + barHeight));
        EXPECT_EQ(rcRest, expected);
    }
}

INSTANTIATE_TEST_SUITE_P(Cases, RepositionBarsLayout,
    testing::Values(ReposCase {"Query", reposQuery, CRect(), CRect(0, 0, 300, 200)},
        ReposCase {"Default", reposDefault, CRect(), CRect(0, 0, 300, 200)},
        ReposCase {"ExtraBorders", reposExtra, CRect(5, 6, 7, 8), CRect(5, 6, 293, 192)}),
    [](const auto& info) { return std::string(info.param.name); });

} // namespace
