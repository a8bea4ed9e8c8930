#include "tests/platform/ole/testcontrol.h"

#include "framework/identity/suiteguid.h"
#include "platform/ole/dispatchimpl.h"
#include "platform/ole/fontpage.h"

#include <gtest/gtest.h>

#include <QtCore/QTimer>
#include <QtWidgets/QTabBar>

#include <algorithm>

ZOR_DIALOG_TABLE({
    {c_testPageTemplate, "General", 180, 80, "MS Sans Serif", 8, WS_CHILD,
        {{eDLG_CHECKBOX, c_idFlagCheck, "Flag", 7, 7, 80, 10, WS_TABSTOP},
            {eDLG_EDIT, c_idCaptionEdit, "", 7, 24, 100, 14, ES_AUTOHSCROLL | WS_TABSTOP},
            {eDLG_BUTTON, c_idPushButton, "Push", 7, 44, 50, 14, WS_TABSTOP}}},
    {c_testPage2Template, "Second", 300, 150, "MS Sans Serif", 8, WS_CHILD, {}},
});

namespace {

// A control and its site in a parent window, the objects a frame edits.
struct EditedControl
{
    CWnd parent;
    COleControlSite site;
    CTestCtrl* control {nullptr};

    EditedControl()
    {
        registerTestClasses();
        parent.CreateEx(0, "ZorTestParent", "", WS_POPUP, CRect(0, 0, 100, 100), nullptr, 0);
        site.create(c_testControlId.c_str(), "", &parent, CRect(0, 0, 40, 20), 1);
        control = dynamic_cast<CTestCtrl*>(site.control());
    }
};

CButton* buttonOf(CWnd* page, int id)
{
    return dynamic_cast<CButton*>(page->GetDlgItem(id));
}

} // namespace

TEST(PropertyFrame, PagesInGivenOrderWithCaptions)
{
    EditedControl ec;
    ASSERT_NE(ec.control, nullptr);
    CPropertyFrame frame("Test Properties", {ec.site.dispatch()}, ec.control->GetPropPageIDs());
    ASSERT_TRUE(frame.createFrame(nullptr));
    ASSERT_EQ(frame.pageCount(), 3);
    EXPECT_EQ(frame.pageCaption(0), "General");
    EXPECT_EQ(frame.pageCaption(1), "Second");
    EXPECT_EQ(frame.pageCaption(2), "Font");
    EXPECT_NE(dynamic_cast<CFontPage*>(frame.page(2)), nullptr);
    EXPECT_EQ(frame.GetWindowText(), "Test Properties");
    EXPECT_EQ(frame.activePage(), 0);

    CPropertyFrame reversed(
        "Reversed", {ec.site.dispatch()}, {CLSID_StockFontPage, c_testPage2Clsid, c_testPageClsid});
    ASSERT_TRUE(reversed.createFrame(nullptr));
    ASSERT_EQ(reversed.pageCount(), 3);
    EXPECT_EQ(reversed.pageCaption(0), "Font");
    EXPECT_EQ(reversed.pageCaption(1), "Second");
    EXPECT_EQ(reversed.pageCaption(2), "General");
}

TEST(PropertyFrame, PageAreaFitsLargestPageAndTabsSwitch)
{
    EditedControl ec;
    ASSERT_NE(ec.control, nullptr);
    CPropertyFrame frame("Sizes", {ec.site.dispatch()}, {c_testPageClsid, c_testPage2Clsid});
    ASSERT_TRUE(frame.createFrame(nullptr));
    frame.ShowWindow(SW_SHOW);
    ASSERT_EQ(frame.pageCount(), 2);
    CRect large;
    frame.page(1)->GetWindowRect(&large);
    CRect client;
    frame.GetClientRect(&client);
    // The second page (300 x 150 units) fits inside the frame with the buttons below it.
    EXPECT_GE(client.Width(), large.Width());
    EXPECT_GT(client.Height(), large.Height());
    EXPECT_TRUE(frame.page(0)->IsWindowVisible());
    EXPECT_FALSE(frame.page(1)->IsWindowVisible());

    auto* bar = frame.widget()->findChild<QTabBar*>();
    ASSERT_NE(bar, nullptr);
    ASSERT_EQ(bar->count(), 2);
    EXPECT_EQ(bar->tabText(1), "Second");
    bar->setCurrentIndex(1);
    EXPECT_EQ(frame.activePage(), 1);
    EXPECT_FALSE(frame.page(0)->IsWindowVisible());
    EXPECT_TRUE(frame.page(1)->IsWindowVisible());
    frame.setActivePage(0);
    EXPECT_EQ(bar->currentIndex(), 0);
}

