#include "platform/gdi/fonts.h"
#include "platform/gdi/syscolor.h"
#include "platform/types/clock.h"
#include "platform/ui/controls.h"
#include "platform/ui/controls_p.h"
#include "platform/ui/dialog.h"
#include "tests/platform/ui/uitestapp.h"

#include <gtest/gtest.h>

#include <QtGui/QImage>
#include <QtGui/QPixmap>
#include <QtWidgets/QListView>
#include <QtWidgets/QScrollBar>

#include <memory>
#include <string>
#include <vector>

namespace {

constexpr DWORD c_dialogStyle = DS_MODALFRAME | WS_POPUP | WS_CAPTION | WS_SYSMENU;

DialogTemplate makeTemplate(std::vector<DialogItem> items)
{
    DialogTemplate tmpl;
    tmpl.caption = "Controls";
    tmpl.cx = 320;
    tmpl.cy = 200;
    tmpl.style = c_dialogStyle;
    tmpl.items = std::move(items);
    return tmpl;
}

// A dialog that records the scroll messages its up-down controls send.
class ControlDialog : public CDialog
{
public:
    struct Scroll
    {
        UINT message {0};
        WPARAM wParam {0};
        LPARAM lParam {0};
    };
    std::vector<Scroll> scrolls;

    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (message == WM_VSCROLL || message == WM_HSCROLL)
            scrolls.push_back({message, wParam, lParam});
        return CDialog::WindowProc(message, wParam, lParam);
    }
};

class Controls : public ::testing::Test
{
protected:
    void SetUp() override
    {
        uiTestApp();
        zorUseClassicSysColors(true);
    }
    void TearDown() override
    {
        dialog.reset();
        zorUseClassicSysColors(false);
    }

    ControlDialog& create(std::vector<DialogItem> items)
    {
        tmpl = makeTemplate(std::move(items));
        dialog = std::make_unique<ControlDialog>();
        EXPECT_TRUE(dialog->CreateIndirect(tmpl));
        return *dialog;
    }
    void showActive()
    {
        dialog->ShowWindow(SW_SHOW);
        dialog->widget()->activateWindow();
        processUntil([&] { return QApplication::activeWindow() == dialog->widget(); });
    }
    CWnd* item(int id) const { return dialog->GetDlgItem(id); }
    QRect geometry(int id) const { return item(id)->widget()->geometry(); }

    DialogTemplate tmpl;
    std::unique_ptr<ControlDialog> dialog;
};

int countOf(CWnd& wnd, UINT id, UINT code, int& counter)
{
    wnd.onCommand(id, code, [&counter] { ++counter; });
    return counter;
}

// Columns of the image (in the row band) that carry dark ink.
std::vector<int> inkColumns(const QImage& image, int top, int bottom)
{
    std::vector<int> columns;
    for (int x = 0; x < image.width(); ++x) {
        for (int y = top; y < bottom && y < image.height(); ++y) {
            if (qGray(image.pixel(x, y)) < 100) {
                columns.push_back(x);
                break;
            }
        }
    }
    return columns;
}

QRgb rgbOf(int sysColor)
{
    const COLORREF c = GetSysColor(sysColor);
    return qRgb(GetRValue(c), GetGValue(c), GetBValue(c));
}

} // namespace

// --- what a row makes ---------------------------------------------------------------------

TEST_F(Controls, EachKindIsItsClassOverItsWidget)
{
    create({
        {eDLG_STATIC, 100, "Label:", 5, 5, 40, 8, SS_LEFT},
        {eDLG_EDIT, 101, "", 50, 5, 40, 14, ES_AUTOHSCROLL | WS_TABSTOP},
        {eDLG_EDIT, 102, "", 50, 25, 40, 30, ES_MULTILINE | WS_TABSTOP},
        {eDLG_BUTTON, IDOK, "OK", 100, 5, 50, 14, BS_DEFPUSHBUTTON | WS_TABSTOP},
        {eDLG_CHECKBOX, 103, "Graph", 100, 25, 50, 10, WS_TABSTOP},
        {eDLG_RADIO, 104, "One", 100, 40, 50, 10, WS_GROUP},
        {eDLG_GROUPBOX, 105, "Outages:", 160, 5, 100, 60, 0},
        {eDLG_LISTBOX, 106, "", 165, 15, 90, 40, LBS_NOTIFY | WS_VSCROLL},
        {eDLG_COMBOBOX, 107, "", 5, 70, 80, 60, CBS_DROPDOWNLIST | WS_TABSTOP},
        {eDLG_UPDOWN, 108, "", 90, 70, 11, 14, 0},
        {eDLG_DATETIME, 109, "", 110, 70, 60, 15, DTS_TIMEFORMAT},
        {eDLG_FRAME, 110, "", 5, 100, 100, 30, SS_ETCHEDFRAME},
    });
    const struct
    {
        int id;
        const char* className;
    } expected[] = {{100, "Static"}, {101, "Edit"}, {102, "Edit"}, {IDOK, "Button"},
        {103, "Button"}, {104, "Button"}, {105, "Button"}, {106, "ListBox"}, {107, "ComboBox"},
        {108, "msctls_updown32"}, {109, "SysDateTimePick32"}, {110, "Static"}};
    for (const auto& e : expected) {
        ASSERT_NE(item(e.id), nullptr) << e.id;
        EXPECT_EQ(item(e.id)->GetClassName(), e.className) << e.id;
    }
    EXPECT_NE(dynamic_cast<CStatic*>(item(100)), nullptr);
    EXPECT_NE(qobject_cast<QLineEdit*>(item(101)->widget()), nullptr);
    EXPECT_NE(dynamic_cast<CEdit*>(item(102)), nullptr);
    EXPECT_NE(qobject_cast<QPlainTextEdit*>(item(102)->widget()), nullptr);
    EXPECT_NE(qobject_cast<QPushButton*>(item(IDOK)->widget()), nullptr);
    EXPECT_TRUE(qobject_cast<QPushButton*>(item(IDOK)->widget())->isDefault());
    EXPECT_NE(qobject_cast<QCheckBox*>(item(103)->widget()), nullptr);
    EXPECT_NE(qobject_cast<QRadioButton*>(item(104)->widget()), nullptr);
    EXPECT_NE(qobject_cast<QGroupBox*>(item(105)->widget()), nullptr);
    EXPECT_NE(dynamic_cast<CListBox*>(item(106)), nullptr);
    EXPECT_NE(dynamic_cast<CComboBox*>(item(107)), nullptr);
    EXPECT_NE(dynamic_cast<CSpinButtonCtrl*>(item(108)), nullptr);
    EXPECT_NE(dynamic_cast<CDateTimeCtrl*>(item(109)), nullptr);
    // The implied button types are in the style, so the dialog tells push buttons apart.
    EXPECT_EQ(item(103)->GetStyle() & BS_TYPEMASK, BS_AUTOCHECKBOX);
    EXPECT_EQ(item(104)->GetStyle() & BS_TYPEMASK, BS_AUTORADIOBUTTON);
    EXPECT_EQ(item(105)->GetStyle() & BS_TYPEMASK, BS_GROUPBOX);
    EXPECT_EQ(static_cast<CButton*>(item(IDOK))->GetButtonStyle() & BS_TYPEMASK, BS_DEFPUSHBUTTON);
    EXPECT_EQ(dialog->defaultButtonId(), IDOK);
}

