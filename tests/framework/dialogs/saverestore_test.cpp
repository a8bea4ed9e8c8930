#include "framework/dialogs/resizabledialog.h"

#include "tests/framework/dialogs/dialogtestsupport.h"

#include "framework/settings/profile.h"
#include "platform/registry/registry.h"

#include <gtest/gtest.h>

#include <memory>
#include <optional>

namespace {

constexpr const char* kSection = "Placement";
constexpr const char* kEntry = "Main";

// The stored value as text, read past the settings store; nothing when there is no value.
std::optional<std::string> storedText(const CProfile& store)
{
    const std::string path = store.setupKey(eKEY_CURRENT_USER, kSection);
    HKEY key = nullptr;
    if (RegOpenKeyExA(reinterpret_cast<HKEY>(static_cast<std::uintptr_t>(eKEY_CURRENT_USER)),
            path.c_str(), 0, KEY_READ, &key)
        != ERROR_SUCCESS)
        return std::nullopt;
    DWORD type = 0;
    DWORD size = 0;
    std::optional<std::string> text;
    if (RegQueryValueExA(key, kEntry, nullptr, &type, nullptr, &size) == ERROR_SUCCESS
        && type == REG_SZ) {
        std::string data(size, '\0');
        if (RegQueryValueExA(
                key, kEntry, nullptr, &type, reinterpret_cast<BYTE*>(data.data()), &size)
            == ERROR_SUCCESS)
            text = data.substr(0, size);
    }
    RegCloseKey(key);
    return text;
}

// A dialog that keeps its rectangle in the store, and notes where it was before restoring.
class CPlacedDialog : public CTestResizableDialog
{
public:
    CPlacedDialog()
    {
        m_onInit = [this](CTestResizableDialog& dlg) {
            m_rcDesigned = windowRect(&dlg);
            dlg.enableSaveRestore(kSection, kEntry);
        };
    }
    CRect m_rcDesigned;
};

class SaveRestore : public testing::Test
{
protected:
    CTestApp m_app;
};

TEST_F(SaveRestore, ClosingStoresTheNormalRectangle)
{
    CPlacedDialog dlg;
    ASSERT_TRUE(dlg.Create(IDD_LAYOUT));
    dlg.ShowWindow(SW_SHOW);
    dlg.MoveWindow(100, 80, 640, 480);
    settle();
    ASSERT_EQ(windowRect(&dlg), CRect(100, 80, 740, 560));
    dlg.DestroyWindow();

    EXPECT_EQ(storedText(m_app), "100,80,740,560,1,0");
    EXPECT_EQ(m_app.getString(eKEY_CURRENT_USER, kSection, kEntry, ""), "100,80,740,560,1,0");
}

TEST_F(SaveRestore, DeletingAnOpenDialogStoresItsRectangleToo)
{
    {
        CPlacedDialog dlg;
        ASSERT_TRUE(dlg.Create(IDD_LAYOUT));
        dlg.MoveWindow(100, 80, 640, 480);
        settle();
    }
    EXPECT_EQ(storedText(m_app), "100,80,740,560,1,0");
}

TEST_F(SaveRestore, MaximisedWhenClosedIsStoredAsNormal)
{
    {
        CPlacedDialog dlg;
        ASSERT_TRUE(dlg.Create(IDD_LAYOUT));
        dlg.ShowWindow(SW_SHOW);
        dlg.MoveWindow(100, 80, 640, 480);
        settle();
        dlg.ShowWindow(SW_SHOWMAXIMIZED);
        settle();
        ASSERT_TRUE(dlg.IsZoomed());
        dlg.DestroyWindow();
    }
    EXPECT_EQ(storedText(m_app), "100,80,740,560,1,0");

    CPlacedDialog dlg;
    ASSERT_TRUE(dlg.Create(IDD_LAYOUT));
    dlg.ShowWindow(SW_SHOW);
    settle();
    EXPECT_FALSE(dlg.IsZoomed());
    EXPECT_EQ(windowRect(&dlg), CRect(100, 80, 740, 560));
}

TEST_F(SaveRestore, OpeningRestoresTheStoredRectangle)
{
    m_app.putChars(eKEY_CURRENT_USER, kSection, kEntry, "120,90,620,490,1,0");
    CPlacedDialog dlg;
    ASSERT_TRUE(dlg.Create(IDD_LAYOUT));
    EXPECT_NE(dlg.m_rcDesigned, CRect(120, 90, 620, 490));
    EXPECT_EQ(windowRect(&dlg), CRect(120, 90, 620, 490));
    dlg.ShowWindow(SW_SHOW);
    settle();
    EXPECT_EQ(windowRect(&dlg), CRect(120, 90, 620, 490));
}

TEST_F(SaveRestore, RestoringArrangesTheAnchoredControls)
{
    m_app.putChars(eKEY_CURRENT_USER, kSection, kEntry, "120,90,620,490,1,0");
    CTestResizableDialog dlg;
    CRect rcDesigned;
    CSize designedClient;
    dlg.m_onInit = [&](CTestResizableDialog& d) {
        rcDesigned = childRect(&d, IDOK);
        designedClient = clientRect(&d).Size();
        d.addAnchor(IDOK, anchorBottomRight);
        d.enableSaveRestore(kSection, kEntry);
    };
    ASSERT_TRUE(dlg.Create(IDD_LAYOUT));
    dlg.ShowWindow(SW_SHOW);
    settle();
    const CRect rcOk = childRect(&dlg, IDOK);
    const CRect rcClient = clientRect(&dlg);
    ASSERT_EQ(rcClient.Size(), CSize(500, 400));
    // The button keeps its size and its distance to the lower right corner.
    EXPECT_EQ(rcOk.Size(), rcDesigned.Size());
    EXPECT_EQ(rcClient.right - rcOk.right, designedClient.cx - rcDesigned.right);
    EXPECT_EQ(rcClient.bottom - rcOk.bottom, designedClient.cy - rcDesigned.bottom);
}

TEST_F(SaveRestore, FiveNumbersLeaveThePlacementUnchanged)
{
    m_app.putChars(eKEY_CURRENT_USER, kSection, kEntry, "120,90,620,490,1");
    CPlacedDialog dlg;
    ASSERT_TRUE(dlg.Create(IDD_LAYOUT));
    EXPECT_EQ(windowRect(&dlg), dlg.m_rcDesigned);
}

TEST_F(SaveRestore, UnreadableTextLeavesThePlacementUnchanged)
{
    m_app.putChars(eKEY_CURRENT_USER, kSection, kEntry, "left,top,right,bottom,1,0");
    CPlacedDialog dlg;
    ASSERT_TRUE(dlg.Create(IDD_LAYOUT));
    EXPECT_EQ(windowRect(&dlg), dlg.m_rcDesigned);
}

TEST_F(SaveRestore, NothingIsStoredWithoutSaveRestore)
{
    CTestResizableDialog dlg;
    ASSERT_TRUE(dlg.Create(IDD_LAYOUT));
    dlg.MoveWindow(100, 80, 640, 480);
    settle();
    dlg.DestroyWindow();
    EXPECT_EQ(storedText(m_app), std::nullopt);
}

TEST(SaveRestoreWithoutApplication, NothingIsStoredOrRestored)
{
    ScopedRegistry registry;
    CProfile store;
    store.initProfile("Zorvex", "DialogTests", "V1.00");
    store.putChars(eKEY_CURRENT_USER, kSection, kEntry, "120,90,620,490,1,0");
    ASSERT_EQ(AfxGetApp(), nullptr);

    {
        CPlacedDialog dlg;
        ASSERT_TRUE(dlg.Create(IDD_LAYOUT));
        EXPECT_EQ(windowRect(&dlg), dlg.m_rcDesigned);
        dlg.MoveWindow(100, 80, 640, 480);
        settle();
        dlg.DestroyWindow();
    }
    EXPECT_EQ(storedText(store), "120,90,620,490,1,0");
}

} // namespace