TEST(PropertyFrame, UnknownPageIsLeftOut)
{
    EditedControl ec;
    ASSERT_NE(ec.control, nullptr);
    CPropertyFrame frame(
        "Partial", {ec.site.dispatch()}, {zorSuiteGuid(0x7E5A, 5), c_testPage2Clsid});
    ASSERT_TRUE(frame.createFrame(nullptr));
    ASSERT_EQ(frame.pageCount(), 1);
    EXPECT_EQ(frame.pageCaption(0), "Second");
    EXPECT_EQ(frame.page(1), nullptr);
}

TEST(PropertyPageBinding, OpeningReadsPropertiesByName)
{
    EditedControl ec;
    ASSERT_NE(ec.control, nullptr);
    ec.control->m_flag = TRUE;
    ec.control->m_caption = "Shown";
    CPropertyFrame frame("Read", {ec.site.dispatch()}, {c_testPageClsid});
    ASSERT_TRUE(frame.createFrame(nullptr));
    COlePropertyPage* page = frame.page(0);
    ASSERT_NE(page, nullptr);
    EXPECT_EQ(page->IsDlgButtonChecked(c_idFlagCheck), BST_CHECKED);
    EXPECT_EQ(page->GetDlgItemText(c_idCaptionEdit), "Shown");
    // Filling the controls does not count as a change.
    EXPECT_FALSE(page->isModified());
    EXPECT_FALSE(frame.applyEnabled());
    EXPECT_FALSE(frame.GetDlgItem(CPropertyFrame::c_idApply)->IsWindowEnabled());
}

TEST(PropertyPageBinding, CheckBoxClickEnablesApplyWhichWritesProperty)
{
    EditedControl ec;
    ASSERT_NE(ec.control, nullptr);
    CPropertyFrame frame("Write", {ec.site.dispatch()}, {c_testPageClsid, c_testPage2Clsid});
    ASSERT_TRUE(frame.createFrame(nullptr));
    COlePropertyPage* page = frame.page(0);
    ASSERT_NE(page, nullptr);
    EXPECT_EQ(page->IsDlgButtonChecked(c_idFlagCheck), BST_UNCHECKED);
    ASSERT_NE(buttonOf(page, c_idFlagCheck), nullptr);
    buttonOf(page, c_idFlagCheck)->click();
    EXPECT_TRUE(page->isModified());
    EXPECT_TRUE(frame.applyEnabled());
    EXPECT_TRUE(frame.GetDlgItem(CPropertyFrame::c_idApply)->IsWindowEnabled());
    // Nothing is written before Apply.
    EXPECT_EQ(ec.control->m_flag, FALSE);
    EXPECT_FALSE(ec.control->IsModified());

    buttonOf(&frame, CPropertyFrame::c_idApply)->click();
    EXPECT_EQ(ec.control->m_flag, TRUE);
    EXPECT_TRUE(ec.control->IsModified());
    EXPECT_FALSE(page->isModified());
    EXPECT_FALSE(frame.GetDlgItem(CPropertyFrame::c_idApply)->IsWindowEnabled());
}

TEST(PropertyPageBinding, EditChangeModifiesAndApplyWritesEveryObject)
{
    EditedControl first;
    EditedControl second;
    ASSERT_NE(first.control, nullptr);
    ASSERT_NE(second.control, nullptr);
    CPropertyFrame frame(
        "Both", {first.site.dispatch(), second.site.dispatch()}, {c_testPageClsid});
    ASSERT_TRUE(frame.createFrame(nullptr));
    COlePropertyPage* page = frame.page(0);
    ASSERT_NE(page, nullptr);
    page->SetDlgItemText(c_idCaptionEdit, "Typed");
    EXPECT_TRUE(page->isModified());
    EXPECT_TRUE(frame.apply());
    EXPECT_EQ(first.control->m_caption, "Typed");
    EXPECT_EQ(second.control->m_caption, "Typed");
}

