#include "controls/url/urlproppage2.h"

#include "controls/frame/widgetids.h"
#include "controls/frame/widgetstypelib.h"
#include "controls/url/urlpageids.h"
#include "platform/ole/factory.h"

namespace {

const char* name(DISPID dispid)
{
    return zorPropertyName(zorUrlTypeInfo(), dispid);
}

} // namespace

CUrlPropPage2::CUrlPropPage2() : COlePropertyPage(IDD_URL_PPG2, IDS_COLORS) { }

CUrlPropPage2::~CUrlPropPage2() = default;

void CUrlPropPage2::DoDataExchange(CDataExchange* pDX)
{
    DDP_HostedProperty(pDX, IDC_LINKCOLOR, eCOLOR_RGBCOLOR, name(eURL_COLOR));
    DDP_HostedProperty(pDX, IDC_VISITEDCOLOR, eCOLOR_RGBCOLOR, name(eURL_VISITEDCOLOR));
    DDP_HostedProperty(pDX, IDC_BACKGROUNDCOLOR, eCOLOR_RGBCOLOR, name(eURL_BACKGROUNDCOLOR));
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
