#include "controls/graph/graphproppage.h"

#include "controls/frame/widgetids.h"
#include "controls/frame/widgetstypelib.h"
#include "controls/graph/graphpageids.h"

namespace {

const char* name(DISPID dispid)
{
    return zorPropertyName(zorGraphTypeInfo(), dispid);
}

} // namespace

CGraphPropPage::CGraphPropPage() : COlePropertyPage(IDD_GRAPH_PPG, IDS_COLORS) { }

CGraphPropPage::~CGraphPropPage() = default;

void CGraphPropPage::DoDataExchange(CDataExchange* pDX)
{
    DDP_HostedProperty(
        pDX, IDC_GRAPH_BACKGROUNDCOLOR, eCOLOR_RGBCOLOR, name(eGRAPH_BACKGROUNDCOLOR));
    DDP_HostedProperty(pDX, IDC_GRAPH_SCALECOLOR, eCOLOR_RGBCOLOR, name(eGRAPH_SCALECOLOR));
    DDP_HostedProperty(pDX, IDC_GRAPH_GRAPHCOLOR, eCOLOR_RGBCOLOR, name(eGRAPH_GRAPHCOLOR));
    DDP_HostedProperty(pDX, IDC_GRAPH_GRIDCOLOR, eCOLOR_RGBCOLOR, name(eGRAPH_GRIDCOLOR));
    DDP_PostProcessing(pDX);
}

BOOL CGraphPropPage::OnCommand(WPARAM wParam, LPARAM lParam)
{
    // A hosted colour control reports a change with code 0 from its id.
    const int id = LOWORD(static_cast<DWORD>(wParam));
    if (HIWORD(static_cast<DWORD>(wParam)) == 0 && id >= IDC_GRAPH_BACKGROUNDCOLOR
        && id <= IDC_GRAPH_GRIDCOLOR && !isInitializing())
        SetModified(TRUE);
    return COlePropertyPage::OnCommand(wParam, lParam);
}
