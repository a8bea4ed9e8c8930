#include "controls/graph/graphaboutproppage.h"

#include "controls/frame/widgetids.h"
#include "controls/graph/graphpageids.h"

CGraphAboutPropPage::CGraphAboutPropPage()
    : CZorAboutPropPage(IDD_GRAPH_ABOUT, IDC_GRAPH_VERSION, IDS_GENERAL)
{ }

CGraphAboutPropPage::~CGraphAboutPropPage() = default;
