// Persistence of the three controls: stream and bag round trips, defaults from an empty bag,
// a corrupt stream.

#include "tests/controls/widgetstestsupport.h"

#include <gtest/gtest.h>

TEST(WidgetsPersistence, LightStreamRoundTrip)
{
    std::string bytes;
    {
        CHostedControl light(c_lightId, "", 40, 40);
        ASSERT_TRUE(light.ok());
        ASSERT_EQ(light.put(3, COleVariant(7L)), S_OK);
        ASSERT_EQ(light.putColor(1, 0x00112233), S_OK);
        ASSERT_EQ(light.putColor(2, 0x08000000), S_OK);
        ASSERT_EQ(light.call(4, {COleVariant(1L), colorArg(0x00445566)}), S_OK);
        ASSERT_EQ(light.control()->saveToStream(&bytes), S_OK);
    }
    CHostedControl other(c_lightId, "", 40, 40);
    ASSERT_TRUE(other.ok());
    ASSERT_EQ(other.control()->loadFromStream(bytes), S_OK);
    EXPECT_EQ(other.getLong(3), 7);
    EXPECT_EQ(other.getColor(1), 0x00112233u);
    EXPECT_EQ(other.getColor(2), 0x08000000u);
    // The on colour came back too: it is what the lamp shows while on.
    EXPECT_EQ(pixel(other.grab(), 20, 20), 0x445566u);
}

TEST(WidgetsPersistence, ColorBagRoundTripKeepsTheSystemReference)
{
    std::string text;
    {
        CHostedControl color(c_colorId, "", 150, 24);
        ASSERT_TRUE(color.ok());
        ASSERT_EQ(color.put(1, COleVariant(0L)), S_OK);
        ASSERT_EQ(color.putColor(4, 0x08000000), S_OK);
        ASSERT_EQ(color.control()->saveToBag(&text), S_OK);
    }
    EXPECT_NE(text.find("RGBColor="), std::string::npos);
    EXPECT_NE(text.find("ShowHexValue="), std::string::npos);
    CHostedControl other(c_colorId, "", 150, 24);
    ASSERT_TRUE(other.ok());
    ASSERT_EQ(other.control()->loadFromBag(text), S_OK);
    EXPECT_EQ(other.getLong(1), 0);
    EXPECT_EQ(other.getLong(2), 1);
    EXPECT_EQ(other.getLong(3), 24);
    EXPECT_EQ(other.getColor(4) >> 24, 8u);
}

TEST(WidgetsPersistence, UrlStreamRoundTrip)
{
    std::string bytes;
    {
        CHostedControl url(c_urlId, "", 200, 20);
        ASSERT_TRUE(url.ok());
        ASSERT_EQ(url.put(1, COleVariant("http://127.0.0.1/page")), S_OK);
        ASSERT_EQ(url.put(2, COleVariant(1L)), S_OK);
        ASSERT_EQ(url.putColor(3, 0x00010203), S_OK);
        ASSERT_EQ(url.putColor(4, 0x00040506), S_OK);
        ASSERT_EQ(url.putColor(5, 0x05000000), S_OK);
        ASSERT_EQ(url.put(6, COleVariant(2L)), S_OK);
        ASSERT_EQ(url.control()->saveToStream(&bytes), S_OK);
    }
    CHostedControl other(c_urlId, "", 200, 20);
    ASSERT_TRUE(other.ok());
    ASSERT_EQ(other.control()->loadFromStream(bytes), S_OK);
    EXPECT_EQ(other.getText(1), "http://127.0.0.1/page");
    EXPECT_EQ(other.getLong(2), 1);
    EXPECT_EQ(other.getColor(3), 0x00010203u);
    EXPECT_EQ(other.getColor(4), 0x00040506u);
    EXPECT_EQ(other.getColor(5), 0x05000000u);
    EXPECT_EQ(other.getLong(6), 2);
}

TEST(WidgetsPersistence, EmptyBagGivesAllDefaults)
{
    CHostedControl light(c_lightId, "", 40, 40);
    ASSERT_TRUE(light.ok());
    ASSERT_EQ(light.put(3, COleVariant(1L)), S_OK);
    ASSERT_EQ(light.control()->loadFromBag(""), S_OK);
    EXPECT_EQ(light.getLong(3), 0);
    EXPECT_EQ(light.getColor(1), 0x0000FFu);
    EXPECT_EQ(light.getColor(2), 0x0F0000FFu);

    CHostedControl color(c_colorId, "", 150, 24);
    ASSERT_TRUE(color.ok());
    ASSERT_EQ(color.putColor(4, 0x0F000000), S_OK);
    ASSERT_EQ(color.control()->loadFromBag(""), S_OK);
    EXPECT_EQ(color.getLong(1), 1);
    EXPECT_EQ(color.getLong(2), 0);
    EXPECT_EQ(color.getLong(3), 0);
    EXPECT_EQ(color.getColor(4), 0xFFFFFFu);

    CHostedControl url(c_urlId, "", 200, 20);
    ASSERT_TRUE(url.ok());
    ASSERT_EQ(url.put(6, COleVariant(0L)), S_OK);
    ASSERT_EQ(url.control()->loadFromBag(""), S_OK);
    EXPECT_EQ(url.getText(1), "https://www.zorvex.example/");
    EXPECT_EQ(url.getLong(6), 1);
    EXPECT_EQ(url.getColor(5), 0x0F000000u);
}

TEST(WidgetsPersistence, CorruptStreamFailsAndKeepsDefaults)
{
    CHostedControl light(c_lightId, "", 40, 40);
    ASSERT_TRUE(light.ok());
    std::string bytes;
    ASSERT_EQ(light.put(3, COleVariant(3L)), S_OK);
    ASSERT_EQ(light.control()->saveToStream(&bytes), S_OK);
    ASSERT_GT(bytes.size(), 12u);

    CHostedControl other(c_lightId, "", 40, 40);
    ASSERT_TRUE(other.ok());
    EXPECT_TRUE(FAILED(other.control()->loadFromStream("\x13\x01garbage")));
    EXPECT_EQ(other.getColor(1), 0x0000FFu);
    // Cut short: what was read stays, the rest takes the defaults.
    EXPECT_TRUE(FAILED(other.control()->loadFromStream(bytes.substr(0, 12))));
    EXPECT_EQ(other.getColor(2), 0x0F0000FFu);
}
