#include "controls/sysinfo/sysinfoproppage.h"

#include "controls/frame/widgetids.h"
#include "controls/frame/widgetstypelib.h"
#include "controls/sysinfo/sysinfopageids.h"

namespace {

const char* name(DISPID dispid)
{
    return zorPropertyName(zorSysInfoTypeInfo(), dispid);
}

} // namespace

CSystemInfoPropPage::CSystemInfoPropPage() : COlePropertyPage(IDD_SYSINFO_PPG, IDS_GENERAL) { }

CSystemInfoPropPage::~CSystemInfoPropPage() = default;

void CSystemInfoPropPage::DoDataExchange(CDataExchange* pDX)
{
    DDP_Check(pDX, IDC_SYSINFO_BOXBORDER, m_boxBorder, name(eSYSINFO_BOXBORDER));
    DDX_Check(pDX, IDC_SYSINFO_BOXBORDER, m_boxBorder);
    DDP_Check(pDX, IDC_SYSINFO_SHOWTIME, m_showTime, name(eSYSINFO_SHOWTIME));
    DDX_Check(pDX, IDC_SYSINFO_SHOWTIME, m_showTime);
    DDP_Check(pDX, IDC_SYSINFO_SHOWUPTIME, m_showUpTime, name(eSYSINFO_SHOWUPTIME));
    DDX_Check(pDX, IDC_SYSINFO_SHOWUPTIME, m_showUpTime);
    DDP_HostedProperty(
        pDX, IDC_SYSINFO_BACKGROUND, eCOLOR_RGBCOLOR, name(eSYSINFO_BACKGROUNDCOLOR));
    DDP_HostedProperty(pDX, IDC_SYSINFO_TEXT, eCOLOR_RGBCOLOR, name(eSYSINFO_TEXTCOLOR));
    DDP_PostProcessing(pDX);
}

BOOL CSystemInfoPropPage::OnCommand(WPARAM wParam, LPARAM lParam)
{
    // A hosted colour control reports a change with code 0 from its id.
    const int id = LOWORD(static_cast<DWORD>(wParam));
    if (HIWORD(static_cast<DWORD>(wParam)) == 0
        && (id == IDC_SYSINFO_BACKGROUND || id == IDC_SYSINFO_TEXT))
        SetModified(TRUE);
    return COlePropertyPage::OnCommand(wParam, lParam);
}
