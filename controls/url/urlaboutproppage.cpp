#include "controls/url/urlaboutproppage.h"

#include "controls/frame/widgetids.h"
#include "controls/url/urlpageids.h"
#include "platform/ole/factory.h"

CURLAboutPropPage::CURLAboutPropPage()
    : CZorAboutPropPage(IDD_URL_ABOUT, IDC_URL_VERSION, IDS_ABOUT)
{ }

CURLAboutPropPage::~CURLAboutPropPage() = default;
