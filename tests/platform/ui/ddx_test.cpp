#include "platform/ui/controls.h"
#include "platform/ui/dialog.h"
#include "platform/ui/messagebox.h"
#include "platform/ui/winapp.h"
#include "tests/platform/ui/uitestapp.h"

#include <gtest/gtest.h>

#include <QtWidgets/QLineEdit>

#include <functional>
#include <memory>
#include <string>

namespace {

constexpr int c_edit = 101;
constexpr int c_check = 102;
constexpr int c_radioA = 103;
constexpr int c_radioB = 104;
constexpr int c_radioC = 105;
constexpr int c_combo = 106;
constexpr int c_dropDown = 107;
constexpr int c_list = 108;
constexpr int c_picker = 109;
constexpr int c_spin = 110;
constexpr int c_after = 111;

DialogTemplate exchangeTemplate()
{
    DialogTemplate tmpl;
    tmpl.caption = "Options";
    tmpl.cx = 281;
    tmpl.cy = 160;
    tmpl.style = DS_MODALFRAME | WS_POPUP | WS_CAPTION | WS_SYSMENU;
    tmpl.items = {
        {eDLG_EDIT, c_edit, "", 90, 10, 40, 14, ES_AUTOHSCROLL | WS_TABSTOP},
        {eDLG_UPDOWN, c_spin, "", 130, 10, 11, 14, UDS_AUTOBUDDY | UDS_SETBUDDYINT},
        {eDLG_CHECKBOX, c_check, "Graph", 10, 30, 50, 10, WS_TABSTOP},
        {eDLG_RADIO, c_radioA, "A", 10, 45, 40, 10, WS_GROUP | WS_TABSTOP},
        {eDLG_RADIO, c_radioB, "B", 10, 57, 40, 10, 0},
        {eDLG_RADIO, c_radioC, "C", 10, 69, 40, 10, 0},
        {eDLG_COMBOBOX, c_combo, "", 90, 30, 80, 60, CBS_DROPDOWNLIST | WS_GROUP | WS_TABSTOP},
        {eDLG_COMBOBOX, c_dropDown, "", 90, 50, 80, 60, CBS_DROPDOWN | WS_TABSTOP},
        {eDLG_LISTBOX, c_list, "", 180, 10, 90, 60, WS_VSCROLL},
        {eDLG_DATETIME, c_picker, "", 180, 80, 60, 15, DTS_SHORTDATEFORMAT},
        {eDLG_EDIT, c_after, "", 90, 90, 40, 14, WS_TABSTOP},
    };
    return tmpl;
}

// A dialog whose exchange is given by the test.
class ExchangeDialog : public CDialog
{
public:
    std::function<void(CDataExchange*)> exchange;

    void DoDataExchange(CDataExchange* pDX) override
    {
        if (exchange)
            exchange(pDX);
    }
};

class DataExchange : public ::testing::Test
{
protected:
    void SetUp() override
    {
        uiTestApp();
        tmpl = exchangeTemplate();
        dialog = std::make_unique<ExchangeDialog>();
        ASSERT_TRUE(dialog->CreateIndirect(tmpl));
    }
    void TearDown() override { dialog.reset(); }

    void showActive()
    {
        dialog->ShowWindow(SW_SHOW);
        dialog->widget()->activateWindow();
        processUntil([&] { return QApplication::activeWindow() == dialog->widget(); });
    }
    CWnd* item(int id) const { return dialog->GetDlgItem(id); }
    void setText(int id, const char* text) { item(id)->SetWindowText(text); }
    std::string text(int id) const { return item(id)->GetWindowText(); }

    DialogTemplate tmpl;
    std::unique_ptr<ExchangeDialog> dialog;
    CRecordingPresenter presenter;
};

} // namespace

// --- text ---------------------------------------------------------------------------------

TEST_F(DataExchange, IntegerTextRoundTrip)
{
    int value = 42;
    dialog->exchange = [&](CDataExchange* pDX) { DDX_Text(pDX, c_edit, value); };
    ASSERT_TRUE(dialog->UpdateData(FALSE));
    EXPECT_EQ(text(c_edit), "42");
    setText(c_edit, " -17\t");
    ASSERT_TRUE(dialog->UpdateData(TRUE));
    EXPECT_EQ(value, -17);
    EXPECT_TRUE(presenter.boxes.empty());
}

