#include "platform/ui/runtimeclass.h"

#include "framework/dialogs/resizabledialog.h"
#include "framework/dialogs/tooltipdialog.h"
#include "framework/dialogs/tooltippage.h"

#include "tests/framework/dialogs/dialogtestsupport.h"

#include <gtest/gtest.h>

#include <cstring>
#include <memory>

namespace {

TEST(RuntimeClass, ClassesAreKnownByTheirNames)
{
    EXPECT_STREQ(RUNTIME_CLASS(CToolTipDialog)->m_lpszClassName, "CToolTipDialog");
    EXPECT_STREQ(RUNTIME_CLASS(CToolTipPage)->m_lpszClassName, "CToolTipPage");
    EXPECT_STREQ(RUNTIME_CLASS(CResizableDialog)->m_lpszClassName, "CResizableDialog");
    EXPECT_EQ(RUNTIME_CLASS(CResizableDialog)->m_pBaseClass, RUNTIME_CLASS(CToolTipDialog));
    EXPECT_EQ(RUNTIME_CLASS(CToolTipDialog)->m_pBaseClass, RUNTIME_CLASS(CObject));
    EXPECT_EQ(RUNTIME_CLASS(CObject)->m_pBaseClass, nullptr);
}

TEST(RuntimeClass, ObjectsAnswerTypeQueries)
{
    const CResizableDialog resizable(IDD_LAYOUT);
    const CToolTipDialog& asToolTipDialog = resizable;
    EXPECT_EQ(asToolTipDialog.GetRuntimeClass(), RUNTIME_CLASS(CResizableDialog));
    EXPECT_TRUE(resizable.IsKindOf(RUNTIME_CLASS(CResizableDialog)));
    EXPECT_TRUE(resizable.IsKindOf(RUNTIME_CLASS(CToolTipDialog)));
    EXPECT_TRUE(resizable.IsKindOf(RUNTIME_CLASS(CObject)));
    EXPECT_FALSE(resizable.IsKindOf(RUNTIME_CLASS(CToolTipPage)));
    EXPECT_FALSE(resizable.IsKindOf(nullptr));

    const CToolTipDialog dialog(IDD_TOOLTIPS);
    EXPECT_TRUE(dialog.IsKindOf(RUNTIME_CLASS(CToolTipDialog)));
    EXPECT_FALSE(dialog.IsKindOf(RUNTIME_CLASS(CResizableDialog)));

    const CToolTipPage page(IDD_PAGE);
    EXPECT_TRUE(page.IsKindOf(RUNTIME_CLASS(CToolTipPage)));
    EXPECT_FALSE(page.IsKindOf(RUNTIME_CLASS(CToolTipDialog)));
}

TEST(RuntimeClass, TooltipClassesCannotBeCreatedByTheirInformation)
{
    EXPECT_EQ(RUNTIME_CLASS(CToolTipDialog)->m_pfnCreateObject, nullptr);
    EXPECT_EQ(RUNTIME_CLASS(CToolTipDialog)->CreateObject(), nullptr);
    EXPECT_EQ(RUNTIME_CLASS(CToolTipPage)->CreateObject(), nullptr);
}

TEST(RuntimeClass, ResizableDialogIsCreatedWithoutTemplateAndParent)
{
    std::unique_ptr<CObject> object(RUNTIME_CLASS(CResizableDialog)->CreateObject());
    ASSERT_NE(object, nullptr);
    EXPECT_EQ(object->GetRuntimeClass(), RUNTIME_CLASS(CResizableDialog));
    auto* pDlg = dynamic_cast<CResizableDialog*>(object.get());
    ASSERT_NE(pDlg, nullptr);
    EXPECT_EQ(pDlg->templateId(), 0u);
    EXPECT_EQ(pDlg->GetSafeHwnd(), nullptr);
    EXPECT_FALSE(pDlg->isLayoutReady());
    // Template 0 names no dialog.
    EXPECT_FALSE(pDlg->Create());
}

} // namespace