TEST_F(Controls, RowsArePlacedInPixelsOfTheDialogFont)
{
    ASSERT_EQ(zorDialogBaseUnits("MS Sans Serif", 8), CSize(6, 13));
    create({
        {eDLG_EDIT, 101, "", 10, 20, 40, 14, ES_AUTOHSCROLL},
        {eDLG_COMBOBOX, 102, "", 318, 23, 135, 108, CBS_DROPDOWNLIST},
        {eDLG_BUTTON, 103, "&Delete", 7, 40, 40, 13, 0},
    });
    // x * 6 / 4 and y * 13 / 8, rounded to nearest.
    EXPECT_EQ(geometry(101), QRect(15, 33, 60, 23));
    CRect r;
    item(101)->GetWindowRect(&r);
    dialog->ScreenToClient(&r);
    EXPECT_EQ(r, CRect(15, 33, 75, 56));
    // A drop-down list is as high as its closed box (13 units of the font height in eighths);
    // the rest of the row's height is the dropped list.
    EXPECT_EQ(geometry(102), QRect(477, 37, 203, 21));
    EXPECT_EQ(geometry(103), QRect(11, 65, 60, 21));
    EXPECT_EQ(item(101)->widget()->font().family(), zorDialogFont(tmpl).family());
    EXPECT_EQ(item(101)->widget()->font().pixelSize(), zorDialogFont(tmpl).pixelSize());
}

TEST_F(Controls, AListShowsWholeItemsUnlessToldOtherwise)
{
    create({
        {eDLG_LISTBOX, 101, "", 317, 72, 183, 75, LBS_NOSEL | LBS_USETABSTOPS | WS_VSCROLL},
        {eDLG_LISTBOX, 102, "", 10, 72, 100, 75, LBS_NOINTEGRALHEIGHT},
    });
    auto* list = qobject_cast<QListView*>(item(101)->widget());
    ASSERT_NE(list, nullptr);
    const int frame = 2 * list->frameWidth();
    const int height = geometry(101).height();
    EXPECT_EQ((height - frame) % 13, 0) << height;
    EXPECT_LE(height, 122);
    EXPECT_GT(height, 122 - 13);
    EXPECT_EQ(geometry(102).height(), 122);
}

TEST_F(Controls, StylesDecideFocusVisibilityAndState)
{
    DialogItem hidden {eDLG_EDIT, 103, "", 10, 60, 40, 14, 0};
    hidden.hidden = true;
    DialogItem hiddenSite {eDLG_HOSTED, 106, "", 60, 60, 40, 14, 0};
    hiddenSite.hidden = true;
    DialogItem disabled {eDLG_BUTTON, 104, "Go", 10, 80, 40, 14, WS_TABSTOP};
    disabled.disabled = true;
    create({
        {eDLG_EDIT, 101, "", 10, 20, 40, 14, WS_TABSTOP},
        {eDLG_EDIT, 102, "", 10, 40, 40, 14, 0},
        hidden,
        disabled,
        {eDLG_STATIC, 105, "Label", 10, 100, 40, 8, 0},
        hiddenSite,
    });
    showActive();
    EXPECT_EQ(item(101)->widget()->focusPolicy(), Qt::StrongFocus);
    EXPECT_EQ(item(102)->widget()->focusPolicy(), Qt::ClickFocus);
    EXPECT_EQ(item(105)->widget()->focusPolicy(), Qt::NoFocus);
    EXPECT_TRUE(item(103)->widget()->isHidden());
    EXPECT_FALSE(item(103)->GetStyle() & WS_VISIBLE);
    EXPECT_FALSE(item(103)->IsWindowVisible());
    EXPECT_TRUE(item(106)->widget()->isHidden());
    EXPECT_TRUE(item(101)->GetStyle() & WS_VISIBLE);
    EXPECT_FALSE(item(104)->IsWindowEnabled());
    EXPECT_TRUE(item(104)->GetStyle() & WS_DISABLED);
}

// --- edit boxes ---------------------------------------------------------------------------

TEST_F(Controls, EditReportsEveryTextChangeButNotItsCreation)
{
    auto& dlg = create({{eDLG_EDIT, 101, "start", 10, 20, 60, 14, WS_TABSTOP}});
    int changes = 0;
    countOf(dlg, 101, EN_CHANGE, changes);
    CWnd* edit = item(101);
    EXPECT_EQ(edit->GetWindowText(), "start");
    edit->SetWindowText("abc");
    EXPECT_EQ(changes, 1);
    EXPECT_EQ(edit->GetWindowText(), "abc");
    // The platform's edit box reports a WM_SETTEXT of the same text as well.
    edit->SetWindowText("abc");
    EXPECT_EQ(changes, 2);
    sendKey(edit->widget(), Qt::Key_X, Qt::NoModifier, QStringLiteral("x"));
    EXPECT_EQ(edit->GetWindowText(), "abcx");
    EXPECT_EQ(changes, 3);
    EXPECT_TRUE(static_cast<CEdit*>(edit)->GetModify());
    // Single-byte text goes through the code page both ways.
    edit->SetWindowText("caf\xE9 \x80");
    EXPECT_EQ(qobject_cast<QLineEdit*>(edit->widget())->text(), QString::fromUtf8("café €"));
    EXPECT_EQ(edit->GetWindowText(), "caf\xE9 \x80");
    EXPECT_FALSE(static_cast<CEdit*>(edit)->GetModify());
}

TEST_F(Controls, EditFocusChangesReachTheDialog)
{
    auto& dlg = create({
        {eDLG_EDIT, 101, "", 10, 20, 60, 14, WS_TABSTOP},
        {eDLG_EDIT, 102, "", 10, 40, 60, 14, WS_TABSTOP},
    });
    showActive();
    processEventsFor(20);
    ASSERT_EQ(QApplication::focusWidget(), item(101)->widget()) << "the first tab stop";
    std::vector<std::string> events;
    dlg.onCommand(101, EN_SETFOCUS, [&] { events.push_back("set 101"); });
    dlg.onCommand(101, EN_KILLFOCUS, [&] { events.push_back("kill 101"); });
    dlg.onCommand(102, EN_SETFOCUS, [&] { events.push_back("set 102"); });
    item(102)->SetFocus();
    processEventsFor(20);
    item(101)->SetFocus();
    processEventsFor(20);
    item(102)->SetFocus();
    processEventsFor(20);
    EXPECT_EQ(events,
        (std::vector<std::string> {"kill 101", "set 102", "set 101", "kill 101", "set 102"}));
}