TEST_F(DataExchange, LoadingTheSameTextDoesNotReportAChange)
{
    std::string value = "same";
    dialog->exchange = [&](CDataExchange* pDX) { DDX_Text(pDX, c_edit, value); };
    int changes = 0;
    dialog->onCommand(c_edit, EN_CHANGE, [&] { ++changes; });
    ASSERT_TRUE(dialog->UpdateData(FALSE));
    EXPECT_EQ(changes, 1);
    ASSERT_TRUE(dialog->UpdateData(FALSE));
    EXPECT_EQ(changes, 1);
    setText(c_edit, "typed");
    ASSERT_TRUE(dialog->UpdateData(TRUE));
    EXPECT_EQ(value, "typed");
}

struct IntegerCase
{
    const char* name;
    const char* text;
    bool reads;
    int value;
};

class IntegerTexts : public DataExchange, public ::testing::WithParamInterface<IntegerCase>
{
};

TEST_P(IntegerTexts, ReadAsThePlatformReadsThem)
{
    const IntegerCase& c = GetParam();
    int value = 12345;
    dialog->exchange = [&](CDataExchange* pDX) { DDX_Text(pDX, c_edit, value); };
    setText(c_edit, c.text);
    EXPECT_EQ(dialog->UpdateData(TRUE), c.reads ? TRUE : FALSE);
    if (c.reads) {
        EXPECT_EQ(value, c.value);
        EXPECT_TRUE(presenter.boxes.empty());
    } else {
        EXPECT_EQ(value, 12345) << "a failed exchange keeps the member";
        ASSERT_EQ(presenter.boxes.size(), 1u);
        EXPECT_EQ(presenter.boxes[0].text, "Please enter an integer.");
    }
}

INSTANTIATE_TEST_SUITE_P(DataExchange, IntegerTexts,
    ::testing::Values(IntegerCase {"Plain", "7", true, 7}, IntegerCase {"Blanks", "  7  ", true, 7},
        IntegerCase {"Plus", "+7", true, 7}, IntegerCase {"MinusZero", "-0", true, 0},
        IntegerCase {"Largest", "2147483647", true, 2147483647},
        IntegerCase {"Smallest", "-2147483648", true, -2147483647 - 1},
        IntegerCase {"Empty", "", false, 0}, IntegerCase {"Blank", "   ", false, 0},
        IntegerCase {"Letters", "abc", false, 0}, IntegerCase {"Trailing", "12a", false, 0},
        IntegerCase {"Inner", "1 2", false, 0}, IntegerCase {"Hex", "0x10", false, 0},
        IntegerCase {"SignOnly", "-", false, 0}, IntegerCase {"Fraction", "1.5", false, 0},
        IntegerCase {"Overflow", "2147483648", false, 0},
        IntegerCase {"Underflow", "-2147483649", false, 0}),
    [](const ::testing::TestParamInfo<IntegerCase>& info) { return std::string(info.param.name); });

TEST_F(DataExchange, UnsignedAndLongTexts)
{
    UINT count = 0;
    long big = 0;
    dialog->exchange = [&](CDataExchange* pDX) { DDX_Text(pDX, c_edit, count); };
    setText(c_edit, "4294967295");
    EXPECT_TRUE(dialog->UpdateData(TRUE));
    EXPECT_EQ(count, 4294967295u);
    setText(c_edit, "-1");
    EXPECT_FALSE(dialog->UpdateData(TRUE)) << "a minus never reads as an unsigned number";
    setText(c_edit, "4294967296");
    EXPECT_FALSE(dialog->UpdateData(TRUE));
    dialog->exchange = [&](CDataExchange* pDX) { DDX_Text(pDX, c_edit, big); };
    setText(c_edit, "-2147483648");
    EXPECT_TRUE(dialog->UpdateData(TRUE));
    EXPECT_EQ(big, -2147483648L);
    setText(c_edit, "2147483648");
    EXPECT_FALSE(dialog->UpdateData(TRUE)) << "the platform's long is 32 bits wide";
    EXPECT_EQ(presenter.boxes.size(), 3u);
}