TEST(PropertyPageBinding, PushButtonDoesNotModify)
{
    EditedControl ec;
    ASSERT_NE(ec.control, nullptr);
    CPropertyFrame frame("Push", {ec.site.dispatch()}, {c_testPageClsid});
    ASSERT_TRUE(frame.createFrame(nullptr));
    buttonOf(frame.page(0), c_idPushButton)->click();
    EXPECT_FALSE(frame.page(0)->isModified());
}

TEST(PropertyPageBinding, PageValidationOutsideApplyWritesNothing)
{
    EditedControl ec;
    ASSERT_NE(ec.control, nullptr);
    CPropertyFrame frame("Validate", {ec.site.dispatch()}, {c_testPageClsid});
    ASSERT_TRUE(frame.createFrame(nullptr));
    buttonOf(frame.page(0), c_idFlagCheck)->click();
    EXPECT_TRUE(frame.page(0)->UpdateData(TRUE));
    EXPECT_EQ(ec.control->m_flag, FALSE);
}

TEST(PropertyPageBinding, OkAppliesAndCancelDoesNot)
{
    EditedControl ec;
    ASSERT_NE(ec.control, nullptr);
    {
        CPropertyFrame frame("Cancel", {ec.site.dispatch()}, {c_testPageClsid});
        ASSERT_TRUE(frame.createFrame(nullptr));
        buttonOf(frame.page(0), c_idFlagCheck)->click();
        buttonOf(&frame, IDCANCEL)->click();
        EXPECT_EQ(frame.result(), IDCANCEL);
        EXPECT_EQ(ec.control->m_flag, FALSE);
    }
    {
        CPropertyFrame frame("OK", {ec.site.dispatch()}, {c_testPageClsid});
        ASSERT_TRUE(frame.createFrame(nullptr));
        buttonOf(frame.page(0), c_idFlagCheck)->click();
        buttonOf(&frame, IDOK)->click();
        EXPECT_EQ(frame.result(), IDOK);
        EXPECT_EQ(ec.control->m_flag, TRUE);
    }
}

TEST(PropertyFrame, ModalFrameRunsUntilOk)
{
    EditedControl ec;
    ASSERT_NE(ec.control, nullptr);
    bool sawFrame = false;
    // Looks for the frame while it runs modally, then uses it as a user would.
    QTimer poll;
    poll.setInterval(20);
    QObject::connect(&poll, &QTimer::timeout, [&] {
        for (QWidget* top : QApplication::topLevelWidgets()) {
            if (!top->isVisible() || top->windowTitle() != "Modal")
                continue;
            auto* frame = dynamic_cast<CPropertyFrame*>(CWnd::fromWidget(top));
            if (!frame || frame->pageCount() != 1)
                continue;
            sawFrame = true;
            poll.stop();
            buttonOf(frame->page(0), c_idFlagCheck)->click();
            buttonOf(frame, IDOK)->click();
            return;
        }
    });
    poll.start();
    EXPECT_EQ(
        OleCreatePropertyFrame(nullptr, "Modal", {ec.site.dispatch()}, {c_testPageClsid}), S_OK);
    EXPECT_TRUE(sawFrame);
    EXPECT_EQ(ec.control->m_flag, TRUE);
}

TEST(StockFontPage, CreatableByClassId)
{
    registerTestClasses();
    COlePropertyPage* page = nullptr;
    ASSERT_EQ(CoCreateInstance(CLSID_StockFontPage, nullptr, CLSCTX_INPROC_SERVER,
                  IID_IPropertyPage, reinterpret_cast<void**>(&page)),
        S_OK);
    ASSERT_NE(page, nullptr);
    EXPECT_NE(dynamic_cast<CFontPage*>(page), nullptr);
    EXPECT_EQ(zorGuidToString(CLSID_StockFontPage), "{0BE35200-8F91-11CE-9DE3-00AA004BB851}");
    page->Release();
}