TEST_F(Controls, EditSelectionLimitAndReadOnly)
{
    create({
        {eDLG_EDIT, 101, "Hello world", 10, 20, 80, 14, WS_TABSTOP},
        {eDLG_EDIT, 102, "", 10, 40, 80, 14, ES_NUMBER | WS_TABSTOP},
        {eDLG_EDIT, 103, "", 10, 60, 80, 14, ES_READONLY},
    });
    auto* edit = static_cast<CEdit*>(item(101));
    edit->SetSel(0, -1);
    int start = -1;
    int end = -1;
    edit->GetSel(start, end);
    EXPECT_EQ(start, 0);
    EXPECT_EQ(end, 11);
    edit->SetSel(6, 11);
    edit->ReplaceSel("there");
    EXPECT_EQ(edit->GetWindowText(), "Hello there");

    edit->SetWindowText("abc");
    edit->LimitText(3);
    edit->widget()->setFocus();
    auto* line = qobject_cast<QLineEdit*>(edit->widget());
    line->setCursorPosition(3);
    sendKey(line, Qt::Key_D, Qt::NoModifier, QStringLiteral("d"));
    EXPECT_EQ(edit->GetWindowText(), "abc") << "typing beyond the limit is refused";
    // The program's own text is taken whole.
    edit->SetWindowText("abcdef");
    EXPECT_EQ(edit->GetWindowText(), "abcdef");

    auto* number = qobject_cast<QLineEdit*>(item(102)->widget());
    sendKey(number, Qt::Key_7, Qt::NoModifier, QStringLiteral("7"));
    sendKey(number, Qt::Key_A, Qt::NoModifier, QStringLiteral("a"));
    EXPECT_EQ(item(102)->GetWindowText(), "7");

    auto* readOnly = static_cast<CEdit*>(item(103));
    EXPECT_TRUE(qobject_cast<QLineEdit*>(readOnly->widget())->isReadOnly());
    readOnly->SetReadOnly(FALSE);
    EXPECT_FALSE(qobject_cast<QLineEdit*>(readOnly->widget())->isReadOnly());
    EXPECT_FALSE(readOnly->GetStyle() & ES_READONLY);
    readOnly->SetReadOnly(TRUE);
    EXPECT_TRUE(readOnly->GetStyle() & ES_READONLY);
}

TEST_F(Controls, MultiLineEditKeepsThePlatformsLineEnds)
{
    auto& dlg = create({{eDLG_EDIT, 101, "", 10, 20, 80, 40, ES_MULTILINE | WS_VSCROLL}});
    int changes = 0;
    countOf(dlg, 101, EN_CHANGE, changes);
    item(101)->SetWindowText("one\r\ntwo");
    EXPECT_EQ(qobject_cast<QPlainTextEdit*>(item(101)->widget())->toPlainText(),
        QStringLiteral("one\ntwo"));
    EXPECT_EQ(item(101)->GetWindowText(), "one\r\ntwo");
    EXPECT_EQ(changes, 0) << "a multi-line edit box does not report WM_SETTEXT";
}

// --- statics ------------------------------------------------------------------------------

TEST_F(Controls, StaticTextAndNotifyingClicks)
{
    auto& dlg = create({
        {eDLG_STATIC, 101, "&Days:", 10, 10, 40, 8, SS_RIGHT},
        {eDLG_STATIC, 102, "Click me", 10, 30, 40, 8, SS_NOTIFY},
    });
    EXPECT_EQ(item(101)->GetWindowText(), "&Days:");
    item(101)->SetWindowText("Hours:");
    EXPECT_EQ(qobject_cast<QLabel*>(item(101)->widget())->text(), QStringLiteral("Hours:"));
    EXPECT_TRUE(item(101)->widget()->testAttribute(Qt::WA_TransparentForMouseEvents));
    int clicks = 0;
    countOf(dlg, 102, STN_CLICKED, clicks);
    sendMouse(item(102)->widget(), QEvent::MouseButtonPress, QPoint(3, 3));
    sendMouse(item(102)->widget(), QEvent::MouseButtonRelease, QPoint(3, 3));
    EXPECT_EQ(clicks, 1);
}

TEST_F(Controls, EtchedFrameAndLineArePaintedInTheClassicColours)
{
    create({
        {eDLG_FRAME, 101, "", 3, 3, 40, 20, SS_ETCHEDFRAME},
        {eDLG_FRAME, 102, "", 3, 40, 40, 2, SS_ETCHEDHORZ},
    });
    const QImage frame = item(101)->widget()->grab().toImage();
    const int w = frame.width();
    const int h = frame.height();
    EXPECT_EQ(frame.pixel(0, 0), rgbOf(COLOR_3DSHADOW));
    EXPECT_EQ(frame.pixel(1, 1), rgbOf(COLOR_3DHILIGHT));
    EXPECT_EQ(frame.pixel(w - 1, h - 1), rgbOf(COLOR_3DHILIGHT));
    EXPECT_EQ(frame.pixel(w - 2, h / 2), rgbOf(COLOR_3DSHADOW));
    const QImage line = item(102)->widget()->grab().toImage();
    EXPECT_EQ(line.pixel(5, 0), rgbOf(COLOR_3DSHADOW));
    EXPECT_EQ(line.pixel(5, 1), rgbOf(COLOR_3DHILIGHT));
}

// --- buttons ------------------------------------------------------------------------------

TEST_F(Controls, ButtonsReportUserClicksAndClickButNotSetCheck)
{
    auto& dlg = create({
        {eDLG_BUTTON, 101, "Go", 10, 10, 40, 14, WS_TABSTOP},
        {eDLG_CHECKBOX, 102, "Graph", 10, 30, 60, 10, WS_TABSTOP},
    });
    showActive();
    int pushes = 0;
    int checks = 0;
    countOf(dlg, 101, BN_CLICKED, pushes);
    countOf(dlg, 102, BN_CLICKED, checks);
    QWidget* push = item(101)->widget();
    sendMouse(push, QEvent::MouseButtonPress, push->rect().center());
    sendMouse(push, QEvent::MouseButtonRelease, push->rect().center());
    EXPECT_EQ(pushes, 1);
    static_cast<CButton*>(item(101))->click();
    EXPECT_EQ(pushes, 2);

    auto* check = static_cast<CButton*>(item(102));
    check->SetCheck(BST_CHECKED);
    EXPECT_EQ(checks, 0);
    EXPECT_EQ(check->GetCheck(), BST_CHECKED);
    QWidget* box = check->widget();
    sendMouse(box, QEvent::MouseButtonPress, QPoint(6, box->height() / 2));
    sendMouse(box, QEvent::MouseButtonRelease, QPoint(6, box->height() / 2));
    EXPECT_EQ(checks, 1);
    EXPECT_EQ(check->GetCheck(), BST_UNCHECKED);
    check->click();
    EXPECT_EQ(checks, 2);
    EXPECT_EQ(check->GetCheck(), BST_CHECKED);
    // A two-state box takes an indeterminate request as checked.
    check->SetCheck(BST_INDETERMINATE);
    EXPECT_EQ(check->GetCheck(), BST_CHECKED);
}

TEST_F(Controls, RadioGroupsRunFromOneGroupStyleToTheNext)
{
    create({
        {eDLG_RADIO, 201, "A", 10, 10, 40, 10, WS_GROUP | WS_TABSTOP},
        {eDLG_RADIO, 202, "B", 10, 22, 40, 10, 0},
        {eDLG_RADIO, 203, "C", 10, 34, 40, 10, 0},
        {eDLG_RADIO, 204, "X", 60, 10, 40, 10, WS_GROUP | WS_TABSTOP},
        {eDLG_RADIO, 205, "Y", 60, 22, 40, 10, 0},
    });
    const auto radio = [&](int id) { return static_cast<CButton*>(item(id)); };
    radio(201)->SetCheck(BST_CHECKED);
    radio(204)->SetCheck(BST_CHECKED);
    radio(202)->click();
    EXPECT_EQ(radio(201)->GetCheck(), BST_UNCHECKED);
    EXPECT_EQ(radio(202)->GetCheck(), BST_CHECKED);
    EXPECT_EQ(radio(203)->GetCheck(), BST_UNCHECKED);
    EXPECT_EQ(radio(204)->GetCheck(), BST_CHECKED) << "another group is left alone";
    radio(202)->click();
    EXPECT_EQ(radio(202)->GetCheck(), BST_CHECKED) << "clicking a checked radio keeps it";
    radio(205)->click();
    EXPECT_EQ(radio(204)->GetCheck(), BST_UNCHECKED);
    EXPECT_EQ(radio(202)->GetCheck(), BST_CHECKED);
}