TEST_F(DataExchange, NumberTexts)
{
    double value = 0.0;
    dialog->exchange = [&](CDataExchange* pDX) { DDX_Text(pDX, c_edit, value); };
    value = 0.1;
    dialog->UpdateData(FALSE);
    EXPECT_EQ(text(c_edit), "0.1");
    value = 1.0 / 3.0;
    dialog->UpdateData(FALSE);
    EXPECT_EQ(text(c_edit), "0.333333333333333") << "fifteen significant digits";
    for (const auto& [input, expected] : std::vector<std::pair<const char*, double>> {
             {"3.5", 3.5}, {" -2.25 ", -2.25}, {"1e3", 1000.0}, {".5", 0.5}, {"+4", 4.0}}) {
        setText(c_edit, input);
        EXPECT_TRUE(dialog->UpdateData(TRUE)) << input;
        EXPECT_DOUBLE_EQ(value, expected) << input;
    }
    EXPECT_TRUE(presenter.boxes.empty());
    for (const char* bad : {"abc", "", "1.5x", "inf", "nan", "1e999", "0x1p3"}) {
        setText(c_edit, bad);
        EXPECT_FALSE(dialog->UpdateData(TRUE)) << bad;
    }
    ASSERT_EQ(presenter.boxes.size(), 7u);
    EXPECT_EQ(presenter.boxes[0].text, "Please enter a number.");
}

// --- validation ---------------------------------------------------------------------------

TEST_F(DataExchange, RangeFailureShowsTheStandardMessageAndFocusesTheEdit)
{
    showActive();
    int value = 0;
    dialog->exchange = [&](CDataExchange* pDX) {
        DDX_Text(pDX, c_edit, value);
        DDV_MinMaxInt(pDX, value, 500, 5000);
    };
    item(c_after)->SetFocus();
    processEventsFor(20);
    setText(c_edit, "499");
    EXPECT_FALSE(dialog->UpdateData(TRUE));
    ASSERT_EQ(presenter.boxes.size(), 1u);
    EXPECT_EQ(presenter.boxes[0].text, "Please enter an integer between 500 and 5000.");
    EXPECT_EQ(presenter.boxes[0].type, MB_ICONEXCLAMATION | MB_OK);
    processEventsFor(20);
    EXPECT_EQ(QApplication::focusWidget(), item(c_edit)->widget());
    int start = -1;
    int end = -1;
    static_cast<CEdit*>(item(c_edit))->GetSel(start, end);
    EXPECT_EQ(start, 0);
    EXPECT_EQ(end, 3) << "the whole text is selected";
    for (const char* edge : {"500", "5000"}) {
        setText(c_edit, edge);
        EXPECT_TRUE(dialog->UpdateData(TRUE)) << edge;
    }
    EXPECT_EQ(value, 5000);
    setText(c_edit, "5001");
    EXPECT_FALSE(dialog->UpdateData(TRUE));
    EXPECT_EQ(presenter.boxes.size(), 2u);
}

TEST_F(DataExchange, RangesAreCheckedOnTheWayOutOnly)
{
    int value = 7;
    dialog->exchange = [&](CDataExchange* pDX) {
        DDX_Text(pDX, c_edit, value);
        DDV_MinMaxInt(pDX, value, 500, 5000);
    };
    EXPECT_TRUE(dialog->UpdateData(FALSE));
    EXPECT_TRUE(presenter.boxes.empty());
    EXPECT_EQ(text(c_edit), "7");
}

