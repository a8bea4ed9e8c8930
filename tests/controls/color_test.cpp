// The colour control: RGBColor and the system colour table, drawing, the click on the swatch
// and the two dialogs (answered without being shown).

#include "tests/controls/widgetstestsupport.h"

#include "framework/drawing/syscolor.h"
#include "platform/gdi/syscolor.h"
#include "platform/module/module.h"
#include "platform/ui/controls.h"
#include "platform/ui/messagebox.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using Answerer = int (*)(CDialog*);
using SetAnswerer = Answerer (*)(Answerer);

// What the dialogs were asked, and how to answer them.
struct DialogScript
{
    std::vector<UINT> templates;
    std::vector<int> buttons;
    int systemSelection {-1};
    std::string red;
    std::string green;
    std::string blue;
};
DialogScript s_script;

int answer(CDialog* dialog)
{
    s_script.templates.push_back(dialog->templateId());
    if (dialog->templateId() == 425 && s_script.systemSelection >= 0) {
        if (auto* list = dynamic_cast<CComboBox*>(dialog->GetDlgItem(3038)))
            list->SetCurSel(s_script.systemSelection);
    }
    if (dialog->templateId() == 409 && !s_script.red.empty()) {
        dialog->SetDlgItemText(706, s_script.red.c_str());
        dialog->SetDlgItemText(707, s_script.green.c_str());
        dialog->SetDlgItemText(708, s_script.blue.c_str());
    }
    const std::size_t index = s_script.templates.size() - 1;
    return index < s_script.buttons.size() ? s_script.buttons[index] : IDCANCEL;
}

class ColorControl : public testing::Test
{
protected:
    void SetUp() override
    {
        registerWidgets();
        m_set = reinterpret_cast<SetAnswerer>(
            GetProcAddress(widgetsModule(), "zorWidgetsSetDialogAnswerer"));
        ASSERT_NE(m_set, nullptr);
        m_set(answer);
        s_script = DialogScript();
    }
    void TearDown() override
    {
        if (m_set)
            m_set(nullptr);
    }
    SetAnswerer m_set {nullptr};
};

constexpr int c_width = 150;
constexpr int c_height = 24;
// The swatch of a 150 x 24 control with the value shown: (4, 4) to a third of 146, less 3.
constexpr int c_swatchX = 26;
constexpr int c_swatchY = 12;

int clicks(const CHostedControl& control)
{
    int n = 0;
    for (DISPID dispid : control.events)
        n += dispid == DISPID_CLICK ? 1 : 0;
    return n;
}

} // namespace

TEST_F(ColorControl, DefaultsAreWhiteShownAsHex)
{
    CHostedControl color(c_colorId, "", c_width, c_height);
    ASSERT_TRUE(color.ok());
    EXPECT_EQ(color.getLong(1), 1);
    EXPECT_EQ(color.getLong(2), 0);
    EXPECT_EQ(color.getLong(3), 0);
    EXPECT_EQ(color.getColor(4), 0xFFFFFFu);
    EXPECT_EQ(color.getColor(DISPID_VALUE), 0xFFFFFFu);
    EXPECT_EQ(pixel(color.grab(), c_swatchX, c_swatchY), 0xFFFFFFu);
}

TEST_F(ColorControl, ButtonFaceReferenceSelectsThe3dFaceRow)
{
    CHostedControl color(c_colorId, "", c_width, c_height);
    ASSERT_TRUE(color.ok());
    ASSERT_EQ(color.putColor(4, 0x0F000000), S_OK);
    EXPECT_EQ(color.getLong(2), 1);
    EXPECT_EQ(color.getLong(3), 1);
    EXPECT_EQ(CSysColor::getShortName(1), "3DFACE");
    EXPECT_EQ(color.getColor(4), 0x0F000000u | (GetSysColor(COLOR_BTNFACE) & 0xFFFFFF));
    const QImage image = color.grab();
    EXPECT_EQ(pixel(image, c_swatchX, c_swatchY), GetSysColor(COLOR_BTNFACE));
    // The name is drawn beside the swatch, left-aligned: text pixels start near the swatch.
    const COLORREF text = GetSysColor(COLOR_BTNTEXT);
    const QImage right = image.copy(52, 0, c_width - 52, c_height);
    EXPECT_GE(columnsOf(right, text).first, 0);
    EXPECT_LT(columnsOf(right, text).first, 15);
}

