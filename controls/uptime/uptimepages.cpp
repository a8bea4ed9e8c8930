// The templates of the up-time control's pages.

#include "controls/frame/widgetids.h"
#include "controls/time/timepages.h"
#include "controls/uptime/uptimepageids.h"
#include "framework/controls/aboutproppage.h"

ZOR_DIALOG_TABLE({
    zorTimePageTemplate(c_upTimePageIds),
    CZorAboutPropPage::makeTemplate(
        IDD_UPTIME_ABOUT, IDI_UPTIME, IDC_UPTIME_VERSION, IDC_UPTIME_LINK),
});
