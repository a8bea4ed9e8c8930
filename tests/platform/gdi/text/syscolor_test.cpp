#include "platform/gdi/syscolor.h"
#include "tests/platform/gdi/text/textsupport.h"

#include <QtGui/QGuiApplication>
#include <QtGui/QPalette>

#include <gtest/gtest.h>

namespace {

struct ClassicCase
{
    const char* name;
    int index;
    COLORREF color;
};

// Pins the classic table for the test and follows the desktop again afterwards.
class ClassicSysColor : public ::testing::TestWithParam<ClassicCase>
{
protected:
    void SetUp() override
    {
        ensureGuiApplication();
        zorUseClassicSysColors(true);
    }
    void TearDown() override { zorUseClassicSysColors(false); }
};

TEST_P(ClassicSysColor, HasTheClassicValue)
{
    const ClassicCase& c = GetParam();
    EXPECT_EQ(GetSysColor(c.index), c.color);
    EXPECT_EQ(zorClassicSysColor(c.index), c.color);
}

INSTANTIATE_TEST_SUITE_P(Cases, ClassicSysColor,
    ::testing::Values(ClassicCase {"ScrollBar", COLOR_SCROLLBAR, RGB(212, 208, 200)},
        ClassicCase {"Desktop", COLOR_DESKTOP, RGB(58, 110, 165)},
        ClassicCase {"ActiveCaption", COLOR_ACTIVECAPTION, RGB(10, 36, 106)},
        ClassicCase {"Window", COLOR_WINDOW, RGB(255, 255, 255)},
        ClassicCase {"WindowFrame", COLOR_WINDOWFRAME, RGB(0, 0, 0)},
        ClassicCase {"WindowText", COLOR_WINDOWTEXT, RGB(0, 0, 0)},
        ClassicCase {"Highlight", COLOR_HIGHLIGHT, RGB(10, 36, 106)},
        ClassicCase {"HighlightText", COLOR_HIGHLIGHTTEXT, RGB(255, 255, 255)},
        ClassicCase {"ButtonFace", COLOR_3DFACE, RGB(212, 208, 200)},
        ClassicCase {"Shadow", COLOR_3DSHADOW, RGB(128, 128, 128)},
        ClassicCase {"GrayText", COLOR_GRAYTEXT, RGB(128, 128, 128)},
        ClassicCase {"Hilight", COLOR_3DHILIGHT, RGB(255, 255, 255)},
        ClassicCase {"DarkShadow", COLOR_3DDKSHADOW, RGB(64, 64, 64)},
        ClassicCase {"Light", COLOR_3DLIGHT, RGB(212, 208, 200)},
        ClassicCase {"InfoText", COLOR_INFOTEXT, RGB(0, 0, 0)},
        ClassicCase {"InfoBackground", COLOR_INFOBK, RGB(255, 255, 225)},
        ClassicCase {"GradientInactiveCaption", COLOR_GRADIENTINACTIVECAPTION, RGB(192, 192, 192)},
        ClassicCase {"BeyondTheTable", 29, 0}, ClassicCase {"Negative", -1, 0}),
    [](const ::testing::TestParamInfo<ClassicCase>& info) { return info.param.name; });

TEST(ClassicSysColorValue, RedIsInTheLowByte)
{
    EXPECT_EQ(zorClassicSysColor(COLOR_INFOBK), 0x00E1FFFFu);
    EXPECT_EQ(zorClassicSysColor(COLOR_BACKGROUND), 0x00A56E3Au);
}

// Sets the application palette for the test and puts the previous one back.
class PaletteSysColor : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ensureGuiApplication();
        zorUseClassicSysColors(false);
        m_previous = QGuiApplication::palette();
    }
    void TearDown() override { QGuiApplication::setPalette(m_previous); }

    QPalette m_previous;
};

