#include "controls/sysinfo/sysinfoctrl.h"

#include "controls/frame/widgetids.h"
#include "controls/frame/widgetstypelib.h"
#include "controls/sysinfo/sysinfogeometry.h"
#include "controls/sysinfo/sysinfomachine.h"
#include "controls/sysinfo/sysinforeport.h"
#include "framework/drawing/drawbox.h"
#include "framework/drawing/syscolor.h"
#include "platform/gdi/dc.h"
#include "platform/gdi/dcguard.h"
#include "platform/gdi/gdiobjects.h"
#include "platform/ole/proppage.h"

namespace {

constexpr UINT_PTR c_nRefreshTimer = 1;
constexpr UINT c_nRefreshInterval = 15000;
// The height kept free below the report for the time line.
constexpr int c_nTimeLine = 20;

} // namespace

CSystemInfoCtrl::CSystemInfoCtrl()
{
    setTypeInfo(zorSysInfoTypeInfo());
    addInterface(zorSuiteGuid(c_nSysInfoControl, eROLE_DISPATCH));
    addStockFont();

    bindProperty(eSYSINFO_BACKGROUNDCOLOR, m_backgroundColor);
    bindProperty(eSYSINFO_BOXBORDER, m_boxBorder);
    bindProperty(eSYSINFO_TEXTCOLOR, m_textColor);
    bindProperty(eSYSINFO_SHOWTIME, m_showTime);
    bindProperty(eSYSINFO_SHOWUPTIME, m_showUpTime);

    OnResetState();
    SetModifiedFlag(FALSE);
    rebuildReport();
}

CSystemInfoCtrl::~CSystemInfoCtrl() = default;

void CSystemInfoCtrl::DoPropExchange(CPropExchange* pPX)
{
    DWORD version = c_dwWidgetsVersion;
    pPX->ExchangeVersion(version, c_dwWidgetsVersion, true);
    PX_Long(pPX, "BoxBorder", m_boxBorder, 1);
    PX_Color(pPX, "BackgroundColor", m_backgroundColor, 0x0F000000);
    PX_Color(pPX, "TextColor", m_textColor, 0x08000000);
    PX_Long(pPX, "ShowTime", m_showTime, 1);
    PX_Long(pPX, "ShowUpTime", m_showUpTime, 1);
    exchangeStockProps(pPX);
}

std::vector<CLSID> CSystemInfoCtrl::GetPropPageIDs() const
{
    return {zorSuiteGuid(c_nSysInfoControl, eROLE_PAGE1), CLSID_StockFontPage,
        zorSuiteGuid(c_nSysInfoControl, eROLE_PAGE2)};
}

void CSystemInfoCtrl::rebuildReport()
{
    m_report = zorSysInfoReport(zorMachineFacts());
    m_upTime = zorAlignUpTime(zorMachineUpTime());
    m_time = zorAlignTime(COleDateTime::GetCurrentTime());
}

void CSystemInfoCtrl::OnTimer(UINT_PTR nIDEvent)
{
    if (nIDEvent != c_nRefreshTimer) {
        COleControl::OnTimer(nIDEvent);
        return;
    }
    rebuildReport();
    InvalidateControl();
}

void CSystemInfoCtrl::OnDestroy()
{
    // A new window starts its own timer at its first draw.
    KillTimer(c_nRefreshTimer);
    m_bFirstDraw = true;
    COleControl::OnDestroy();
}

void CSystemInfoCtrl::OnDraw(CDC* pdc, const CRect& rcBounds, const CRect&)
{
    if (m_bFirstDraw && GetSafeHwnd()) {
        SetTimer(c_nRefreshTimer, c_nRefreshInterval);
        m_bFirstDraw = false;
        rebuildReport();
    }

    CBrush background(CSysColor::getColor(m_backgroundColor));
    pdc->FillRect(&rcBounds, &background);
    // The saved state brings back the font, the text settings and the clip at the end.
    CDCGuard guard(pdc, CDCGuard::wholeState);
    CRect r(rcBounds);
    if (m_boxBorder) {
        drawBox(pdc, r, 3, false);
        r.DeflateRect(4, 4);
        pdc->IntersectClipRect(&r);
        pdc->FillRect(&r, &background);
    }

    SelectStockFont(pdc);
    pdc->SetBkMode(TRANSPARENT);
    pdc->SetTextColor(CSysColor::getColor(m_textColor));

    drawReport(pdc, r);
    const int w = rcBounds.Width();
    const int h = rcBounds.Height();
    if (m_showTime) {
        CRect time = zorSysInfoTimeRect(w, h);
        pdc->DrawText(zorTimeText(m_time), &time, DT_LEFT | DT_SINGLELINE | DT_NOCLIP);
    }
    if (m_showUpTime) {
        CRect upTime = zorSysInfoUpTimeRect(w, h);
        pdc->DrawText(zorUpTimeText(m_upTime), &upTime, DT_RIGHT | DT_SINGLELINE | DT_NOCLIP);
    }
}

void CSystemInfoCtrl::drawReport(CDC* pdc, CRect area)
{
    if (m_showTime || m_showUpTime)
        area.bottom -= c_nTimeLine;
    CRect measure(area);
    pdc->DrawText(m_report, &measure, DT_CENTER | DT_CALCRECT);
    CRect text = zorSysInfoReportRect(area, CSize(measure.Width(), measure.Height()));
    pdc->DrawText(m_report, &text, DT_CENTER);
}
