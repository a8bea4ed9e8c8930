// The controls' property pages in the property frame: order, captions, the About page's
// version text and the hosted colour control of a page.

#include "tests/controls/widgetstestsupport.h"

#include "platform/ole/proppage.h"

#include <gtest/gtest.h>

#include <regex>

TEST(WidgetsPages, LightPagesAreGeneralThenAbout)
{
    CHostedControl light(c_lightId, "", 40, 40);
    ASSERT_TRUE(light.ok());
    const std::vector<CLSID> pages = light.control()->GetPropPageIDs();
    ASSERT_EQ(pages.size(), 2u);
    CPropertyFrame frame("Light", {light.dispatch()}, pages);
    ASSERT_TRUE(frame.createFrame(nullptr));
    ASSERT_EQ(frame.pageCount(), 2);
    EXPECT_EQ(frame.pageCaption(0), "General");
    EXPECT_EQ(frame.pageCaption(1), "About");
    frame.setActivePage(1);
    COlePropertyPage* about = frame.page(1);
    ASSERT_NE(about, nullptr);
    const std::string version = about->GetDlgItemText(3047);
    EXPECT_TRUE(std::regex_match(version, std::regex(R"(Version \d+\.\d\d\.\d\d\d\d\.\d+)")))
        << version;
    // The link is a hosted URL control showing the maker's address.
    EXPECT_NE(zorSiteOf(about->GetDlgItem(3048)), nullptr);
    frame.DestroyWindow();
}

TEST(WidgetsPages, ColorPagesIncludeTheStockFontPage)
{
    CHostedControl color(c_colorId, "", 150, 24);
    ASSERT_TRUE(color.ok());
    const std::vector<CLSID> pages = color.control()->GetPropPageIDs();
    ASSERT_EQ(pages.size(), 3u);
    EXPECT_EQ(pages[1], CLSID_StockFontPage);
    CPropertyFrame frame("Color", {color.dispatch()}, pages);
    ASSERT_TRUE(frame.createFrame(nullptr));
    ASSERT_EQ(frame.pageCount(), 3);
    EXPECT_EQ(frame.pageCaption(0), "Colors");
    EXPECT_EQ(frame.pageCaption(2), "About");
    frame.DestroyWindow();
}

TEST(WidgetsPages, UrlPagesInOrder)
{
    CHostedControl url(c_urlId, "", 200, 20);
    ASSERT_TRUE(url.ok());
    CPropertyFrame frame("URL", {url.dispatch()}, url.control()->GetPropPageIDs());
    ASSERT_TRUE(frame.createFrame(nullptr));
    ASSERT_EQ(frame.pageCount(), 4);
    EXPECT_EQ(frame.pageCaption(0), "General");
    EXPECT_EQ(frame.pageCaption(1), "Colors");
    EXPECT_EQ(frame.pageCaption(3), "About");
    // The General page shows the address from the control.
    EXPECT_EQ(frame.page(0)->GetDlgItemText(3049), "https://www.zorvex.example/");
    frame.DestroyWindow();
}
