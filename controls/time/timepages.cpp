// The templates of the time control's pages, and the General page layout both controls use.

#include "controls/time/timepages.h"

#include "controls/frame/widgetids.h"
#include "framework/controls/aboutproppage.h"
#include "framework/controls/pagerows.h"
#include "platform/ui/window.h"

DialogTemplate zorTimePageTemplate(const ZorTimePageIds& ids)
{
    return zorPageTemplate(ids.templateId, "General",
        {zorLabelRow(-1, "Color:", 10, 10, 70, 8),
            zorHostedColorRow(
                ids.textColor, 85, 8, 80, 14, "ShowHexValue=1\nRGBColor=0x08000000\n"),
            zorLabelRow(-1, "Background Color:", 10, 28, 70, 8),
            zorHostedColorRow(
                ids.backgroundColor, 85, 26, 80, 14, "ShowHexValue=1\nRGBColor=0x0F000000\n"),
            zorLabelRow(-1, "Justify:", 10, 46, 70, 8),
            {eDLG_COMBOBOX, ids.justify, "", 85, 44, 80, 60, CBS_DROPDOWNLIST | WS_TABSTOP},
            {eDLG_CHECKBOX, ids.useTimer, "&Use Timer", 10, 62, 80, 10, WS_TABSTOP},
            zorLabelRow(-1, "Timer Interval (sec.)", 10, 80, 70, 8),
            {eDLG_EDIT, ids.timerInterval, "", 85, 78, 40, 12,
                ES_AUTOHSCROLL | ES_NUMBER | WS_TABSTOP},
            {eDLG_UPDOWN, ids.spin, "", 125, 78, 10, 12,
                UDS_AUTOBUDDY | UDS_SETBUDDYINT | UDS_ALIGNRIGHT | UDS_ARROWKEYS},
            {eDLG_CHECKBOX, ids.boxBorder, "&3d Border", 10, 96, 80, 10, WS_TABSTOP}});
}

ZOR_DIALOG_TABLE({
    zorTimePageTemplate(c_timePageIds),
    CZorAboutPropPage::makeTemplate(IDD_TIME_ABOUT, IDI_TIME, IDC_TIME_VERSION, IDC_TIME_LINK),
});