TEST_F(Controls, SetButtonStyleMovesTheDefaultLook)
{
    create({
        {eDLG_BUTTON, IDOK, "OK", 10, 10, 40, 14, BS_DEFPUSHBUTTON},
        {eDLG_BUTTON, IDCANCEL, "Cancel", 60, 10, 40, 14, 0},
    });
    auto* ok = static_cast<CButton*>(item(IDOK));
    auto* cancel = static_cast<CButton*>(item(IDCANCEL));
    ok->SetButtonStyle(BS_PUSHBUTTON);
    cancel->SetButtonStyle(BS_DEFPUSHBUTTON);
    EXPECT_FALSE(qobject_cast<QPushButton*>(ok->widget())->isDefault());
    EXPECT_TRUE(qobject_cast<QPushButton*>(cancel->widget())->isDefault());
    EXPECT_EQ(cancel->GetButtonStyle() & BS_TYPEMASK, BS_DEFPUSHBUTTON);
    EXPECT_EQ(ok->GetButtonStyle() & BS_TYPEMASK, BS_PUSHBUTTON);
}

// --- combo boxes --------------------------------------------------------------------------

TEST_F(Controls, ComboSelectionChangesAreReportedForTheUserOnly)
{
    auto& dlg = create({{eDLG_COMBOBOX, 101, "", 10, 10, 80, 60, CBS_DROPDOWNLIST | WS_TABSTOP}});
    auto* combo = static_cast<CComboBox*>(item(101));
    int changes = 0;
    countOf(dlg, 101, CBN_SELCHANGE, changes);
    EXPECT_EQ(combo->AddString("Alpha"), 0);
    EXPECT_EQ(combo->AddString("Beta"), 1);
    EXPECT_EQ(combo->AddString("Gamma"), 2);
    EXPECT_EQ(combo->GetCurSel(), CB_ERR) << "adding items selects nothing";
    EXPECT_EQ(combo->GetWindowText(), "");
    EXPECT_EQ(combo->SetCurSel(0), 0);
    EXPECT_EQ(changes, 0);
    EXPECT_EQ(combo->GetWindowText(), "Alpha");
    sendKey(combo->widget(), Qt::Key_Down);
    EXPECT_EQ(combo->GetCurSel(), 1);
    EXPECT_EQ(changes, 1);
    combo->SetCurSel(2);
    combo->DeleteString(0);
    EXPECT_EQ(changes, 1);
    EXPECT_EQ(combo->GetCurSel(), 1) << "the selected item keeps its selection";
    combo->DeleteString(1);
    EXPECT_EQ(combo->GetCurSel(), CB_ERR) << "deleting the selected item leaves none";
    EXPECT_EQ(changes, 1);
}

TEST_F(Controls, ComboItemsDataAndSearch)
{
    create({
        {eDLG_COMBOBOX, 101, "", 10, 10, 80, 60, CBS_DROPDOWNLIST | CBS_SORT},
        {eDLG_COMBOBOX, 102, "", 10, 30, 80, 60, CBS_DROPDOWN},
    });
    auto* sorted = static_cast<CComboBox*>(item(101));
    EXPECT_EQ(sorted->AddString("delta"), 0);
    EXPECT_EQ(sorted->AddString("Alpha"), 0);
    EXPECT_EQ(sorted->AddString("charlie"), 1);
    EXPECT_EQ(sorted->GetCount(), 3);
    std::string text;
    sorted->GetLBText(2, text);
    EXPECT_EQ(text, "delta");
    EXPECT_EQ(sorted->FindStringExact(-1, "CHARLIE"), 1);
    EXPECT_EQ(sorted->FindStringExact(1, "alpha"), 0) << "the search wraps round";
    EXPECT_EQ(sorted->FindStringExact(-1, "char"), CB_ERR);
    EXPECT_NE(sorted->SetItemData(1, 1234), CB_ERR);
    EXPECT_EQ(sorted->GetItemData(1), 1234u);
    EXPECT_EQ(sorted->SetItemData(7, 1), CB_ERR);
    EXPECT_EQ(sorted->InsertString(9, "x"), CB_ERR);

    auto* dropDown = static_cast<CComboBox*>(item(102));
    dropDown->AddString("one");
    dropDown->SetWindowText("typed");
    EXPECT_EQ(dropDown->GetWindowText(), "typed");
    EXPECT_EQ(dropDown->GetCurSel(), CB_ERR);
    CWnd* edit = dropDown->GetDlgItem(1001);
    ASSERT_NE(edit, nullptr);
    EXPECT_EQ(edit->GetClassName(), "Edit");
}

TEST_F(Controls, DropDownReportsTypingAsEditChange)
{
    auto& dlg = create({{eDLG_COMBOBOX, 101, "", 10, 10, 80, 60, CBS_DROPDOWN | WS_TABSTOP}});
    int edits = 0;
    countOf(dlg, 101, CBN_EDITCHANGE, edits);
    auto* combo = qobject_cast<QComboBox*>(item(101)->widget());
    item(101)->SetWindowText("ab");
    EXPECT_EQ(edits, 0);
    sendKey(combo->lineEdit(), Qt::Key_C, Qt::NoModifier, QStringLiteral("c"));
    EXPECT_EQ(edits, 1);
    EXPECT_EQ(item(101)->GetWindowText(), "abc");
}

// --- list boxes ---------------------------------------------------------------------------

TEST_F(Controls, ListItemsSelectionAndNotifications)
{
    auto& dlg = create({
        {eDLG_LISTBOX, 101, "", 10, 10, 100, 60, LBS_NOTIFY | LBS_SORT | WS_VSCROLL},
        {eDLG_LISTBOX, 102, "", 120, 10, 100, 60, LBS_NOSEL},
    });
    showActive();
    auto* list = static_cast<CListBox*>(item(101));
    int changes = 0;
    countOf(dlg, 101, LBN_SELCHANGE, changes);
    EXPECT_EQ(list->AddString("pear"), 0);
    EXPECT_EQ(list->AddString("Apple"), 0);
    EXPECT_EQ(list->AddString("fig"), 1);
    std::string text;
    EXPECT_EQ(list->GetText(2, text), 4);
    EXPECT_EQ(text, "pear");
    EXPECT_EQ(list->GetText(3, text), LB_ERR);
    EXPECT_EQ(list->FindStringExact(-1, "FIG"), 1);
    EXPECT_EQ(list->GetCurSel(), LB_ERR);
    EXPECT_EQ(list->SetCurSel(1), 1);
    EXPECT_EQ(list->GetCurSel(), 1);
    EXPECT_EQ(changes, 0);
    auto* view = qobject_cast<QListView*>(list->widget());
    processEventsFor(20);
    const QPoint at = view->visualRect(view->model()->index(2, 0)).center();
    sendMouse(view->viewport(), QEvent::MouseButtonPress, at);
    sendMouse(view->viewport(), QEvent::MouseButtonRelease, at);
    EXPECT_EQ(list->GetCurSel(), 2);
    EXPECT_EQ(changes, 1);
    EXPECT_EQ(list->SetCurSel(-1), LB_ERR);
    EXPECT_EQ(list->GetCurSel(), LB_ERR);
    EXPECT_EQ(list->DeleteString(0), 2);
    list->ResetContent();
    EXPECT_EQ(list->GetCount(), 0);
    EXPECT_EQ(changes, 1);

    auto* noSel = static_cast<CListBox*>(item(102));
    noSel->AddString("line");
    EXPECT_EQ(noSel->SetCurSel(0), LB_ERR);
    EXPECT_EQ(noSel->GetCurSel(), LB_ERR);
}