TEST_F(PaletteSysColor, FollowsThePaletteAtTheNextCall)
{
    QPalette palette = QGuiApplication::palette();
    palette.setColor(QPalette::Base, QColor(1, 2, 3));
    palette.setColor(QPalette::Button, QColor(10, 20, 30));
    palette.setColor(QPalette::Text, QColor(40, 50, 60));
    QGuiApplication::setPalette(palette);
    EXPECT_EQ(GetSysColor(COLOR_WINDOW), 0x00030201u);
    EXPECT_EQ(GetSysColor(COLOR_3DFACE), RGB(10, 20, 30));
    EXPECT_EQ(GetSysColor(COLOR_WINDOWTEXT), RGB(40, 50, 60));

    palette.setColor(QPalette::Base, QColor(200, 100, 50));
    QGuiApplication::setPalette(palette);
    EXPECT_EQ(GetSysColor(COLOR_WINDOW), RGB(200, 100, 50));
}

struct RoleCase
{
    const char* name;
    int index;
    QPalette::ColorGroup group;
    QPalette::ColorRole role;
};

class PaletteRole : public PaletteSysColor, public ::testing::WithParamInterface<RoleCase>
{
};

TEST_P(PaletteRole, IndexReadsItsRole)
{
    const RoleCase& c = GetParam();
    QPalette palette = QGuiApplication::palette();
    palette.setColor(c.group, c.role, QColor(11, 22, 33));
    QGuiApplication::setPalette(palette);
    EXPECT_EQ(GetSysColor(c.index), RGB(11, 22, 33));
}

INSTANTIATE_TEST_SUITE_P(Cases, PaletteRole,
    ::testing::Values(RoleCase {"Window", COLOR_WINDOW, QPalette::Active, QPalette::Base},
        RoleCase {"ButtonFace", COLOR_3DFACE, QPalette::Active, QPalette::Button},
        RoleCase {"ButtonText", COLOR_BTNTEXT, QPalette::Active, QPalette::ButtonText},
        RoleCase {"Hilight", COLOR_3DHILIGHT, QPalette::Active, QPalette::Light},
        RoleCase {"Light", COLOR_3DLIGHT, QPalette::Active, QPalette::Midlight},
        RoleCase {"Shadow", COLOR_3DSHADOW, QPalette::Active, QPalette::Dark},
        RoleCase {"DarkShadow", COLOR_3DDKSHADOW, QPalette::Active, QPalette::Shadow},
        RoleCase {"Highlight", COLOR_HIGHLIGHT, QPalette::Active, QPalette::Highlight},
        RoleCase {
            "HighlightText", COLOR_HIGHLIGHTTEXT, QPalette::Active, QPalette::HighlightedText},
        RoleCase {"InfoBackground", COLOR_INFOBK, QPalette::Active, QPalette::ToolTipBase},
        RoleCase {"InfoText", COLOR_INFOTEXT, QPalette::Active, QPalette::ToolTipText},
        RoleCase {"GrayText", COLOR_GRAYTEXT, QPalette::Disabled, QPalette::Text},
        RoleCase {"Menu", COLOR_MENU, QPalette::Active, QPalette::Window}),
    [](const ::testing::TestParamInfo<RoleCase>& info) { return info.param.name; });

TEST_F(PaletteSysColor, IndexWithoutRoleKeepsTheClassicValue)
{
    QPalette palette = QGuiApplication::palette();
    for (int role = 0; role < QPalette::NColorRoles; ++role)
        palette.setColor(static_cast<QPalette::ColorRole>(role), QColor(1, 1, 1));
    QGuiApplication::setPalette(palette);
    EXPECT_EQ(GetSysColor(COLOR_DESKTOP), RGB(58, 110, 165));
    EXPECT_EQ(GetSysColor(COLOR_WINDOWFRAME), RGB(0, 0, 0));
    EXPECT_EQ(GetSysColor(COLOR_GRADIENTACTIVECAPTION), RGB(166, 202, 240));
    EXPECT_EQ(GetSysColor(COLOR_3DFACE), RGB(1, 1, 1));
}

TEST_F(PaletteSysColor, ClassicSwitchOverridesThePalette)
{
    QPalette palette = QGuiApplication::palette();
    palette.setColor(QPalette::Base, QColor(1, 2, 3));
    QGuiApplication::setPalette(palette);
    zorUseClassicSysColors(true);
    EXPECT_EQ(GetSysColor(COLOR_WINDOW), RGB(255, 255, 255));
    zorUseClassicSysColors(false);
    EXPECT_EQ(GetSysColor(COLOR_WINDOW), RGB(1, 2, 3));
}

} // namespace
