// The templates of the link's pages.

#include "controls/frame/widgetids.h"
#include "controls/url/urlpageids.h"
#include "framework/controls/aboutproppage.h"
#include "framework/controls/pagerows.h"
#include "platform/ui/window.h"

ZOR_DIALOG_TABLE({
    zorPageTemplate(IDD_URL_PPG, "General",
        {zorLabelRow(-1, "URL:", 10, 12, 40, 8),
            {eDLG_EDIT, IDC_URL, "", 55, 10, 185, 12, ES_AUTOHSCROLL | WS_TABSTOP},
            {eDLG_CHECKBOX, IDC_BOX, "&3d Border", 55, 30, 80, 10, WS_TABSTOP},
            zorLabelRow(-1, "Justify:", 10, 50, 40, 8),
            {eDLG_COMBOBOX, IDC_JUSTIFY, "", 55, 48, 80, 60, CBS_DROPDOWNLIST | WS_TABSTOP}}),
    zorPageTemplate(IDD_URL_PPG2, "Colors",
        {zorLabelRow(-1, "Color:", 10, 12, 70, 8),
            zorHostedColorRow(
                IDC_LINKCOLOR, 85, 10, 80, 14, "ShowHexValue=1\nRGBColor=0x00FF0000\n"),
            zorLabelRow(-1, "Visited Color", 10, 32, 70, 8),
            zorHostedColorRow(
                IDC_VISITEDCOLOR, 85, 30, 80, 14, "ShowHexValue=1\nRGBColor=0x00800080\n"),
            zorLabelRow(-1, "Background Color:", 10, 52, 70, 8),
            zorHostedColorRow(
                IDC_BACKGROUNDCOLOR, 85, 50, 80, 14, "ShowHexValue=1\nRGBColor=0x0F000000\n")}),
    CZorAboutPropPage::makeTemplate(IDD_URL_ABOUT, IDI_URL, IDC_URL_VERSION, IDC_URL_LINK),
});
