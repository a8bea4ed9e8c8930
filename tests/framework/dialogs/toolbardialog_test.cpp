#include "framework/dialogs/mycheckbox1.h"
#include "framework/dialogs/toolbardialog.h"

#include "platform/ui/bitmaps.h"
#include "platform/ui/controls.h"
#include "platform/ui/dialogtemplate.h"
#include "platform/ui/strings.h"
#include "tests/framework/dialogs/dialogtestsupport.h"

#include <QtCore/QBuffer>
#include <QtCore/QTimer>
#include <QtGui/QImage>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

namespace {

constexpr UINT IDD_TOOLBAR = 540;
constexpr UINT IDR_BAR = 800;
constexpr UINT ID_OPEN = 32801;
constexpr UINT ID_SORT = 32802;
constexpr UINT ID_LONG = 32803;
constexpr UINT ID_QUIET = 32804;
constexpr UINT IDC_CHECKS = 1401;

const std::string c_longTip(100, 'x');
const std::string c_longText = "Prompt\n" + c_longTip;

constexpr DWORD kResizable = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME;

} // namespace

ZOR_STRING_TABLE({
    {ID_OPEN, "Open a file\nOpen"},
    {ID_SORT, "Sort"},
    {ID_LONG, c_longText.c_str()},
});

ZOR_TOOLBAR_TABLE({{IDR_BAR, 16, 15, {ID_OPEN, ID_SEPARATOR, ID_SORT, ID_LONG, ID_QUIET}}});

ZOR_DIALOG_TABLE({
    {IDD_TOOLBAR, "Toolbar", 200, 100, "MS Sans Serif", 8, kResizable,
        {
            {eDLG_EDIT, IDC_NAME, "", 10, 10, 60, 12, ES_AUTOHSCROLL | WS_TABSTOP},
            {eDLG_LISTBOX, IDC_HOSTS, "", 10, 30, 80, 40, LBS_NOINTEGRALHEIGHT | WS_VSCROLL},
            {eDLG_BUTTON, IDOK, "OK", 145, 80, 40, 14, BS_DEFPUSHBUTTON | WS_TABSTOP},
        }},
});

