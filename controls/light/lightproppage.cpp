#include "controls/light/lightproppage.h"

#include "controls/frame/widgetids.h"
#include "controls/frame/widgetstypelib.h"
#include "controls/light/lightpageids.h"
#include "platform/ole/factory.h"

namespace {

const char* name(DISPID dispid)
{
    return zorPropertyName(zorLightTypeInfo(), dispid);
}

} // namespace

CLightPropPage::CLightPropPage() : COlePropertyPage(IDD_LIGHT_PPG, IDS_GENERAL) { }

CLightPropPage::~CLightPropPage() = default;

void CLightPropPage::DoDataExchange(CDataExchange* pDX)
{
    DDP_HostedProperty(pDX, IDC_OFFCOLOR, eCOLOR_RGBCOLOR, name(eLIGHT_COLOR));
    DDP_HostedProperty(pDX, IDC_BACKGROUND, eCOLOR_RGBCOLOR, name(eLIGHT_BACKGROUND));
    // The on colour is not a dispatch property: through the page it is neither shown nor
    // changed (setStateColor is the interface's way to set it).
    DDP_HostedProperty(pDX, IDC_ONCOLOR, eCOLOR_RGBCOLOR, "ColorOn");
    DDP_PostProcessing(pDX);
}

BOOL CLightPropPage::OnCommand(WPARAM wParam, LPARAM lParam)
{
    // A hosted colour control reports a change with code 0 from its id.
    const int id = LOWORD(static_cast<DWORD>(wParam));
    if (HIWORD(static_cast<DWORD>(wParam)) == 0
        && (id == IDC_OFFCOLOR || id == IDC_BACKGROUND || id == IDC_ONCOLOR))
        SetModified(TRUE);
    return COlePropertyPage::OnCommand(wParam, lParam);
}