TEST(ListTabStops, PixelsFollowTheDialogsHorizontalBaseUnit)
{
    CListTabStops stops;
    stops.set({}, 6);
    EXPECT_EQ(stops.stop(0), 48) << "the default is one every 32 units";
    EXPECT_EQ(stops.stop(1), 96);
    stops.set({100}, 6);
    EXPECT_EQ(stops.stop(0), 150) << "one value is a stop every that many units";
    EXPECT_EQ(stops.stop(2), 450);
    stops.set({20, 61}, 6);
    EXPECT_EQ(stops.stop(0), 30);
    EXPECT_EQ(stops.stop(1), 92) << "61 * 6 / 4 = 91.5 rounds up";
    EXPECT_EQ(stops.stop(2), 96) << "after the last stop the default spacing goes on";
    EXPECT_EQ(stops.next(30), 92) << "a stop exactly at the text's end is passed";
    EXPECT_EQ(stops.next(29), 30);
    // Parts of widths 5, 40, 7 from x = 1: "a" at 1, the second part at the first stop, the
    // third one past the second part's end (30 + 40 = 70 -> 92).
    EXPECT_EQ(zorTabbedPartPositions({5, 40, 7}, stops, 1), (std::vector<int> {1, 30, 92}));
}

TEST_F(Controls, ListExpandsTabsToItsStops)
{
    create({
        {eDLG_LISTBOX, 101, "", 10, 10, 160, 60, LBS_NOSEL | LBS_USETABSTOPS | WS_VSCROLL},
        {eDLG_LISTBOX, 102, "", 10, 80, 160, 30, 0},
    });
    showActive();
    auto* list = static_cast<CListBox*>(item(101));
    EXPECT_EQ(list->tabStopX(0), 48);
    EXPECT_TRUE(list->SetTabStops(100));
    EXPECT_EQ(list->tabStops(), std::vector<int> {100});
    EXPECT_EQ(list->tabStopX(0), 150);
    EXPECT_FALSE(static_cast<CListBox*>(item(102))->SetTabStops(100))
        << "a list without LBS_USETABSTOPS refuses tab stops";
    list->AddString("a\tb");
    processEventsFor(20);
    auto* view = qobject_cast<QListView*>(list->widget());
    const QImage image = view->viewport()->grab().toImage();
    const std::vector<int> ink = inkColumns(image, 0, 13);
    ASSERT_FALSE(ink.empty());
    EXPECT_GE(ink.front(), 1);
    EXPECT_LT(ink.front(), 4) << "the text starts one pixel in";
    const QFontMetrics metrics(view->font());
    // Nothing between "a" and the stop; "b" starts at the stop.
    const auto b = std::find_if(ink.begin(), ink.end(), [](int x) { return x >= 20; });
    ASSERT_NE(b, ink.end());
    EXPECT_GE(*b, 150);
    EXPECT_LT(*b, 150 + metrics.horizontalAdvance(QLatin1Char('b')));
    EXPECT_LT(*(b - 1), 1 + metrics.horizontalAdvance(QLatin1Char('a')) + 1);
}

TEST_F(Controls, ListHorizontalExtentIsTheScrollRange)
{
    create(
        {{eDLG_LISTBOX, 101, "", 10, 10, 100, 60, WS_HSCROLL | WS_VSCROLL | LBS_NOINTEGRALHEIGHT}});
    showActive();
    auto* list = static_cast<CListBox*>(item(101));
    auto* view = qobject_cast<QListView*>(list->widget());
    list->AddString("a long line of text");
    EXPECT_EQ(view->horizontalScrollBar()->maximum(), 0);
    list->SetHorizontalExtent(600);
    processEventsFor(20);
    EXPECT_EQ(list->GetHorizontalExtent(), 600);
    EXPECT_EQ(view->horizontalScrollBar()->maximum(), 600 - view->viewport()->width());
    EXPECT_EQ(list->SetScrollPos(SB_HORZ, 40), 0);
    EXPECT_EQ(list->GetScrollPos(SB_HORZ), 40);
    list->SetHorizontalExtent(0);
    processEventsFor(20);
    EXPECT_EQ(view->horizontalScrollBar()->maximum(), 0);
}

TEST_F(Controls, ListTopIndex)
{
    create({{eDLG_LISTBOX, 101, "", 10, 10, 100, 40, WS_VSCROLL}});
    showActive();
    auto* list = static_cast<CListBox*>(item(101));
    for (int i = 0; i < 20; ++i)
        list->AddString(("item " + std::to_string(i)).c_str());
    processEventsFor(20);
    EXPECT_EQ(list->GetTopIndex(), 0);
    EXPECT_EQ(list->SetTopIndex(5), 0);
    EXPECT_EQ(list->GetTopIndex(), 5);
    EXPECT_EQ(list->SetTopIndex(20), LB_ERR);
}

TEST_F(Controls, ListReplaceContentTakesAMillionLinesInOneReset)
{
    auto& dlg = create(
        {{eDLG_LISTBOX, 101, "", 10, 10, 183, 75, LBS_NOTIFY | LBS_USETABSTOPS | WS_VSCROLL}});
    showActive();
    auto* list = static_cast<CListBox*>(item(101));
    auto* view = qobject_cast<QListView*>(list->widget());
    ASSERT_NE(view, nullptr);
    for (int i = 0; i < 50; ++i)
        list->AddString("old");
    list->SetCurSel(45);
    processEventsFor(20);
    ASSERT_GT(list->GetTopIndex(), 0);
    int changes = 0;
    countOf(dlg, 101, LBN_SELCHANGE, changes);
    int resets = 0;
    int insertions = 0;
    QObject::connect(view->model(), &QAbstractItemModel::modelReset, [&] { ++resets; });
    QObject::connect(view->model(), &QAbstractItemModel::rowsInserted, [&] { ++insertions; });

    constexpr int c_lines = 1000000;
    auto line = [](int i) { return "06/24/02 10:00:00\tline " + std::to_string(i); };
    std::vector<std::string> lines;
    lines.reserve(c_lines);
    for (int i = 0; i < c_lines; ++i)
        lines.push_back(line(i));
    QElapsedTimer clock;
    clock.start();
    list->ReplaceContent(std::move(lines));
    QCoreApplication::processEvents();
    view->viewport()->repaint();
    EXPECT_LT(clock.elapsed(), 1000) << "filled, laid out and painted in ms";

    EXPECT_EQ(resets, 1);
    EXPECT_EQ(insertions, 0);
    EXPECT_EQ(list->GetCount(), c_lines);
    std::string text;
    for (int i : {0, 1, c_lines / 2, c_lines - 1}) {
        EXPECT_EQ(list->GetText(i, text), static_cast<int>(line(i).size()));
        EXPECT_EQ(text, line(i));
    }
    EXPECT_EQ(list->GetText(c_lines, text), LB_ERR);
    EXPECT_EQ(list->GetCurSel(), LB_ERR);
    EXPECT_EQ(list->GetTopIndex(), 0);
    EXPECT_EQ(changes, 0);
    // The layout covers every line, each one line high.
    EXPECT_EQ(list->SetTopIndex(c_lines - 1), 0);
    processEventsFor(20);
    EXPECT_GT(list->GetTopIndex(), c_lines - 10);
    const QRect last = view->visualRect(view->model()->index(c_lines - 1, 0));
    EXPECT_EQ(last.height(), zorControlOf<CListBoxWidget>(list)->itemHeight());
    EXPECT_TRUE(view->viewport()->rect().contains(last));
}

