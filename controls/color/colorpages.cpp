// The templates of the colour control's pages.

#include "controls/color/colorpageids.h"
#include "controls/frame/widgetids.h"
#include "framework/controls/aboutproppage.h"
#include "framework/controls/pagerows.h"
#include "platform/ui/window.h"

ZOR_DIALOG_TABLE({
    zorPageTemplate(IDD_COLOR_PPG, "Colors",
        {{eDLG_CHECKBOX, IDC_SHOWHEXVALUE, "&Show Hex Value / Windows System Color Name", 10, 10,
             200, 10, WS_TABSTOP},
            zorLabelRow(-1, "Default Color:", 10, 32, 60, 8),
            zorHostedColorRow(
                IDC_DEFAULTCOLOR, 75, 30, 80, 14, "ShowHexValue=1\nRGBColor=0x00FFFFFF\n")}),
    CZorAboutPropPage::makeTemplate(IDD_COLOR_ABOUT, IDI_COLOR, IDC_COLOR_VERSION, IDC_COLOR_LINK),
});
