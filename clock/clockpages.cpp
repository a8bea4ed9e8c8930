// The templates of the clock's pages.

#include "clock/clockids.h"
#include "framework/controls/aboutproppage.h"
#include "framework/controls/pagerows.h"
#include "platform/ui/window.h"

namespace {

DialogTemplate generalTemplate()
{
    return zorPageTemplate(IDD_CLOCK_PPG, "General",
        {zorLabelRow(-1, "&Time Zone", 7, 7, 35, 8),
            {eDLG_COMBOBOX, IDC_CLOCK_ZONE, "", 7, 15, 236, 209,
                CBS_DROPDOWNLIST | WS_VSCROLL | WS_TABSTOP},
            zorLabelRow(-1, "Foreground:", 17, 41, 39, 8),
            zorHostedColorRow(
                IDC_CLOCK_FOREGROUND, 59, 38, 73, 15, "ShowHexValue=1\nRGBColor=0x00800000\n"),
            zorLabelRow(-1, "Background:", 14, 63, 42, 8),
            zorHostedColorRow(
                IDC_CLOCK_BACKGROUND, 59, 60, 73, 15, "ShowHexValue=1\nRGBColor=0x00C0C0C0\n"),
            zorLabelRow(-1, "Shadow:", 27, 84, 29, 8),
            zorHostedColorRow(
                IDC_CLOCK_SHADOW, 59, 81, 73, 15, "ShowHexValue=1\nRGBColor=0x00FFFFFF\n"),
            {eDLG_CHECKBOX, IDC_CLOCK_BORDER, "&Border", 180, 52, 37, 10, WS_TABSTOP},
            {eDLG_CHECKBOX, IDC_CLOCK_DIGITAL, "&Digital", 180, 69, 51, 10, WS_TABSTOP},
            {eDLG_CHECKBOX, IDC_CLOCK_SHOWDATE, "&Show Date", 180, 86, 51, 10, WS_TABSTOP}});
}

} // namespace

ZOR_DIALOG_TABLE({
    generalTemplate(),
    CZorAboutPropPage::makeTemplate(IDD_CLOCK_ABOUT, IDI_CLOCK, IDC_CLOCK_VERSION, IDC_CLOCK_LINK),
});