TEST(StockFontPage, ShowsStockFontOfControl)
{
    EditedControl ec;
    ASSERT_NE(ec.control, nullptr);
    FONTDESC desc;
    desc.lpstrName = "Arial";
    desc.cySize = 82500;
    desc.sWeight = 700;
    desc.fUnderline = TRUE;
    ec.control->InternalGetFont().setDesc(desc);
    CPropertyFrame frame("Font", {ec.site.dispatch()}, {CLSID_StockFontPage});
    ASSERT_TRUE(frame.createFrame(nullptr));
    auto* page = dynamic_cast<CFontPage*>(frame.page(0));
    ASSERT_NE(page, nullptr);
    EXPECT_EQ(page->fontProperties(), std::vector<std::string>({"Font"}));
    auto* faces = dynamic_cast<CComboBox*>(page->GetDlgItem(CFontPage::eIDS_FACE));
    ASSERT_NE(faces, nullptr);
    std::string face;
    faces->GetLBText(faces->GetCurSel(), face);
    EXPECT_EQ(face, "Arial");
    EXPECT_NE(faces->FindStringExact(-1, "MS Sans Serif"), CB_ERR);
    EXPECT_NE(faces->FindStringExact(-1, "Courier New"), CB_ERR);
    EXPECT_EQ(page->GetDlgItemText(CFontPage::eIDS_SIZE), "8.25");
    EXPECT_EQ(page->IsDlgButtonChecked(CFontPage::eIDS_BOLD), BST_CHECKED);
    EXPECT_EQ(page->IsDlgButtonChecked(CFontPage::eIDS_ITALIC), BST_UNCHECKED);
    EXPECT_EQ(page->IsDlgButtonChecked(CFontPage::eIDS_UNDERLINE), BST_CHECKED);
    EXPECT_EQ(page->IsDlgButtonChecked(CFontPage::eIDS_STRIKEOUT), BST_UNCHECKED);
    EXPECT_FALSE(page->isModified());
}

TEST(StockFontPage, ApplyEditsStockFontThroughFontObject)
{
    EditedControl ec;
    ASSERT_NE(ec.control, nullptr);
    CPropertyFrame frame("Font", {ec.site.dispatch()}, {CLSID_StockFontPage});
    ASSERT_TRUE(frame.createFrame(nullptr));
    auto* page = dynamic_cast<CFontPage*>(frame.page(0));
    ASSERT_NE(page, nullptr);
    auto* faces = dynamic_cast<CComboBox*>(page->GetDlgItem(CFontPage::eIDS_FACE));
    ASSERT_NE(faces, nullptr);
    faces->SetCurSel(faces->FindStringExact(-1, "Times New Roman"));
    page->SetDlgItemText(CFontPage::eIDS_SIZE, "12");
    buttonOf(page, CFontPage::eIDS_BOLD)->click();
    buttonOf(page, CFontPage::eIDS_STRIKEOUT)->click();
    EXPECT_TRUE(frame.applyEnabled());
    EXPECT_FALSE(ec.control->IsModified());
    ASSERT_TRUE(frame.apply());
    const FONTDESC& desc = ec.control->InternalGetFont().desc();
    EXPECT_EQ(desc.lpstrName, "Times New Roman");
    EXPECT_EQ(desc.cySize, 120000);
    EXPECT_EQ(desc.sWeight, 700);
    EXPECT_TRUE(desc.fStrikethrough);
    EXPECT_FALSE(desc.fItalic);
    EXPECT_TRUE(ec.control->IsModified());
}

TEST(StockFontPage, InvalidSizeKeepsSize)
{
    EditedControl ec;
    ASSERT_NE(ec.control, nullptr);
    CPropertyFrame frame("Font", {ec.site.dispatch()}, {CLSID_StockFontPage});
    ASSERT_TRUE(frame.createFrame(nullptr));
    auto* page = dynamic_cast<CFontPage*>(frame.page(0));
    ASSERT_NE(page, nullptr);
    page->SetDlgItemText(CFontPage::eIDS_SIZE, "big");
    ASSERT_TRUE(frame.apply());
    EXPECT_EQ(ec.control->InternalGetFont().desc().cySize, 80000);
}

TEST(StockFontPage, PointsFormatting)
{
    EXPECT_EQ(CFontPage::formatPoints(80000), "8");
    EXPECT_EQ(CFontPage::formatPoints(82500), "8.25");
    EXPECT_EQ(CFontPage::formatPoints(105000), "10.5");
}

TEST(StockFontPage, FaceListHasSubstitutedFacesFirst)
{
    registerTestClasses();
    const std::vector<std::string> faces = CFontPage::faceList();
    ASSERT_GE(faces.size(), 8u);
    EXPECT_EQ(faces[0], "MS Sans Serif");
    EXPECT_EQ(std::count(faces.begin(), faces.end(), "Arial"), 1);
}
