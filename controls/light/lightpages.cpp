// The templates of the light's pages.

#include "controls/frame/widgetids.h"
#include "controls/light/lightpageids.h"
#include "framework/controls/aboutproppage.h"
#include "framework/controls/pagerows.h"
#include "platform/ui/window.h"

ZOR_DIALOG_TABLE({
    zorPageTemplate(IDD_LIGHT_PPG, "General",
        {zorLabelRow(-1, "Off Color:", 10, 12, 60, 8),
            zorHostedColorRow(
                IDC_OFFCOLOR, 75, 10, 80, 14, "ShowHexValue=1\nRGBColor=0x000000FF\n"),
            zorLabelRow(-1, "Background:", 10, 32, 60, 8),
            zorHostedColorRow(
                IDC_BACKGROUND, 75, 30, 80, 14, "ShowHexValue=1\nRGBColor=0x0F000000\n"),
            zorLabelRow(-1, "On Color:", 10, 52, 60, 8),
            zorHostedColorRow(
                IDC_ONCOLOR, 75, 50, 80, 14, "ShowHexValue=1\nRGBColor=0x0000FF00\n")}),
    CZorAboutPropPage::makeTemplate(IDD_LIGHT_ABOUT, IDI_LIGHT, IDC_LIGHT_VERSION, IDC_LIGHT_LINK),
});
