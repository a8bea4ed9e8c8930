#include "controls/time/timetextctrl.h"

#include "controls/frame/widgetids.h"
#include "controls/frame/widgetstypelib.h"
#include "controls/time/timetext.h"
#include "framework/drawing/drawbox.h"
#include "framework/drawing/syscolor.h"
#include "platform/gdi/dc.h"
#include "platform/gdi/dcguard.h"
#include "platform/gdi/gdiobjects.h"
#include "platform/ole/proppage.h"

CTimeTextCtrl::CTimeTextCtrl(const ZorTypeInfo* typeInfo, WORD control) : m_control(control)
{
    setTypeInfo(typeInfo);
    addInterface(zorSuiteGuid(control, eROLE_DISPATCH));
    addStockFont();

    const auto restart = [this] { restartTimer(); };
    bindProperty(eTIME_USETIMER, m_useTimer, restart);
    bindProperty(eTIME_TIMERINTERVAL, m_timerInterval, restart);
    bindProperty(eTIME_BOXBORDER, m_boxBorder, restart);
    bindProperty(eTIME_BACKGROUNDCOLOR, m_backgroundColor, restart);
    bindProperty(eTIME_TEXTCOLOR, m_textColor, restart);
    bindProperty(eTIME_JUSTIFY, m_justify, restart);

    OnResetState();
    SetModifiedFlag(FALSE);
}

CTimeTextCtrl::~CTimeTextCtrl() = default;

void CTimeTextCtrl::DoPropExchange(CPropExchange* pPX)
{
    const auto name = [this](DISPID dispid) { return zorPropertyName(GetTypeInfo(), dispid); };
    DWORD version = c_dwWidgetsVersion;
    pPX->ExchangeVersion(version, c_dwWidgetsVersion, true);
    PX_Long(pPX, name(eTIME_BOXBORDER), m_boxBorder, 0);
    PX_Color(pPX, name(eTIME_TEXTCOLOR), m_textColor, 0x08000000);
    PX_Color(pPX, name(eTIME_BACKGROUNDCOLOR), m_backgroundColor, 0x0F000000);
    PX_Long(pPX, name(eTIME_JUSTIFY), m_justify, 1);
    PX_Long(pPX, name(eTIME_TIMERINTERVAL), m_timerInterval, 15);
    PX_Long(pPX, name(eTIME_USETIMER), m_useTimer, 0);
    exchangeStockProps(pPX);
    // Properties loaded into a live control take effect on its timer at once.
    if (pPX->IsLoading() && GetSafeHwnd())
        restartTimer();
}

std::vector<CLSID> CTimeTextCtrl::GetPropPageIDs() const
{
    return {zorSuiteGuid(m_control, eROLE_PAGE1), CLSID_StockFontPage,
        zorSuiteGuid(m_control, eROLE_PAGE2)};
}

void CTimeTextCtrl::restartTimer()
{
    KillTimer(c_nTimerId);
    if (m_useTimer)
        SetTimer(c_nTimerId, zorTimerElapse(m_timerInterval));
}

void CTimeTextCtrl::OnTimer(UINT_PTR nIDEvent)
{
    if (nIDEvent == c_nTimerId)
        onTick();
    else
        COleControl::OnTimer(nIDEvent);
}

void CTimeTextCtrl::onTick()
{
    InvalidateControl();
}

void CTimeTextCtrl::OnDraw(CDC* pdc, const CRect& rcBounds, const CRect&)
{
    // The control's first draw starts its timer: its window exists by then.
    if (m_startTimer && GetSafeHwnd()) {
        restartTimer();
        m_startTimer = false;
    }

    const COLORREF background = CSysColor::getColor(m_backgroundColor);
    CPen backgroundPen(PS_SOLID, 1, background);
    CBrush backgroundBrush(background);
    CDCGuard guard(pdc, CDCGuard::wholeState);
    guard.select(&backgroundPen);
    guard.select(&backgroundBrush);
    pdc->FillRect(&rcBounds, &backgroundBrush);

    CRect area(rcBounds);
    if (m_boxBorder) {
        drawBox(pdc, area, 3, false);
        area.DeflateRect(4, 4);
        pdc->FillRect(&area, &backgroundBrush);
    }

    SelectStockFont(pdc);
    pdc->SetTextColor(CSysColor::getColor(m_textColor));
    pdc->SetBkMode(TRANSPARENT);

    const std::string text = drawText(zorTimeStep(m_timerInterval));
    CRect measure(0, 0, 0, 0);
    pdc->DrawText(text, &measure, DT_SINGLELINE | DT_VCENTER | DT_CALCRECT);
    UINT align = DT_LEFT;
    CRect place
        = zorTimeTextRect(area, CSize(measure.Width(), measure.Height()), m_justify, &align);
    pdc->DrawText(text, &place, align | DT_SINGLELINE | DT_VCENTER | DT_NOCLIP);
}
