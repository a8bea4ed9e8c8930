#include "controls/color/colorctlproppage.h"

#include "controls/color/colorpageids.h"
#include "controls/frame/widgetids.h"
#include "platform/ole/factory.h"

CColorCtlPropPage::CColorCtlPropPage() : COlePropertyPage(IDD_COLOR_PPG, IDS_COLORS)
{
    zorModuleLock(ZOR_THIS_MODULE(), 1);
}

CColorCtlPropPage::~CColorCtlPropPage()
{
    zorModuleLock(ZOR_THIS_MODULE(), -1);
}

void CColorCtlPropPage::DoDataExchange(CDataExchange* pDX)
{
    DDP_Check(pDX, IDC_SHOWHEXVALUE, m_showHexValue, "ShowHexValue");
    DDX_Check(pDX, IDC_SHOWHEXVALUE, m_showHexValue);
    DDP_HostedProperty(pDX, IDC_DEFAULTCOLOR, 2, "UseWindowsColor");
    DDP_HostedProperty(pDX, IDC_DEFAULTCOLOR, 3, "WindowsColorIdx");
    DDP_HostedProperty(pDX, IDC_DEFAULTCOLOR, 4, "RGBColor");
    DDP_PostProcessing(pDX);
}

BOOL CColorCtlPropPage::OnCommand(WPARAM wParam, LPARAM lParam)
{
    if (LOWORD(static_cast<DWORD>(wParam)) == IDC_DEFAULTCOLOR
        && HIWORD(static_cast<DWORD>(wParam)) == 0)
        SetModified(TRUE);
    return COlePropertyPage::OnCommand(wParam, lParam);
}