TEST_F(Controls, ListReplaceContentEndsAsAddingEachItem)
{
    create({
        {eDLG_LISTBOX, 101, "", 10, 10, 100, 60, LBS_SORT | WS_VSCROLL},
        {eDLG_LISTBOX, 102, "", 120, 10, 100, 60, WS_VSCROLL},
    });
    const std::vector<std::string> items {"pear", "Apple", "fig", "apple", "Fig", "\xe9t\xe9"};
    auto contents = [](CListBox* list) {
        std::vector<std::string> texts(static_cast<std::size_t>(list->GetCount()));
        for (std::size_t i = 0; i < texts.size(); ++i)
            list->GetText(static_cast<int>(i), texts[i]);
        return texts;
    };
    for (int id : {101, 102}) {
        auto* list = static_cast<CListBox*>(item(id));
        for (const std::string& text : items)
            list->AddString(text.c_str());
        const std::vector<std::string> added = contents(list);
        list->ResetContent();
        list->AddString("old");
        list->ReplaceContent(items);
        EXPECT_EQ(contents(list), added) << id;
    }
    EXPECT_EQ(contents(static_cast<CListBox*>(item(101))),
        (std::vector<std::string> {"Apple", "apple", "fig", "Fig", "pear", "\xe9t\xe9"}));
}

// --- up-down controls ---------------------------------------------------------------------

TEST(UpDownArithmetic, ClampsOrWrapsEitherWayRound)
{
    EXPECT_EQ(zorUpDownOffset(4, 1, 1, 5, false), 5);
    EXPECT_EQ(zorUpDownOffset(5, 1, 1, 5, false), 5);
    EXPECT_EQ(zorUpDownOffset(1, -1, 1, 5, false), 1);
    EXPECT_EQ(zorUpDownOffset(5, 1, 1, 5, true), 1);
    EXPECT_EQ(zorUpDownOffset(1, -1, 1, 5, true), 5);
    // The platform's default range runs from 100 down to 0.
    EXPECT_EQ(zorUpDownOffset(0, -1, 100, 0, false), 0);
    EXPECT_EQ(zorUpDownOffset(0, -1, 100, 0, true), 100);
    EXPECT_EQ(zorUpDownOffset(100, 1, 100, 0, true), 0);
    EXPECT_EQ(zorUpDownText(999, true), "999");
    EXPECT_EQ(zorUpDownText(1234567, true), "1,234,567");
    EXPECT_EQ(zorUpDownText(-1234, true), "-1,234");
    EXPECT_EQ(zorUpDownText(1234, false), "1234");
    int value = 0;
    EXPECT_TRUE(zorUpDownParse("1,234", value));
    EXPECT_EQ(value, 1234);
    EXPECT_TRUE(zorUpDownParse(" -7", value));
    EXPECT_EQ(value, -7);
    EXPECT_FALSE(zorUpDownParse("12a", value));
    EXPECT_FALSE(zorUpDownParse("99999999999", value));
}

TEST_F(Controls, UpDownDefaultsToThePlatformsInvertedRange)
{
    auto& dlg = create({{eDLG_UPDOWN, 101, "", 10, 10, 11, 14, 0}});
    auto* spin = static_cast<CSpinButtonCtrl*>(item(101));
    int lower = 0;
    int upper = 0;
    spin->GetRange(lower, upper);
    EXPECT_EQ(lower, 100);
    EXPECT_EQ(upper, 0);
    int seenDelta = 0;
    dlg.onNotify(101, UDN_DELTAPOS,
        [&](NMHDR* header, LRESULT*) { seenDelta = reinterpret_cast<NMUPDOWN*>(header)->iDelta; });
    spin->step(1);
    EXPECT_EQ(seenDelta, -1) << "up moves toward the upper end, here the smaller number";
    EXPECT_EQ(spin->GetPos(), 0);
    spin->step(-1);
    EXPECT_EQ(seenDelta, 1);
    EXPECT_EQ(spin->GetPos(), 1);
}

class UpDownBuddy : public Controls
{
protected:
    // The sample-interval line of the monitor: a read-only edit and its spin.
    void make(DWORD spinStyle)
    {
        create({
            {eDLG_EDIT, 1004, "", 81, 110, 36, 14, ES_READONLY},
            {eDLG_UPDOWN, 1005, "", 110, 110, 11, 14,
                UDS_AUTOBUDDY | UDS_SETBUDDYINT | UDS_ALIGNRIGHT | UDS_ARROWKEYS | spinStyle},
        });
        spin = static_cast<CSpinButtonCtrl*>(item(1005));
        buddy = item(1004);
    }
    CSpinButtonCtrl* spin {nullptr};
    CWnd* buddy {nullptr};
};

TEST_F(UpDownBuddy, TakesThePreviousRowAndItsRightEdge)
{
    make(0);
    EXPECT_EQ(spin->GetBuddy(), buddy);
    // The edit was 122..176 (54 wide); the 17-pixel spin takes its right end.
    EXPECT_EQ(geometry(1004), QRect(122, 179, 37, 23));
    EXPECT_EQ(geometry(1005), QRect(159, 179, 17, 23));
}

TEST_F(UpDownBuddy, StepsWriteTheBuddyAndReportToTheParent)
{
    make(0);
    int changes = 0;
    countOf(*dialog, 1004, EN_CHANGE, changes);
    spin->SetRange(10, 300);
    spin->SetPos(60);
    EXPECT_EQ(buddy->GetWindowText(), "60");
    EXPECT_EQ(changes, 1);
    std::vector<std::pair<int, int>> seen;
    dialog->onNotify(1005, UDN_DELTAPOS, [&](NMHDR* header, LRESULT* result) {
        auto* change = reinterpret_cast<NMUPDOWN*>(header);
        seen.emplace_back(change->iPos, change->iDelta);
        EXPECT_EQ(header->idFrom, 1005u);
        EXPECT_EQ(header->hwndFrom, spin->m_hWnd);
        *result = 0;
    });
    dialog->scrolls.clear();
    spin->step(1);
    EXPECT_EQ(seen, (std::vector<std::pair<int, int>> {{60, 1}}));
    EXPECT_EQ(buddy->GetWindowText(), "61");
    EXPECT_EQ(spin->GetPos(), 61);
    EXPECT_EQ(changes, 2);
    ASSERT_EQ(dialog->scrolls.size(), 1u);
    EXPECT_EQ(dialog->scrolls[0].message, WM_VSCROLL);
    EXPECT_EQ(LOWORD(static_cast<DWORD>(dialog->scrolls[0].wParam)), 4); // SB_THUMBPOSITION
    EXPECT_EQ(HIWORD(static_cast<DWORD>(dialog->scrolls[0].wParam)), 61);
    EXPECT_EQ(dialog->scrolls[0].lParam, reinterpret_cast<LPARAM>(spin->m_hWnd));
    // The buddy's number is read back before the next step.
    buddy->SetWindowText("200");
    EXPECT_EQ(spin->GetPos(), 200);
    spin->step(-1);
    EXPECT_EQ(seen.back(), std::make_pair(200, -1));
    EXPECT_EQ(buddy->GetWindowText(), "199");
    // A text that is no number, or out of range, leaves the position.
    buddy->SetWindowText("abc");
    EXPECT_EQ(spin->GetPos(), 199);
    buddy->SetWindowText("5000");
    EXPECT_EQ(spin->GetPos(), 199);
}

