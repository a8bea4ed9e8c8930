#include "controls/sysinfo/sysinfoaboutproppage.h"

#include "controls/frame/widgetids.h"
#include "controls/sysinfo/sysinfopageids.h"

CSysInfoAboutPropPage::CSysInfoAboutPropPage()
    : CZorAboutPropPage(IDD_SYSINFO_ABOUT, IDC_SYSINFO_VERSION, IDS_ABOUT)
{ }

CSysInfoAboutPropPage::~CSysInfoAboutPropPage() = default;