namespace {

// The bar's bitmap: four grey images of 16 x 15 side by side.
void registerBarBitmap()
{
    static const QByteArray bytes = [] {
        QImage strip(64, 15, QImage::Format_RGB32);
        strip.fill(qRgb(128, 128, 128));
        QByteArray data;
        QBuffer buffer(&data);
        buffer.open(QIODevice::WriteOnly);
        strip.save(&buffer, "BMP");
        return data;
    }();
    static const CBitmapTableRegistrar table(ZOR_THIS_MODULE(),
        {{IDR_BAR, reinterpret_cast<const unsigned char*>(bytes.constData()),
            static_cast<std::size_t>(bytes.size())}});
}

const int c_controls[] = {IDC_NAME, IDC_HOSTS, IDOK};

struct RoomCase
{
    const char* name;
    bool makeRoom;
};

class ToolBarDialogLayout : public testing::TestWithParam<RoomCase>
{
};

TEST_P(ToolBarDialogLayout, MakeRoomMovesTheControlsAndGrowsTheDialog)
{
    registerBarBitmap();
    const bool makeRoom = GetParam().makeRoom;
    CTestResizableDialog plain(IDD_TOOLBAR);
    ASSERT_TRUE(plain.Create(IDD_TOOLBAR));
    CToolBarDialog dlg(IDD_TOOLBAR, IDR_BAR, makeRoom);
    ASSERT_TRUE(dlg.Create(IDD_TOOLBAR));
    ASSERT_NE(dlg.toolBar().GetSafeHwnd(), nullptr);
    EXPECT_EQ(dlg.GetDlgItem(static_cast<int>(AFX_IDW_TOOLBAR)), &dlg.toolBar());
    EXPECT_EQ(dlg.toolBar().GetBarStyle() & (CBRS_TOOLTIPS | CBRS_FLYBY | CBRS_ALIGN_TOP),
        CBRS_TOOLTIPS | CBRS_FLYBY | CBRS_ALIGN_TOP);

    const CRect rcBar = childRect(&dlg, static_cast<int>(AFX_IDW_TOOLBAR));
    const int barHeight = rcBar.Height();
    EXPECT_EQ(barHeight, 15 + 6 + 2 * CToolBar::c_cyBorder);
    const int offset = makeRoom ? barHeight : 0;
    for (int nID : c_controls) {
        CRect expected = childRect(&plain, nID);
        expected.OffsetRect(0, offset);
        EXPECT_EQ(childRect(&dlg, nID), expected) << nID;
    }
    const CRect client = clientRect(&dlg);
    EXPECT_EQ(client.Width(), clientRect(&plain).Width());
    EXPECT_EQ(client.Height(), clientRect(&plain).Height() + offset);
    // The bar lies along the top, across the whole width.
    EXPECT_EQ(rcBar, CRect(0, 0, client.Width(), barHeight));
}

INSTANTIATE_TEST_SUITE_P(Cases, ToolBarDialogLayout,
    testing::Values(RoomCase {"MakeRoom", true}, RoomCase {"CoverTheTop", false}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(ToolBarDialogLayout, WithoutAToolbarResourceNoBar)
{
    CToolBarDialog dlg(IDD_TOOLBAR, 0, true);
    ASSERT_TRUE(dlg.Create(IDD_TOOLBAR));
    EXPECT_EQ(dlg.toolBar().GetSafeHwnd(), nullptr);
    EXPECT_EQ(dlg.GetDlgItem(static_cast<int>(AFX_IDW_TOOLBAR)), nullptr);
}

struct TipCase
{
    const char* name;
    UINT code;
    UINT id;
    bool byWindow;
    std::string expected;
};

class ToolBarDialogTips : public testing::TestWithParam<TipCase>
{
};

TEST_P(ToolBarDialogTips, TextAfterTheLineBreakCutToTheField)
{
    const TipCase& c = GetParam();
    registerBarBitmap();
    CToolBarDialog dlg(IDD_TOOLBAR, IDR_BAR, true);
    ASSERT_TRUE(dlg.Create(IDD_TOOLBAR));

    const UINT_PTR idFrom = c.byWindow
        ? reinterpret_cast<UINT_PTR>(dlg.GetDlgItem(static_cast<int>(c.id))->GetSafeHwnd())
        : c.id;
    const NMHDR header {dlg.toolBar().GetToolTips()->GetSafeHwnd(), idFrom, c.code};
    const UINT flags = c.byWindow ? TTF_IDISHWND : 0;
    TOOLTIPTEXTA textA;
    textA.hdr = header;
    textA.uFlags = flags;
    std::strcpy(textA.szText, "old");
    TOOLTIPTEXTW textW;
    textW.hdr = header;
    textW.uFlags = flags;
    std::copy_n(u"old", 4, textW.szText);
    NMHDR* pHeader = c.code == TTN_NEEDTEXTA ? &textA.hdr : &textW.hdr;
    LRESULT result = -1;
    EXPECT_TRUE(dlg.onToolTipText(0, pHeader, &result));
    EXPECT_EQ(result, 0);
    const std::string got = c.code == TTN_NEEDTEXTA
        ? std::string(textA.szText)
        : QString::fromStdU16String(std::u16string(textW.szText)).toStdString();
    EXPECT_EQ(got, c.expected);
}

INSTANTIATE_TEST_SUITE_P(Cases, ToolBarDialogTips,
    testing::Values(TipCase {"AfterTheLineBreak", TTN_NEEDTEXTA, ID_OPEN, false, "Open"},
        TipCase {"WholeWithoutALineBreak", TTN_NEEDTEXTA, ID_SORT, false, "Sort"},
        TipCase {"CutToSeventyNineAndTheTerminator", TTN_NEEDTEXTA, ID_LONG, false,
            std::string(79, 'x')},
        TipCase {"WideCut", TTN_NEEDTEXTW, ID_LONG, false, std::string(79, 'x')},
        TipCase {"WideAfterTheLineBreak", TTN_NEEDTEXTW, ID_OPEN, false, "Open"},
        TipCase {"NoStringEmpty", TTN_NEEDTEXTA, ID_QUIET, false, ""},
        TipCase {"ToolNamedByItsWindow", TTN_NEEDTEXTA, IDC_NAME, true, kNameTip}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(ToolBarDialogTipsRouted, NothingWhileAFrameRoutesCommands)
{
    registerBarBitmap();
    CToolBarDialog dlg(IDD_TOOLBAR, IDR_BAR, true);
    ASSERT_TRUE(dlg.Create(IDD_TOOLBAR));
    CWnd frame;
    TOOLTIPTEXTA text;
    text.hdr = NMHDR {nullptr, ID_OPEN, TTN_NEEDTEXTA};
    std::strcpy(text.szText, "old");
    {
        const CPushRoutingFrame routing(&frame);
        EXPECT_FALSE(dlg.onToolTipText(0, &text.hdr, nullptr));
    }
    EXPECT_STREQ(text.szText, "old");
    // Resting on the button asks the dialog through the bar.
    EXPECT_EQ(dlg.toolBar().requestToolTipText(dlg.toolBar().CommandToIndex(ID_OPEN)), "Open");
}

// A dialog that handles ID_OPEN and checks ID_SORT; ID_LONG and ID_QUIET have no handler.
class CCommandDialog : public CToolBarDialog
{
public:
    CCommandDialog() : CToolBarDialog(IDD_TOOLBAR, IDR_BAR, true)
    {
        onCommand(ID_OPEN, BN_CLICKED, [this] { ++opened; });
        onUpdateCommandUI(ID_SORT, [](CCmdUI* pCmdUI) { pCmdUI->SetCheck(1); });
    }
    int opened {0};
};

TEST(ToolBarDialogModal, IdleUpdatesTheButtonsAgainstTheDialog)
{
    registerBarBitmap();
    CCommandDialog dlg;
    std::vector<UINT> styles;
    bool clickedWhileModal = false;
    QTimer::singleShot(100, [&] {
        CToolBar& bar = dlg.toolBar();
        for (UINT nID : {ID_OPEN, ID_SORT, ID_LONG, ID_QUIET})
            styles.push_back(bar.GetButtonStyle(bar.CommandToIndex(nID)));
        bar.pressButton(bar.CommandToIndex(ID_OPEN));
        clickedWhileModal = dlg.opened == 1;
        dlg.EndDialog(IDCANCEL);
    });
    EXPECT_EQ(dlg.DoModal(), IDCANCEL);
    EXPECT_EQ(
        styles, (std::vector<UINT> {TBBS_BUTTON, TBBS_CHECKED, TBBS_DISABLED, TBBS_DISABLED}));
    EXPECT_TRUE(clickedWhileModal);
}

TEST(ToolBarDialogModal, OutsideTheModalLoopNoIdleUpdate)
{
    registerBarBitmap();
    CCommandDialog dlg;
    ASSERT_TRUE(dlg.Create(IDD_TOOLBAR));
    settle();
    EXPECT_FALSE(dlg.ContinueModal());
    CToolBar& bar = dlg.toolBar();
    EXPECT_EQ(bar.GetButtonStyle(bar.CommandToIndex(ID_QUIET)), TBBS_BUTTON);
}

TEST(MyCheckBox1, VisibleBorderedListWithItsOwnFont)
{
    CTestResizableDialog parent(IDD_TOOLBAR);
    ASSERT_TRUE(parent.Create(IDD_TOOLBAR));
    CMyCheckBox1 checks;
    ASSERT_TRUE(checks.setParent(&parent, CRect(100, 5, 250, 105), IDC_CHECKS));
    EXPECT_EQ(parent.GetDlgItem(static_cast<int>(IDC_CHECKS)), &checks);
    const DWORD wanted = WS_CHILD | WS_VISIBLE | WS_BORDER | WS_VSCROLL | WS_TABSTOP | WS_GROUP
        | LBS_OWNERDRAWFIXED | LBS_HASSTRINGS | LBS_USETABSTOPS;
    EXPECT_EQ(checks.GetStyle() & wanted, wanted);
    EXPECT_EQ(childRect(&parent, static_cast<int>(IDC_CHECKS)), CRect(100, 5, 250, 105));

    ASSERT_NE(checks.GetFont(), nullptr);
    LOGFONT font {};
    checks.GetFont()->GetLogFont(&font);
    EXPECT_EQ(font.lfHeight, -8);
    EXPECT_STREQ(font.lfFaceName, "MS Sans Serif");
    EXPECT_EQ(checks.widget()->font(), checks.GetFont()->qtFont(-8));

    // Tabs are expanded and items checked as in any check-list box.
    EXPECT_EQ(checks.AddString("Host\t10"), 0);
    checks.SetCheck(0, BST_CHECKED);
    EXPECT_EQ(checks.GetCheck(0), BST_CHECKED);
}

} // namespace
