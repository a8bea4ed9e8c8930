// The templates of the progress control's pages.

#include "controls/frame/widgetids.h"
#include "controls/progress/progresspageids.h"
#include "framework/controls/aboutproppage.h"
#include "framework/controls/pagerows.h"
#include "platform/ui/window.h"

namespace {

constexpr DWORD c_spinStyle
    = UDS_AUTOBUDDY | UDS_SETBUDDYINT | UDS_ALIGNRIGHT | UDS_ARROWKEYS | UDS_NOTHOUSANDS;

} // namespace

// The hosted colour controls start with the system colours the control's defaults come from
// (active caption, button face, window text); opening the page shows the control's own.
ZOR_DIALOG_TABLE({
    zorPageTemplate(IDD_PROGRESS_PPG, "General",
        {zorLabelRow(-1, "Foreground Color:", 10, 12, 70, 8),
            zorHostedColorRow(
                IDC_PROGRESS_FOREGROUND, 85, 10, 70, 14, "ShowHexValue=1\nRGBColor=0x02000000\n"),
            zorLabelRow(-1, "Foreground Color2:", 10, 30, 70, 8),
            zorHostedColorRow(
                IDC_PROGRESS_FOREGROUND2, 85, 28, 70, 14, "ShowHexValue=1\nRGBColor=0x02000000\n"),
            zorLabelRow(-1, "Background Color:", 10, 48, 70, 8),
            zorHostedColorRow(
                IDC_PROGRESS_BACKGROUND, 85, 46, 70, 14, "ShowHexValue=1\nRGBColor=0x0F000000\n"),
            zorLabelRow(-1, "Text Color:", 10, 66, 70, 8),
            zorHostedColorRow(
                IDC_PROGRESS_TEXTCOLOR, 85, 64, 70, 14, "ShowHexValue=1\nRGBColor=0x08000000\n"),
            zorLabelRow(-1, "Range:", 165, 12, 30, 8),
            {eDLG_EDIT, IDC_PROGRESS_RANGE, "", 195, 10, 45, 12, ES_AUTOHSCROLL | WS_TABSTOP},
            {eDLG_UPDOWN, IDC_PROGRESS_RANGESPIN, "", 230, 10, 10, 12, c_spinStyle},
            zorLabelRow(-1, "Position", 165, 30, 30, 8),
            {eDLG_EDIT, IDC_PROGRESS_POSITION, "", 195, 28, 45, 12, ES_AUTOHSCROLL | WS_TABSTOP},
            {eDLG_UPDOWN, IDC_PROGRESS_POSITIONSPIN, "", 230, 28, 10, 12, c_spinStyle},
            {eDLG_CHECKBOX, IDC_PROGRESS_SHOWPERCENT, "Display Percentage in text", 10, 88, 120, 10,
                WS_TABSTOP}}),
    CZorAboutPropPage::makeTemplate(
        IDD_PROGRESS_ABOUT, IDI_PROGRESS, IDC_PROGRESS_VERSION, IDC_PROGRESS_LINK),
});
