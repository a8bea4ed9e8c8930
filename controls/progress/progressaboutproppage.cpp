#include "controls/progress/progressaboutproppage.h"

#include "controls/frame/widgetids.h"
#include "controls/progress/progresspageids.h"

CProgressAboutPropPage::CProgressAboutPropPage()
    : CZorAboutPropPage(IDD_PROGRESS_ABOUT, IDC_PROGRESS_VERSION, IDS_ABOUT)
{ }

CProgressAboutPropPage::~CProgressAboutPropPage() = default;