TEST_F(ColorControl, UnknownSystemColourShowsSystemColourZero)
{
    CHostedControl color(c_colorId, "", c_width, c_height);
    ASSERT_TRUE(color.ok());
    ASSERT_EQ(color.putColor(4, 0x30000000), S_OK);
    EXPECT_EQ(color.getLong(2), 1);
    EXPECT_EQ(color.getLong(3), -1);
    EXPECT_EQ(color.getColor(4), GetSysColor(0) & 0xFFFFFF);
    const QImage image = color.grab();
    EXPECT_EQ(pixel(image, c_swatchX, c_swatchY), GetSysColor(0));
    // No name: nothing in the text colour beside the swatch.
    const QImage right = image.copy(52, 3, c_width - 56, c_height - 6);
    EXPECT_EQ(columnsOf(right, GetSysColor(COLOR_BTNTEXT)).first, -1);
}

TEST_F(ColorControl, PlainRgbClearsTheSystemReference)
{
    CHostedControl color(c_colorId, "", c_width, c_height);
    ASSERT_TRUE(color.ok());
    ASSERT_EQ(color.putColor(4, 0x0F000000), S_OK);
    color.control()->SetModifiedFlag(FALSE);
    ASSERT_EQ(color.putColor(4, 0x00123456), S_OK);
    EXPECT_TRUE(color.control()->IsModified());
    EXPECT_EQ(color.getLong(2), 0);
    EXPECT_EQ(color.getLong(3), -1);
    EXPECT_EQ(color.getColor(4), 0x123456u);
}

TEST_F(ColorControl, WithoutHexValueTheWholeControlIsTheSwatch)
{
    CHostedControl color(c_colorId, "", c_width, c_height);
    ASSERT_TRUE(color.ok());
    ASSERT_EQ(color.putColor(4, 0x00123456), S_OK);
    ASSERT_EQ(color.put(1, COleVariant(0L)), S_OK);
    const QImage image = color.grab();
    EXPECT_EQ(pixel(image, c_width - 10, c_height / 2), 0x123456u);
    EXPECT_EQ(pixel(image, c_width / 2, c_height / 2), 0x123456u);
}

TEST_F(ColorControl, ClickOutsideTheSwatchOpensAndPostsNothing)
{
    CHostedControl color(c_colorId, "", c_width, c_height);
    ASSERT_TRUE(color.ok());
    color.grab();
    color.click(110, 12);
    EXPECT_TRUE(s_script.templates.empty());
    EXPECT_EQ(clicks(color), 0);
    EXPECT_EQ(color.getColor(4), 0xFFFFFFu);
}

// The swatch comes from the control's geometry, not from its last paint: a click straight after
// creation, or after ShowHexValue changed and before the repaint, hits the swatch it shows.
TEST_F(ColorControl, ClickBeforeAnyPaintFindsTheSwatch)
{
    struct Row
    {
        const char* name;
        LONG showHexValue;
        int x;
        bool opens;
    };
    const Row rows[] = {
        {"value shown, on the swatch", 1, c_swatchX, true},
        {"value shown, on the text", 1, 110, false},
        {"value hidden, where the text was", 0, 110, true},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        s_script = DialogScript();
        s_script.buttons = {IDCANCEL};
        CHostedControl color(c_colorId, "", c_width, c_height);
        ASSERT_TRUE(color.ok());
        if (row.showHexValue != 1) {
            ASSERT_EQ(color.put(1, COleVariant(row.showHexValue)), S_OK);
        }
        color.click(row.x, c_swatchY);
        EXPECT_EQ(s_script.templates.size(), row.opens ? 1u : 0u);
    }
}

TEST_F(ColorControl, SpaceOnTheFocusedControlFiresClickWithoutADialog)
{
    CHostedControl color(c_colorId, "", c_width, c_height);
    ASSERT_TRUE(color.ok());
    color.control()->SendMessage(WM_KEYDOWN, 0x20, 0);
    EXPECT_EQ(clicks(color), 0) << "the button clicks when the key is released";
    color.control()->SendMessage(WM_KEYUP, 0x20, 0);
    EXPECT_EQ(clicks(color), 1);
    EXPECT_TRUE(s_script.templates.empty());
    // A release without its press (the key went down elsewhere) is not a click.
    color.control()->SendMessage(WM_KEYUP, 0x20, 0);
    EXPECT_EQ(clicks(color), 1);
}

