#include "controls/color/colorctlproppage.h"

#include "controls/color/colorpageids.h"
#include "controls/frame/widgetids.h"
#include "controls/frame/widgetstypelib.h"
#include "platform/ole/factory.h"

namespace {

const char* name(DISPID dispid)
{
    return zorPropertyName(zorColorTypeInfo(), dispid);
}

} // namespace

CColorCtlPropPage::CColorCtlPropPage() : COlePropertyPage(IDD_COLOR_PPG, IDS_COLORS) { }

CColorCtlPropPage::~CColorCtlPropPage() = default;

void CColorCtlPropPage::DoDataExchange(CDataExchange* pDX)
{
    DDP_Check(pDX, IDC_SHOWHEXVALUE, m_showHexValue, name(eCOLOR_SHOWHEXVALUE));
    DDX_Check(pDX, IDC_SHOWHEXVALUE, m_showHexValue);
    DDP_HostedProperty(pDX, IDC_DEFAULTCOLOR, eCOLOR_USEWINDOWSCOLOR, name(eCOLOR_USEWINDOWSCOLOR));
    DDP_HostedProperty(pDX, IDC_DEFAULTCOLOR, eCOLOR_WINDOWSCOLORIDX, name(eCOLOR_WINDOWSCOLORIDX));
    DDP_HostedProperty(pDX, IDC_DEFAULTCOLOR, eCOLOR_RGBCOLOR, name(eCOLOR_RGBCOLOR));
    DDP_PostProcessing(pDX);
}

BOOL CColorCtlPropPage::OnCommand(WPARAM wParam, LPARAM lParam)
{
    if (LOWORD(static_cast<DWORD>(wParam)) == IDC_DEFAULTCOLOR
        && HIWORD(static_cast<DWORD>(wParam)) == 0)
        SetModified(TRUE);
    return COlePropertyPage::OnCommand(wParam, lParam);
}
