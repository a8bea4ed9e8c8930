// The controls' property pages in the property frame: order, captions, the About page's
// version text and the hosted colour control of a page.

#include "tests/controls/widgetstestsupport.h"

#include "platform/ole/proppage.h"

#include <QtCore/QRegularExpression>

#include <gtest/gtest.h>

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
    EXPECT_TRUE(QRegularExpression(R"(^Version \d+\.\d\d\.\d\d\d\d\.\d+$)")
                    .match(QString::fromStdString(version))
                    .hasMatch())
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

TEST(WidgetsPages, LightPageShowsAndAppliesColoursThroughItsHostedColourControls)
{
    CHostedControl light(c_lightId, "Color=0x000000FF\nBackground=0x0F000000\n", 40, 40);
    ASSERT_TRUE(light.ok());
    CPropertyFrame frame("Light", {light.dispatch()}, light.control()->GetPropPageIDs());
    ASSERT_TRUE(frame.createFrame(nullptr));
    COlePropertyPage* general = frame.page(0);
    ASSERT_NE(general, nullptr);
    COleControlSite* off = zorSiteOf(general->GetDlgItem(3045));
    COleControlSite* background = zorSiteOf(general->GetDlgItem(3046));
    ASSERT_NE(off, nullptr);
    ASSERT_NE(background, nullptr);
    // Opening the page put the light's colours into the hosted colour controls, whole.
    const auto colourOf = [](IDispatch* hosted) {
        COleVariant value;
        EXPECT_EQ(zorGetProperty(hosted, 4, &value), S_OK);
        return value.vt == VT_UI4 ? value.ulVal : static_cast<DWORD>(value.lVal);
    };
    EXPECT_EQ(colourOf(off->dispatch()), 0x0000FFu);
    EXPECT_EQ(colourOf(background->dispatch()) >> 24, 15u) << "the system-colour reference stays";

    // A new off colour in the page reaches the light only on Apply.
    ASSERT_EQ(zorPutProperty(off->dispatch(), 4, colorArg(0x00AA00)), S_OK);
    general->SetModified(TRUE);
    EXPECT_EQ(light.getColor(1), 0x0000FFu);
    ASSERT_TRUE(frame.apply());
    EXPECT_EQ(light.getColor(1), 0x00AA00u);
    EXPECT_EQ(light.getColor(2) >> 24, 15u);
    frame.DestroyWindow();
}