TEST_F(ColorControl, CustomDialogChoiceIsStoredAndFiresClick)
{
    CHostedControl color(c_colorId, "", c_width, c_height);
    ASSERT_TRUE(color.ok());
    color.grab();
    s_script.buttons = {IDOK};
    s_script.red = "18";
    s_script.green = "52";
    s_script.blue = "86";
    color.click(c_swatchX, c_swatchY);
    ASSERT_EQ(s_script.templates, std::vector<UINT>({409}));
    EXPECT_EQ(color.getColor(4), RGB(18, 52, 86));
    EXPECT_EQ(clicks(color), 1);
    EXPECT_EQ(pixel(color.grab(), c_swatchX, c_swatchY), RGB(18, 52, 86));
}

TEST_F(ColorControl, CancelChangesNothingButStillNotifies)
{
    CHostedControl color(c_colorId, "", c_width, c_height);
    ASSERT_TRUE(color.ok());
    color.grab();
    s_script.buttons = {IDCANCEL};
    s_script.red = "1";
    s_script.green = "2";
    s_script.blue = "3";
    color.click(c_swatchX, c_swatchY);
    EXPECT_EQ(s_script.templates.size(), 1u);
    EXPECT_EQ(color.getColor(4), 0xFFFFFFu);
    EXPECT_EQ(clicks(color), 1);
}

TEST_F(ColorControl, ScrollBarChoiceStoresPlainBlack)
{
    CHostedControl color(c_colorId, "", c_width, c_height);
    ASSERT_TRUE(color.ok());
    ASSERT_EQ(color.putColor(4, 0x0F000000), S_OK);
    color.grab();
    s_script.buttons = {IDOK};
    s_script.systemSelection = 21;
    EXPECT_EQ(CSysColor::getShortName(21), "SCROLLBAR");
    color.click(c_swatchX, c_swatchY);
    ASSERT_EQ(s_script.templates, std::vector<UINT>({425}));
    EXPECT_EQ(color.getColor(4), 0u);
    EXPECT_EQ(color.getLong(2), 0);
}

TEST_F(ColorControl, SystemDialogChoiceStoresTheReference)
{
    CHostedControl color(c_colorId, "", c_width, c_height);
    ASSERT_TRUE(color.ok());
    ASSERT_EQ(color.putColor(4, 0x0F000000), S_OK);
    color.grab();
    s_script.buttons = {IDOK};
    s_script.systemSelection = 24; // WINDOWTEXT, system colour 8
    color.click(c_swatchX, c_swatchY);
    EXPECT_EQ(color.getLong(2), 1);
    EXPECT_EQ(color.getLong(3), 24);
    EXPECT_EQ(color.getColor(4) >> 24, 8u);
    EXPECT_EQ(clicks(color), 1);
}

TEST_F(ColorControl, SwitchFromSystemToCustomReopensWithoutNotifyingFirst)
{
    CHostedControl color(c_colorId, "", c_width, c_height);
    ASSERT_TRUE(color.ok());
    ASSERT_EQ(color.putColor(4, 0x0F000000), S_OK);
    color.grab();
    // "&Use Custom Colors", then the custom dialog cancelled.
    s_script.buttons = {3039, IDCANCEL};
    color.click(c_swatchX, c_swatchY);
    pumpEvents();
    ASSERT_EQ(s_script.templates, std::vector<UINT>({425, 409}));
    EXPECT_EQ(color.getLong(2), 0);
    // Only the custom dialog's end notifies.
    EXPECT_EQ(clicks(color), 1);
}

TEST_F(ColorControl, SwitchFromCustomToSystemReopens)
{
    CHostedControl color(c_colorId, "", c_width, c_height);
    ASSERT_TRUE(color.ok());
    color.grab();
    s_script.buttons = {3036, IDCANCEL};
    color.click(c_swatchX, c_swatchY);
    pumpEvents();
    ASSERT_EQ(s_script.templates, std::vector<UINT>({409, 425}));
    EXPECT_EQ(color.getLong(2), 1);
    EXPECT_EQ(clicks(color), 2);
}