TEST_F(UpDownBuddy, ANonZeroResultCancelsTheStep)
{
    make(0);
    spin->SetRange(1, 5);
    spin->SetPos(3);
    dialog->onNotify(1005, UDN_DELTAPOS, [](NMHDR*, LRESULT* result) { *result = 1; });
    dialog->scrolls.clear();
    spin->step(1);
    EXPECT_EQ(spin->GetPos(), 3);
    EXPECT_EQ(buddy->GetWindowText(), "3");
    EXPECT_EQ(dialog->scrolls.size(), 1u) << "the parent hears of the position in any case";
}

TEST_F(UpDownBuddy, ClampsAtTheEndsAndWrapsWithWrap)
{
    make(0);
    spin->SetRange(1, 5);
    spin->SetPos(5);
    spin->step(1);
    EXPECT_EQ(buddy->GetWindowText(), "5");
    EXPECT_EQ(spin->SetPos(9), 5) << "SetPos gives the previous position";
    EXPECT_EQ(spin->GetPos(), 5) << "and clamps to the range";
}

TEST_F(UpDownBuddy, WrapCarriesRound)
{
    make(UDS_WRAP);
    spin->SetRange(1, 5);
    spin->SetPos(5);
    spin->step(1);
    EXPECT_EQ(buddy->GetWindowText(), "1");
    spin->step(-1);
    EXPECT_EQ(buddy->GetWindowText(), "5");
}

TEST_F(UpDownBuddy, ThousandsAreSeparatedUnlessPlain)
{
    make(0);
    spin->SetRange(0, 5000);
    spin->SetPos(999);
    EXPECT_EQ(buddy->GetWindowText(), "999");
    spin->SetPos(1234);
    EXPECT_EQ(buddy->GetWindowText(), "1,234");
    EXPECT_EQ(spin->GetPos(), 1234);
}

TEST_F(UpDownBuddy, PlainNumbersWithNoThousands)
{
    make(UDS_NOTHOUSANDS);
    spin->SetRange(0, 5000);
    spin->SetPos(1234);
    EXPECT_EQ(buddy->GetWindowText(), "1234");
}

TEST_F(UpDownBuddy, ArrowKeysInTheBuddyAndClicksOnTheArrowsStep)
{
    make(0);
    spin->SetRange(1, 5);
    spin->SetPos(2);
    sendKey(buddy->widget(), Qt::Key_Up);
    EXPECT_EQ(buddy->GetWindowText(), "3");
    sendKey(buddy->widget(), Qt::Key_Down);
    sendKey(buddy->widget(), Qt::Key_Down);
    EXPECT_EQ(buddy->GetWindowText(), "1");
    QWidget* arrows = spin->widget();
    sendMouse(arrows, QEvent::MouseButtonPress, QPoint(arrows->width() / 2, 2));
    sendMouse(arrows, QEvent::MouseButtonRelease, QPoint(arrows->width() / 2, 2));
    EXPECT_EQ(buddy->GetWindowText(), "2");
    sendMouse(arrows, QEvent::MouseButtonPress, QPoint(arrows->width() / 2, arrows->height() - 2));
    sendMouse(
        arrows, QEvent::MouseButtonRelease, QPoint(arrows->width() / 2, arrows->height() - 2));
    EXPECT_EQ(buddy->GetWindowText(), "1");
}

// --- date-time pickers --------------------------------------------------------------------

TEST(DateTimeFormat, PlatformLettersBecomeQtsFormat)
{
    EXPECT_EQ(zorQtDateTimeFormat("mm:ss"), QStringLiteral("mm:ss"));
    EXPECT_EQ(zorQtDateTimeFormat("dd.MM.yyyy"), QStringLiteral("dd.MM.yyyy"));
    EXPECT_EQ(zorQtDateTimeFormat("HH:mm"), QStringLiteral("HH:mm"));
    EXPECT_EQ(zorQtDateTimeFormat("dddd, MMMM d"), QStringLiteral("dddd, MMMM d"));
    EXPECT_EQ(zorQtDateTimeFormat("h:mm tt"), QStringLiteral("h:mm AP"));
    EXPECT_EQ(zorQtDateTimeFormat("yy"), QStringLiteral("yy"));
    EXPECT_EQ(zorQtDateTimeFormat("'at' h"), QStringLiteral("'at' h"));
    EXPECT_EQ(zorQtDateTimeFormat("'o''clock'"), QStringLiteral("'o''clock'"));
    // Letters the platform does not know are text, not Qt's fields.
    EXPECT_EQ(zorQtDateTimeFormat("z"), QStringLiteral("'z'"));
}

TEST_F(Controls, PickerKeepsTheWholeValueAndReportsUserChangesOnly)
{
    auto& dlg = create({{eDLG_DATETIME, 1034, "", 412, 39, 62, 15, DTS_TIMEFORMAT | WS_TABSTOP}});
    auto* picker = static_cast<CDateTimeCtrl*>(item(1034));
    int changes = 0;
    dlg.onNotify(1034, DTN_DATETIMECHANGE, [&](NMHDR* header, LRESULT*) {
        ++changes;
        EXPECT_EQ(reinterpret_cast<NMDATETIMECHANGE*>(header)->dwFlags, GDT_VALID);
    });
    ASSERT_TRUE(picker->SetFormat("mm:ss"));
    EXPECT_EQ(
        qobject_cast<QDateTimeEdit*>(picker->widget())->displayFormat(), QStringLiteral("mm:ss"));
    // Five and a half minutes as an automation date on its zero day.
    ASSERT_TRUE(picker->SetTime(COleDateTime(1899, 12, 30, 0, 5, 30)));
    EXPECT_EQ(changes, 0);
    EXPECT_EQ(qobject_cast<QDateTimeEdit*>(picker->widget())->text(), QStringLiteral("05:30"));
    COleDateTime value;
    EXPECT_EQ(picker->GetTime(value), GDT_VALID);
    EXPECT_EQ(value, COleDateTime(1899, 12, 30, 0, 5, 30));
    // Up steps the first field shown (the minutes).
    sendKey(picker->widget(), Qt::Key_Up);
    EXPECT_EQ(changes, 1);
    picker->GetTime(value);
    EXPECT_EQ(value, COleDateTime(1899, 12, 30, 0, 6, 30));
    EXPECT_NEAR(static_cast<double>(value) * 86400.0, 390.0, 1e-6);
}

