#include "controls/time/timeaboutproppage.h"

#include "controls/frame/widgetids.h"
#include "controls/time/timepageids.h"

CTimeAboutPropPage::CTimeAboutPropPage()
    : CZorAboutPropPage(IDD_TIME_ABOUT, IDC_TIME_VERSION, IDS_ABOUT)
{ }

CTimeAboutPropPage::~CTimeAboutPropPage() = default;
