#include "controls/light/lightaboutproppage.h"

#include "controls/frame/widgetids.h"
#include "controls/light/lightpageids.h"
#include "platform/ole/factory.h"

CLightAboutPropPage::CLightAboutPropPage()
    : CZorAboutPropPage(IDD_LIGHT_ABOUT, IDC_LIGHT_VERSION, IDS_ABOUT)
{ }

CLightAboutPropPage::~CLightAboutPropPage() = default;
