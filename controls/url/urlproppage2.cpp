#include "controls/url/urlproppage2.h"

#include "controls/frame/widgetids.h"
#include "controls/url/urlpageids.h"
#include "platform/ole/factory.h"

CUrlPropPage2::CUrlPropPage2() : COlePropertyPage(IDD_URL_PPG2, IDS_COLORS)
{
    zorModuleLock(ZOR_THIS_MODULE(), 1);
}

CUrlPropPage2::~CUrlPropPage2()
{
    zorModuleLock(ZOR_THIS_MODULE(), -1);
}

void CUrlPropPage2::DoDataExchange(CDataExchange* pDX)
{
    DDP_HostedProperty(pDX, IDC_LINKCOLOR, 4, "Color");
    DDP_HostedProperty(pDX, IDC_VISITEDCOLOR, 4, "VisitedColor");
    DDP_HostedProperty(pDX, IDC_BACKGROUNDCOLOR, 4, "BackgroundColor");
    DDP_PostProcessing(pDX);
}

BOOL CUrlPropPage2::OnCommand(WPARAM wParam, LPARAM lParam)
{
    const int id = LOWORD(static_cast<DWORD>(wParam));
    if (HIWORD(static_cast<DWORD>(wParam)) == 0
        && (id == IDC_LINKCOLOR || id == IDC_VISITEDCOLOR || id == IDC_BACKGROUNDCOLOR))
        SetModified(TRUE);
    return COlePropertyPage::OnCommand(wParam, lParam);
}
