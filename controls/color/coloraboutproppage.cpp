#include "controls/color/coloraboutproppage.h"

#include "controls/color/colorpageids.h"
#include "controls/frame/widgetids.h"
#include "platform/ole/factory.h"

CColorAboutPropPage::CColorAboutPropPage()
    : CZorAboutPropPage(IDD_COLOR_ABOUT, IDC_COLOR_VERSION, IDS_ABOUT)
{ }

CColorAboutPropPage::~CColorAboutPropPage() = default;