TEST_F(Controls, PickerStartsAtTheSuitesNow)
{
    // An afternoon in 2031, far from the wall clock, to the second.
    const std::time_t now = 1941375127;
    zorSetClock([now] { return now; });
    create({{eDLG_DATETIME, 101, "", 10, 10, 80, 15, DTS_SHORTDATEFORMAT}});
    zorSetClock({});
    COleDateTime value;
    ASSERT_EQ(static_cast<CDateTimeCtrl*>(item(101))->GetTime(value), GDT_VALID);
    EXPECT_EQ(value, COleDateTime(now));
}

TEST_F(Controls, PickerFormatsOfTheStyles)
{
    create({
        {eDLG_DATETIME, 101, "", 10, 10, 80, 15, DTS_SHORTDATEFORMAT},
        {eDLG_DATETIME, 102, "", 10, 30, 80, 15, DTS_LONGDATEFORMAT},
        {eDLG_DATETIME, 103, "", 10, 50, 80, 15, DTS_TIMEFORMAT},
    });
    const COleDateTime when(2002, 6, 5, 14, 7, 9);
    const auto shown = [&](int id) {
        auto* picker = static_cast<CDateTimeCtrl*>(item(id));
        picker->SetTime(when);
        return qobject_cast<QDateTimeEdit*>(picker->widget())->text();
    };
    EXPECT_EQ(shown(101), QStringLiteral("6/5/2002"));
    EXPECT_EQ(shown(102), QStringLiteral("Wednesday, June 05, 2002"));
    EXPECT_EQ(shown(103), QStringLiteral("2:07:09 PM"));
    EXPECT_TRUE(qobject_cast<QDateTimeEdit*>(item(101)->widget())->calendarPopup());
    EXPECT_FALSE(qobject_cast<QDateTimeEdit*>(item(103)->widget())->calendarPopup());
    // A date picker keeps the time it was given, a time picker the date.
    COleDateTime value;
    static_cast<CDateTimeCtrl*>(item(101))->GetTime(value);
    EXPECT_EQ(value, when);
    static_cast<CDateTimeCtrl*>(item(103))->GetTime(value);
    EXPECT_EQ(value, when);
    // The range limits what the picker takes.
    auto* picker = static_cast<CDateTimeCtrl*>(item(101));
    const COleDateTime first(2002, 1, 1, 0, 0, 0);
    const COleDateTime last(2002, 12, 31, 0, 0, 0);
    picker->SetRange(&first, &last);
    picker->SetTime(COleDateTime(2005, 3, 3, 0, 0, 0));
    picker->GetTime(value);
    EXPECT_EQ(value, last);
}

// --- hosted controls ----------------------------------------------------------------------

namespace {

std::string s_factoryClassId;
bool s_factoryFails = false;

CWnd* testFactory(CWnd* dialog, const DialogItem& item, const CRect& rect)
{
    s_factoryClassId = item.classId ? item.classId : "";
    if (s_factoryFails)
        return nullptr;
    auto* wnd = new CWnd;
    if (!wnd->CreateEx(0, "TestHostedControl", "", WS_CHILD | WS_VISIBLE, rect, dialog,
            static_cast<UINT>(item.id))) {
        delete wnd;
        return nullptr;
    }
    return wnd;
}

// Installs the test factory for as long as it lives.
class FactoryScope
{
public:
    explicit FactoryScope(ZorHostedControlFactory factory)
        : m_previous(zorSetHostedControlFactory(factory))
    { }
    ~FactoryScope() { zorSetHostedControlFactory(m_previous); }

private:
    ZorHostedControlFactory m_previous;
};

DialogItem hostedRow()
{
    DialogItem row {eDLG_HOSTED, 1039, "", 2, 159, 509, 152, WS_TABSTOP};
    row.classId = "zorGraphControl.29";
    row.initState = "ShowGrid=1";
    return row;
}

} // namespace

TEST_F(Controls, HostedRowWithoutFactoryKeepsAnEmptySite)
{
    const FactoryScope scope(nullptr);
    create({hostedRow()});
    ASSERT_NE(item(1039), nullptr);
    EXPECT_EQ(item(1039)->GetClassName(), "ZorHostedSite");
    EXPECT_EQ(geometry(1039), QRect(3, 258, 764, 247));
}

TEST_F(Controls, HostedRowIsMadeByTheInstalledFactory)
{
    const FactoryScope scope(testFactory);
    s_factoryFails = false;
    create({hostedRow()});
    EXPECT_EQ(s_factoryClassId, "zorGraphControl.29");
    ASSERT_NE(item(1039), nullptr);
    EXPECT_EQ(item(1039)->GetClassName(), "TestHostedControl");
    EXPECT_EQ(geometry(1039), QRect(3, 258, 764, 247));
}

TEST_F(Controls, HostedRowWhoseControlFailsKeepsAnEmptySite)
{
    const FactoryScope scope(testFactory);
    s_factoryFails = true;
    create({hostedRow()});
    s_factoryFails = false;
    ASSERT_NE(item(1039), nullptr);
    EXPECT_EQ(item(1039)->GetClassName(), "ZorHostedSite");
}

// --- window objects -----------------------------------------------------------------------

TEST_F(Controls, StateStaysWithTheWidgetWhenAnotherObjectSubclassesIt)
{
    auto& dlg = create({
        {eDLG_EDIT, 101, "", 10, 10, 40, 14, 0},
        {eDLG_UPDOWN, 102, "", 50, 10, 11, 14, UDS_AUTOBUDDY | UDS_SETBUDDYINT},
        {eDLG_LISTBOX, 103, "", 10, 40, 80, 40, 0},
    });
    static_cast<CSpinButtonCtrl*>(item(102))->SetRange(1, 9);
    static_cast<CListBox*>(item(103))->AddString("kept");
    CEdit edit;
    CSpinButtonCtrl spin;
    CListBox list;
    ASSERT_TRUE(edit.SubclassDlgItem(101, &dlg));
    ASSERT_TRUE(spin.SubclassDlgItem(102, &dlg));
    ASSERT_TRUE(list.SubclassDlgItem(103, &dlg));
    EXPECT_EQ(dlg.GetDlgItem(101), &edit);
    int changes = 0;
    countOf(dlg, 101, EN_CHANGE, changes);
    spin.SetPos(4);
    EXPECT_EQ(edit.GetWindowText(), "4");
    EXPECT_EQ(changes, 1);
    int lower = 0;
    int upper = 0;
    spin.GetRange(lower, upper);
    EXPECT_EQ(lower, 1);
    EXPECT_EQ(upper, 9);
    EXPECT_EQ(spin.GetBuddy(), &edit);
    EXPECT_EQ(list.GetCount(), 1);
    edit.DestroyWindow();
    spin.DestroyWindow();
    list.DestroyWindow();
}

TEST_F(Controls, ControlsOutsideADialogNeedTheirParent)
{
    uiTestApp();
    DialogTemplate t = makeTemplate({});
    const DialogItem row {eDLG_EDIT, 101, "", 0, 0, 10, 10, 0};
    CWnd noWindow;
    EXPECT_EQ(zorCreateControl(&noWindow, t, row, CRect(0, 0, 10, 10)), nullptr);
    EXPECT_EQ(zorCreateControl(nullptr, t, row, CRect(0, 0, 10, 10)), nullptr);
}
