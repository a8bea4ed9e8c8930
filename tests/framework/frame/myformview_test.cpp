#include "framework/frame/myformview.h"

#include "platform/ui/controls.h"
#include "platform/ui/dialogtemplate.h"

#include <QtCore/QCoreApplication>
#include <QtWidgets/QWidget>

#include <gtest/gtest.h>

#include <memory>

namespace {

constexpr UINT IDD_FORM = 610;
constexpr int IDC_FORM_NAME = 1101;
constexpr UINT c_viewId = 0xE900;

} // namespace

ZOR_DIALOG_TABLE({
    {IDD_FORM, "", 120, 60, "MS Sans Serif", 8, WS_CHILD,
        {
            {eDLG_EDIT, IDC_FORM_NAME, "", 10, 10, 60, 12, ES_AUTOHSCROLL | WS_TABSTOP},
            {eDLG_BUTTON, IDOK, "OK", 70, 40, 40, 14, BS_DEFPUSHBUTTON | WS_TABSTOP},
        }},
});

namespace {

// Counts the objects that went.
int s_deleted = 0;

class CCountedFormView : public CFormView
{
public:
    CCountedFormView() : CFormView(IDD_FORM) { }
    ~CCountedFormView() override { ++s_deleted; }
};

class CCountedMyFormView : public CMyFormView
{
public:
    CCountedMyFormView() : CMyFormView(IDD_FORM) { }
    ~CCountedMyFormView() override { ++s_deleted; }
};

std::unique_ptr<CWnd> makeFrame()
{
    auto frame = std::make_unique<CWnd>();
    frame->CreateEx(0, "Frame", "Frame", WS_POPUP | WS_VISIBLE, CRect(0, 0, 400, 300), nullptr, 0);
    return frame;
}

TEST(FormView, ChildOfItsParentWithTheTemplatesControls)
{
    const auto frame = makeFrame();
    CMyFormView view(IDD_FORM);
    ASSERT_TRUE(view.Create(
        nullptr, nullptr, WS_CHILD | WS_VISIBLE, CRect(5, 6, 305, 206), frame.get(), c_viewId));
    EXPECT_EQ(frame->GetDlgItem(static_cast<int>(c_viewId)), &view);
    EXPECT_NE(view.GetDlgItem(IDC_FORM_NAME), nullptr);
    CRect rc;
    view.GetWindowRect(&rc);
    frame->ScreenToClient(&rc);
    EXPECT_EQ(rc, CRect(5, 6, 305, 206));
    EXPECT_EQ(view.GetTotalSize(), CSize(180, 98));

    // A form view never ends: its OK button leaves it shown.
    view.SendMessage(WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
    EXPECT_TRUE(view.IsWindowVisible());
}

struct LifeCase
{
    const char* name;
    bool mine;
    bool destroyParent;
    int deletedWithWindow;
};

class FormViewLife : public testing::TestWithParam<LifeCase>
{
};

TEST_P(FormViewLife, DeletedWithItsWindowUnlessItsOwnerKeepsIt)
{
    const LifeCase& c = GetParam();
    auto frame = makeFrame();
    CFormView* view = c.mine ? static_cast<CFormView*>(new CCountedMyFormView)
                             : static_cast<CFormView*>(new CCountedFormView);
    ASSERT_TRUE(view->Create(
        nullptr, nullptr, WS_CHILD | WS_VISIBLE, CRect(0, 0, 100, 50), frame.get(), c_viewId));
    s_deleted = 0;
    if (c.destroyParent)
        frame->DestroyWindow();
    else
        view->DestroyWindow();
    EXPECT_EQ(s_deleted, c.deletedWithWindow);
    if (c.mine) {
        EXPECT_EQ(view->GetSafeHwnd(), nullptr);
        delete view;
        EXPECT_EQ(s_deleted, 1);
    }
}

INSTANTIATE_TEST_SUITE_P(Cases, FormViewLife,
    testing::Values(LifeCase {"ViewDestroyed", false, false, 1},
        LifeCase {"ParentDestroyed", false, true, 1}, LifeCase {"MyViewDestroyed", true, false, 0},
        LifeCase {"MyViewsParentDestroyed", true, true, 0}),
    [](const auto& info) { return std::string(info.param.name); });

} // namespace
