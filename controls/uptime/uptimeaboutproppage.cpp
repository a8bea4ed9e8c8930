#include "controls/uptime/uptimeaboutproppage.h"

#include "controls/frame/widgetids.h"
#include "controls/uptime/uptimepageids.h"

CUpTimeAboutPropPage::CUpTimeAboutPropPage()
    : CZorAboutPropPage(IDD_UPTIME_ABOUT, IDC_UPTIME_VERSION, IDS_ABOUT)
{ }

CUpTimeAboutPropPage::~CUpTimeAboutPropPage() = default;
