#include "platform/ui/checklistbox.h"

#include "platform/ui/controls.h"
#include "tests/platform/ui/uitestapp.h"

#include <QtWidgets/QAbstractItemView>

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

constexpr UINT c_listId = 1300;
constexpr DWORD c_listStyle = WS_CHILD | WS_VISIBLE | WS_BORDER | WS_VSCROLL | LBS_OWNERDRAWFIXED
    | LBS_HASSTRINGS | LBS_USETABSTOPS;

// The list's parent: records the notifications.
class CParentWnd : public CWnd
{
public:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (message == WM_COMMAND)
            codes.push_back(HIWORD(static_cast<DWORD>(wParam)));
        return CWnd::WindowProc(message, wParam, lParam);
    }
    std::vector<UINT> codes;
};

struct Fixture
{
    Fixture()
    {
        uiTestApp();
        parent.CreateEx(
            0, "Parent", "Parent", WS_POPUP | WS_VISIBLE, CRect(0, 0, 300, 200), nullptr, 0);
        list.Create(c_listStyle, CRect(10, 10, 210, 160), &parent, c_listId);
        for (const char* text : {"Alpha\t1", "Beta\t2", "Gamma\t3"})
            list.AddString(text);
    }
    // Clicks the item at the x offset from its check box's left edge.
    void clickItem(int index, int dx)
    {
        const CRect box = list.checkBoxRect(index);
        QWidget* viewport = static_cast<QAbstractItemView*>(list.widget())->viewport();
        const QPoint at = viewport->mapFrom(list.widget(), QPoint(box.left + dx, box.top + 3));
        sendMouse(viewport, QEvent::MouseButtonPress, at);
        sendMouse(viewport, QEvent::MouseButtonRelease, at);
    }
    CParentWnd parent;
    CCheckListBox list;
};

struct StyleCase
{
    const char* name;
    DWORD style;
    BOOL created;
};

class CheckListCreate : public testing::TestWithParam<StyleCase>
{
};

TEST_P(CheckListCreate, NeedsOwnerDrawnItemsWithTexts)
{
    uiTestApp();
    CParentWnd parent;
    parent.CreateEx(0, "Parent", "Parent", WS_POPUP, CRect(0, 0, 100, 100), nullptr, 0);
    CCheckListBox list;
    EXPECT_EQ(list.Create(GetParam().style | WS_CHILD, CRect(0, 0, 50, 50), &parent, c_listId),
        GetParam().created);
    EXPECT_EQ(list.GetSafeHwnd() != nullptr, GetParam().created == TRUE);
}

INSTANTIATE_TEST_SUITE_P(Cases, CheckListCreate,
    testing::Values(StyleCase {"FixedWithTexts", LBS_OWNERDRAWFIXED | LBS_HASSTRINGS, TRUE},
        StyleCase {"VariableWithTexts", LBS_OWNERDRAWVARIABLE | LBS_HASSTRINGS, TRUE},
        StyleCase {"NotOwnerDrawn", LBS_HASSTRINGS, FALSE},
        StyleCase {"WithoutTexts", LBS_OWNERDRAWFIXED, FALSE}),
    [](const auto& info) { return std::string(info.param.name); });

struct ClickCase
{
    const char* name;
    UINT checkStyle;
    bool onBox;
    bool enabled;
    std::vector<int> checksAfterTwoClicks;
    std::size_t notifications;
};

class CheckListClick : public testing::TestWithParam<ClickCase>
{
};

TEST_P(CheckListClick, ClickOnTheBoxTurnsTheCheck)
{
    const ClickCase& c = GetParam();
    Fixture f;
    ASSERT_TRUE(f.list.SetCheckStyle(c.checkStyle));
    f.list.Enable(1, c.enabled);
    std::vector<int> checks;
    for (int i = 0; i < 2; ++i) {
        f.clickItem(1, c.onBox ? 4 : 60);
        checks.push_back(f.list.GetCheck(1));
    }
    EXPECT_EQ(checks, c.checksAfterTwoClicks);
    EXPECT_EQ(std::count(f.parent.codes.begin(), f.parent.codes.end(), CLBN_CHKCHANGE),
        static_cast<long>(c.notifications));
    // The other items keep theirs.
    EXPECT_EQ(f.list.GetCheck(0), BST_UNCHECKED);
    EXPECT_EQ(f.list.GetCheck(2), BST_UNCHECKED);
}

INSTANTIATE_TEST_SUITE_P(Cases, CheckListClick,
    testing::Values(ClickCase {"AutoOnAndOff", BS_AUTOCHECKBOX, true, true, {1, 0}, 2},
        ClickCase {"AutoThreeState", BS_AUTO3STATE, true, true, {1, 2}, 2},
        ClickCase {"ManualNotifiesOnly", BS_CHECKBOX, true, true, {0, 0}, 2},
        ClickCase {"OnTheTextNothing", BS_AUTOCHECKBOX, false, true, {0, 0}, 0},
        ClickCase {"DisabledItemNothing", BS_AUTOCHECKBOX, true, false, {0, 0}, 0}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(CheckListChecks, ProgramChecksFollowTheirItemsAndNotifyNothing)
{
    Fixture f;
    f.list.SetCheck(0, BST_CHECKED);
    f.list.SetCheck(2, BST_CHECKED);
    // Indeterminate needs a three-state style; out-of-range indexes change nothing.
    f.list.SetCheck(1, BST_INDETERMINATE);
    f.list.SetCheck(5, BST_CHECKED);
    EXPECT_EQ(f.list.GetCheck(1), BST_UNCHECKED);
    EXPECT_EQ(f.list.GetCheck(5), -1);

    f.list.InsertString(0, "First");
    f.list.DeleteString(2);
    std::vector<int> checks;
    for (int i = 0; i < f.list.GetCount(); ++i)
        checks.push_back(f.list.GetCheck(i));
    EXPECT_EQ(checks, (std::vector<int> {0, 1, 1}));
    EXPECT_TRUE(f.parent.codes.empty());

    f.list.ResetContent();
    f.list.AddString("Again");
    EXPECT_EQ(f.list.GetCheck(0), BST_UNCHECKED);
}

TEST(CheckListKeys, SpaceTurnsTheSelectedItem)
{
    Fixture f;
    f.list.SetCurSel(2);
    sendKey(f.list.widget(), Qt::Key_Space, Qt::NoModifier, QStringLiteral(" "));
    EXPECT_EQ(f.list.GetCheck(2), BST_CHECKED);
    EXPECT_EQ(f.parent.codes, (std::vector<UINT> {CLBN_CHKCHANGE}));
}

} // namespace
