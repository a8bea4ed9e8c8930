// The templates of the system information control's pages.

#include "controls/frame/widgetids.h"
#include "controls/sysinfo/sysinfopageids.h"
#include "framework/controls/aboutproppage.h"
#include "framework/controls/pagerows.h"
#include "platform/ui/window.h"

ZOR_DIALOG_TABLE({
    zorPageTemplate(IDD_SYSINFO_PPG, "General",
        {{eDLG_CHECKBOX, IDC_SYSINFO_BOXBORDER, "&3d Border", 10, 10, 80, 10, WS_TABSTOP},
            {eDLG_CHECKBOX, IDC_SYSINFO_SHOWTIME, "&Show Time", 10, 26, 80, 10, WS_TABSTOP},
            {eDLG_CHECKBOX, IDC_SYSINFO_SHOWUPTIME, "Show &Uptime", 10, 42, 80, 10, WS_TABSTOP},
            zorLabelRow(-1, "Background:", 100, 12, 42, 8),
            zorHostedColorRow(
                IDC_SYSINFO_BACKGROUND, 145, 10, 95, 14, "ShowHexValue=1\nRGBColor=0x0F000000\n"),
            zorLabelRow(-1, "Text:", 100, 32, 42, 8),
            zorHostedColorRow(
                IDC_SYSINFO_TEXT, 145, 30, 95, 14, "ShowHexValue=1\nRGBColor=0x08000000\n")}),
    CZorAboutPropPage::makeTemplate(
        IDD_SYSINFO_ABOUT, IDI_SYSINFO, IDC_SYSINFO_VERSION, IDC_SYSINFO_LINK),
});