TEST_F(DataExchange, RangeMessagesOfTheOtherTypes)
{
    UINT count = 0;
    long big = 0;
    double ratio = 0.0;
    dialog->exchange = [&](CDataExchange* pDX) {
        DDX_Text(pDX, c_edit, count);
        DDV_MinMaxUInt(pDX, count, 10, 300);
    };
    setText(c_edit, "301");
    EXPECT_FALSE(dialog->UpdateData(TRUE));
    dialog->exchange = [&](CDataExchange* pDX) {
        DDX_Text(pDX, c_edit, big);
        DDV_MinMaxLong(pDX, big, -5, 5);
    };
    setText(c_edit, "-6");
    EXPECT_FALSE(dialog->UpdateData(TRUE));
    dialog->exchange = [&](CDataExchange* pDX) {
        DDX_Text(pDX, c_edit, ratio);
        DDV_MinMaxDouble(pDX, ratio, 0.5, 2.25);
    };
    setText(c_edit, "3");
    EXPECT_FALSE(dialog->UpdateData(TRUE));
    dialog->exchange = [&](CDataExchange* pDX) {
        DDX_Text(pDX, c_edit, ratio);
        DDV_MinMaxDouble(pDX, ratio, 0.1, 1e20);
    };
    setText(c_edit, "0");
    EXPECT_FALSE(dialog->UpdateData(TRUE));
    ASSERT_EQ(presenter.boxes.size(), 4u);
    EXPECT_EQ(presenter.boxes[0].text, "Please enter an integer between 10 and 300.");
    EXPECT_EQ(presenter.boxes[1].text, "Please enter an integer between -5 and 5.");
    EXPECT_EQ(presenter.boxes[2].text, "Please enter a number between 0.5 and 2.25.");
    EXPECT_EQ(presenter.boxes[3].text, "Please enter a number between 0.1 and 1e+20.");
}

TEST_F(DataExchange, MaxCharsChecksAndLimitsTheEdit)
{
    std::string value = "abc";
    dialog->exchange = [&](CDataExchange* pDX) {
        DDX_Text(pDX, c_edit, value);
        DDV_MaxChars(pDX, value, 5);
    };
    ASSERT_TRUE(dialog->UpdateData(FALSE));
    auto* line = qobject_cast<QLineEdit*>(item(c_edit)->widget());
    line->setFocus();
    line->setCursorPosition(3);
    for (const char* c : {"d", "e", "f"})
        sendKey(line, Qt::Key_A, Qt::NoModifier, QString::fromLatin1(c));
    EXPECT_EQ(text(c_edit), "abcde") << "the user types no more than the limit";
    setText(c_edit, "abcdef");
    EXPECT_FALSE(dialog->UpdateData(TRUE));
    ASSERT_EQ(presenter.boxes.size(), 1u);
    EXPECT_EQ(presenter.boxes[0].text, "Please enter no more than 5 characters.");
    EXPECT_EQ(value, "abcdef") << "the text is exchanged before it is checked";
}

TEST_F(DataExchange, TheBoxCarriesTheApplicationsName)
{
    CWinApp app("Corvane");
    int value = 0;
    dialog->exchange = [&](CDataExchange* pDX) { DDX_Text(pDX, c_edit, value); };
    setText(c_edit, "x");
    EXPECT_FALSE(dialog->UpdateData(TRUE));
    ASSERT_EQ(presenter.boxes.size(), 1u);
    EXPECT_EQ(presenter.boxes[0].caption, "Corvane");
}

TEST_F(DataExchange, FailWithoutAControlStillEndsTheExchange)
{
    bool after = false;
    dialog->exchange = [&](CDataExchange* pDX) {
        pDX->Fail();
        after = true;
    };
    EXPECT_FALSE(dialog->UpdateData(TRUE));
    EXPECT_FALSE(after);
    EXPECT_TRUE(presenter.boxes.empty());
}

// --- buttons, lists, pickers --------------------------------------------------------------

TEST_F(DataExchange, CheckAndRadioRoundTrip)
{
    int checked = BST_CHECKED;
    int choice = 2;
    dialog->exchange = [&](CDataExchange* pDX) {
        DDX_Check(pDX, c_check, checked);
        DDX_Radio(pDX, c_radioA, choice);
    };
    ASSERT_TRUE(dialog->UpdateData(FALSE));
    EXPECT_EQ(static_cast<CButton*>(item(c_check))->GetCheck(), BST_CHECKED);
    EXPECT_EQ(static_cast<CButton*>(item(c_radioC))->GetCheck(), BST_CHECKED);
    EXPECT_EQ(static_cast<CButton*>(item(c_radioA))->GetCheck(), BST_UNCHECKED);
    static_cast<CButton*>(item(c_check))->click();
    static_cast<CButton*>(item(c_radioA))->click();
    ASSERT_TRUE(dialog->UpdateData(TRUE));
    EXPECT_EQ(checked, BST_UNCHECKED);
    EXPECT_EQ(choice, 0);
    static_cast<CButton*>(item(c_radioA))->SetCheck(BST_UNCHECKED);
    ASSERT_TRUE(dialog->UpdateData(TRUE));
    EXPECT_EQ(choice, -1) << "no button checked";
}

