#include "controls/graph/graphproppage2.h"

#include "controls/frame/widgetids.h"
#include "controls/frame/widgetstypelib.h"
#include "controls/graph/graphpageids.h"
#include "platform/ui/controls.h"

namespace {

const char* name(DISPID dispid)
{
    return zorPropertyName(zorGraphTypeInfo(), dispid);
}

} // namespace

CGraphPropPage2::CGraphPropPage2() : COlePropertyPage(IDD_GRAPH_PPG2, IDS_GENERAL) { }

CGraphPropPage2::~CGraphPropPage2() = default;

void CGraphPropPage2::DoDataExchange(CDataExchange* pDX)
{
    DDP_Text(pDX, IDC_GRAPH_CAPTION, m_caption, name(eGRAPH_GRAPHCAPTION));
    DDX_Text(pDX, IDC_GRAPH_CAPTION, m_caption);
    DDP_Check(pDX, IDC_GRAPH_SHOWCAPTION, m_showCaption, name(eGRAPH_SHOWCAPTION));
    DDX_Check(pDX, IDC_GRAPH_SHOWCAPTION, m_showCaption);
    DDP_Check(pDX, IDC_GRAPH_BOXBORDER, m_boxBorder, name(eGRAPH_BOXBORDER));
    DDX_Check(pDX, IDC_GRAPH_BOXBORDER, m_boxBorder);
    DDP_Check(pDX, IDC_GRAPH_SHOWGRID, m_showGrid, name(eGRAPH_SHOWGRID));
    DDX_Check(pDX, IDC_GRAPH_SHOWGRID, m_showGrid);
    DDP_PostProcessing(pDX);
}

BOOL CGraphPropPage2::OnCommand(WPARAM wParam, LPARAM lParam)
{
    // Every change of the caption's text offers Apply, also while it is being typed.
    if (LOWORD(static_cast<DWORD>(wParam)) == IDC_GRAPH_CAPTION
        && HIWORD(static_cast<DWORD>(wParam)) == EN_CHANGE && !isInitializing())
        SetModified(TRUE);
    return COlePropertyPage::OnCommand(wParam, lParam);
}
