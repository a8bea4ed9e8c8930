// The light: geometry, drawing, State and setStateColor.

#include "tests/controls/widgetstestsupport.h"

#include "controls/light/lightgeometry.h"
#include "platform/gdi/syscolor.h"

#include <gtest/gtest.h>

namespace {
constexpr DWORD c_background = 0x00336699;
} // namespace

TEST(LightGeometry, SquareIsCentredOnTheLongerSide)
{
    EXPECT_EQ(zorLightSquare(CRect(0, 0, 160, 80)), CRect(40, 0, 120, 80));
    EXPECT_EQ(zorLightSquare(CRect(0, 0, 30, 91)), CRect(0, 30, 30, 61));
    // Odd differences shrink by the truncated half.
    EXPECT_EQ(zorLightSquare(CRect(0, 0, 45, 40)), CRect(2, 0, 43, 40));
    EXPECT_EQ(zorLightLamp(CRect(40, 0, 120, 80)), CRect(44, 4, 116, 76));
    EXPECT_EQ(zorLightLamp(CRect(0, 0, 19, 19)), CRect(0, 0, 19, 19));
}

TEST(LightDrawing, TwiceAsWideDrawsAFullHeightDiscCentred)
{
    CHostedControl light(c_lightId, "", 160, 80);
    ASSERT_TRUE(light.ok());
    ASSERT_EQ(light.putColor(2, c_background), S_OK);
    const QImage image = light.grab();
    ASSERT_EQ(image.width(), 160);
    ASSERT_EQ(image.height(), 80);
    // Background left and right of the disc.
    EXPECT_EQ(pixel(image, 5, 40), c_background);
    EXPECT_EQ(pixel(image, 37, 40), c_background);
    EXPECT_EQ(pixel(image, 155, 40), c_background);
    EXPECT_EQ(pixel(image, 122, 40), c_background);
    // The lamp in the off colour (red) in the middle.
    EXPECT_EQ(pixel(image, 80, 40), 0x0000FFu);
    // The bezel: highlight above the rising diagonal, shadow below it.
    EXPECT_EQ(pixel(image, 42, 40), GetSysColor(COLOR_BTNHIGHLIGHT));
    EXPECT_EQ(pixel(image, 118, 40), GetSysColor(COLOR_BTNSHADOW));
    EXPECT_EQ(pixel(image, 80, 2), GetSysColor(COLOR_BTNHIGHLIGHT));
    EXPECT_EQ(pixel(image, 80, 77), GetSysColor(COLOR_BTNSHADOW));
}

TEST(LightState, SettingTheSameStateNeitherRepaintsNorModifies)
{
    CHostedControl light(c_lightId, "", 60, 60);
    ASSERT_TRUE(light.ok());
    light.grab();
    light.control()->SetModifiedFlag(FALSE);
    const int paints = light.control()->paintCount();
    ASSERT_EQ(light.put(3, COleVariant(0L)), S_OK);
    pumpEvents();
    EXPECT_FALSE(light.control()->IsModified());
    EXPECT_EQ(light.control()->paintCount(), paints);

    ASSERT_EQ(light.put(3, COleVariant(1L)), S_OK);
    pumpEvents();
    EXPECT_TRUE(light.control()->IsModified());
    EXPECT_GT(light.control()->paintCount(), paints);
    EXPECT_EQ(light.getLong(3), 1);
}

TEST(LightState, AnyNonZeroStateIsOn)
{
    CHostedControl light(c_lightId, "", 60, 60);
    ASSERT_TRUE(light.ok());
    ASSERT_EQ(light.put(3, COleVariant(1L)), S_OK);
    const QImage one = light.grab();
    ASSERT_EQ(light.put(3, COleVariant(5L)), S_OK);
    const QImage five = light.grab();
    EXPECT_EQ(one, five);
    EXPECT_EQ(pixel(five, 30, 30), 0x00FF00u);
    EXPECT_EQ(light.getLong(3), 5);
}

TEST(LightState, SetStateColorChangesTheOnColourOnlyWhenOn)
{
    CHostedControl light(c_lightId, "", 60, 60);
    ASSERT_TRUE(light.ok());
    const QImage before = light.grab();
    light.control()->SetModifiedFlag(FALSE);
    ASSERT_EQ(light.call(4, {COleVariant(1L), colorArg(0x00FFFF)}), S_OK);
    EXPECT_TRUE(light.control()->IsModified());
    EXPECT_EQ(light.grab(), before);
    EXPECT_EQ(light.getColor(1), 0x0000FFu);
    EXPECT_EQ(light.getLong(3), 0);

    ASSERT_EQ(light.put(3, COleVariant(1L)), S_OK);
    EXPECT_EQ(pixel(light.grab(), 30, 30), 0x00FFFFu);

    // With a_bState 0 the off colour changes.
    ASSERT_EQ(light.call(4, {COleVariant(0L), colorArg(0x123456)}), S_OK);
    EXPECT_EQ(light.getColor(1), 0x123456u);
    EXPECT_EQ(light.getColor(DISPID_VALUE), 0x123456u);
}

TEST(LightState, SystemColourReferencesAreResolved)
{
    CHostedControl light(c_lightId, "", 60, 60);
    ASSERT_TRUE(light.ok());
    // The default background is button face.
    EXPECT_EQ(light.getColor(2), 0x0F0000FFu);
    EXPECT_EQ(pixel(light.grab(), 1, 1), GetSysColor(COLOR_BTNFACE));
    ASSERT_EQ(light.putColor(DISPID_VALUE, 0x08000000), S_OK);
    EXPECT_EQ(light.getColor(1), 0x08000000u);
    EXPECT_EQ(pixel(light.grab(), 30, 30), GetSysColor(COLOR_WINDOWTEXT));
}

TEST(LightEvents, ClickReachesTheSink)
{
    CHostedControl light(c_lightId, "", 60, 60);
    ASSERT_TRUE(light.ok());
    light.grab();
    light.click(30, 30);
    ASSERT_EQ(light.events.size(), 1u);
    EXPECT_EQ(light.events[0], DISPID_CLICK);
}