TEST_F(DataExchange, ComboAndListIndexesAndStrings)
{
    auto* combo = static_cast<CComboBox*>(item(c_combo));
    auto* dropDown = static_cast<CComboBox*>(item(c_dropDown));
    auto* list = static_cast<CListBox*>(item(c_list));
    for (const char* s : {"Apple", "Banana", "Cherry"}) {
        combo->AddString(s);
        dropDown->AddString(s);
        list->AddString(s);
    }
    int comboIndex = 1;
    int listIndex = 2;
    std::string pick = "ch";
    std::string typed = "Durian";
    dialog->exchange = [&](CDataExchange* pDX) {
        DDX_CBIndex(pDX, c_combo, comboIndex);
        DDX_LBIndex(pDX, c_list, listIndex);
        DDX_CBString(pDX, c_dropDown, typed);
    };
    ASSERT_TRUE(dialog->UpdateData(FALSE));
    EXPECT_EQ(combo->GetCurSel(), 1);
    EXPECT_EQ(list->GetCurSel(), 2);
    EXPECT_EQ(dropDown->GetCurSel(), CB_ERR);
    EXPECT_EQ(text(c_dropDown), "Durian") << "no item begins so: the text goes into the edit";
    combo->SetCurSel(0);
    list->SetCurSel(1);
    setText(c_dropDown, "Elder");
    ASSERT_TRUE(dialog->UpdateData(TRUE));
    EXPECT_EQ(comboIndex, 0);
    EXPECT_EQ(listIndex, 1);
    EXPECT_EQ(typed, "Elder");
    // A string selects the first item it begins.
    dialog->exchange = [&](CDataExchange* pDX) { DDX_CBString(pDX, c_combo, pick); };
    ASSERT_TRUE(dialog->UpdateData(FALSE));
    EXPECT_EQ(combo->GetCurSel(), 2);
    ASSERT_TRUE(dialog->UpdateData(TRUE));
    EXPECT_EQ(pick, "Cherry");
}

TEST_F(DataExchange, DateTimeRoundTrip)
{
    COleDateTime purge(2002, 5, 29, 14, 7, 9);
    dialog->exchange = [&](CDataExchange* pDX) { DDX_DateTimeCtrl(pDX, c_picker, purge); };
    ASSERT_TRUE(dialog->UpdateData(FALSE));
    COleDateTime shown;
    static_cast<CDateTimeCtrl*>(item(c_picker))->GetTime(shown);
    EXPECT_EQ(shown, purge);
    static_cast<CDateTimeCtrl*>(item(c_picker))->SetTime(COleDateTime(2002, 6, 1, 8, 0, 0));
    ASSERT_TRUE(dialog->UpdateData(TRUE));
    EXPECT_EQ(purge, COleDateTime(2002, 6, 1, 8, 0, 0));
}

TEST_F(DataExchange, ControlSubclassesOnFirstUseOnly)
{
    CSpinButtonCtrl spin;
    CEdit edit;
    int calls = 0;
    dialog->exchange = [&](CDataExchange* pDX) {
        ++calls;
        DDX_Control(pDX, c_edit, edit);
        DDX_Control(pDX, c_spin, spin);
    };
    ASSERT_TRUE(dialog->UpdateData(FALSE));
    ASSERT_NE(spin.m_hWnd, nullptr);
    const HWND handle = spin.m_hWnd;
    EXPECT_EQ(dialog->GetDlgItem(c_spin), &spin);
    EXPECT_EQ(dialog->GetDlgItem(c_edit), &edit);
    ASSERT_TRUE(dialog->UpdateData(TRUE));
    EXPECT_EQ(calls, 2);
    EXPECT_EQ(spin.m_hWnd, handle);
    // The members work the dialog's controls.
    spin.SetRange(1, 5);
    spin.SetPos(3);
    EXPECT_EQ(edit.GetWindowText(), "3");
    EXPECT_EQ(spin.GetBuddy(), &edit);
    dialog->DestroyWindow();
    EXPECT_EQ(spin.m_hWnd, nullptr);
}
