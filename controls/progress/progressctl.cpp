#include "controls/progress/progressctl.h"

#include "controls/frame/persistedfont.h"
#include "controls/frame/widgetids.h"
#include "controls/frame/widgetstypelib.h"
#include "controls/progress/progressgeometry.h"
#include "framework/drawing/syscolor.h"
#include "platform/gdi/dc.h"
#include "platform/gdi/dcguard.h"
#include "platform/gdi/gdiobjects.h"
#include "platform/gdi/syscolor.h"
#include "platform/ole/proppage.h"

namespace {

TRIVERTEX vertex(LONG x, LONG y, COLORREF color)
{
    TRIVERTEX v;
    v.x = x;
    v.y = y;
    v.Red = static_cast<COLOR16>(GetRValue(color) << 8);
    v.Green = static_cast<COLOR16>(GetGValue(color) << 8);
    v.Blue = static_cast<COLOR16>(GetBValue(color) << 8);
    return v;
}

} // namespace

CProgressCtl::CProgressCtl()
{
    setTypeInfo(zorProgressTypeInfo());
    setDispatchMembers(zorProgressMembers());
    addInterface(zorSuiteGuid(c_nProgressControl, eROLE_DISPATCH));
    addStockFont();

    bindProperty(ePROGRESS_FOREGROUNDCOLOR, m_foregroundColor,
        [this] { m_foregroundColor2 = m_foregroundColor; });
    bindProperty(ePROGRESS_BACKGROUNDCOLOR, m_backgroundColor);
    bindProperty(ePROGRESS_SHOWPERCENT, m_showPercent);
    bindProperty(ePROGRESS_RANGE, m_range);
    bindProperty(ePROGRESS_POSITION, m_position);
    bindProperty(ePROGRESS_TEXTCOLOR, m_textColor);
    bindProperty(ePROGRESS_FOREGROUNDCOLOR2, m_foregroundColor2);
    // ShowCount only marks the control modified: the next repaint shows it.
    addDeclaredProperty(
        ePROGRESS_SHOWCOUNT, [this] { return COleVariant(m_bShowCount ? 1L : 0L); },
        [this](const COleVariant& v) {
            m_bShowCount = v.lVal != 0;
            SetModifiedFlag();
            return S_OK;
        });

    OnResetState();
    SetModifiedFlag(FALSE);
}

CProgressCtl::~CProgressCtl() = default;

void CProgressCtl::DoPropExchange(CPropExchange* pPX)
{
    DWORD version = c_dwWidgetsVersion;
    pPX->ExchangeVersion(version, c_dwWidgetsVersion, true);
    PX_Color(pPX, "BackgroundColor", m_backgroundColor, GetSysColor(COLOR_BTNFACE));
    PX_Color(pPX, "ForegroundColor", m_foregroundColor, GetSysColor(COLOR_ACTIVECAPTION));
    PX_Long(pPX, "ShowPercent", m_showPercent, 1);
    PX_Long(pPX, "Range", m_range, 100);
    PX_Long(pPX, "Position", m_position, 0);
    PX_Font(pPX, "Font", m_persistedFont, zorPersistedFontDefault());
    PX_Color(pPX, "TextColor", m_textColor, GetSysColor(COLOR_WINDOWTEXT));
    PX_Color(pPX, "ForegroundColor2", m_foregroundColor2, GetSysColor(COLOR_ACTIVECAPTION));
    exchangeStockProps(pPX);
}

std::vector<CLSID> CProgressCtl::GetPropPageIDs() const
{
    return {zorSuiteGuid(c_nProgressControl, eROLE_PAGE1), CLSID_StockFontPage,
        zorSuiteGuid(c_nProgressControl, eROLE_PAGE2)};
}

void CProgressCtl::OnDraw(CDC* pdc, const CRect& rcBounds, const CRect&)
{
    // A range below 1 becomes 1, and stays so.
    if (m_range < 1)
        m_range = 1;
    const double fraction = static_cast<double>(m_position) / m_range;

    // The background with the context's pen as the frame.
    CBrush background(CSysColor::getColor(m_backgroundColor));
    CDCGuard guard(pdc, CDCGuard::wholeState);
    guard.select(&background);
    pdc->Rectangle(&rcBounds);

    CRect bar(0, 0, 0, 0);
    if (fraction > 0.0)
        bar = drawBar(pdc, rcBounds, fraction);
    drawText(pdc, rcBounds, bar);
}

CRect CProgressCtl::drawBar(CDC* pdc, const CRect& bounds, double fraction)
{
    const COLORREF start = CSysColor::getColor(m_foregroundColor);
    if (!zorProgressGradient(pdc->GetDeviceCaps(BITSPIXEL), pdc->GetDeviceCaps(PLANES))) {
        const CRect filled = zorProgressFilled(bounds, fraction);
        CBrush brush(start);
        pdc->FillRect(&filled, &brush);
        return filled;
    }

    const CRect bar = zorProgressBar(bounds);
    // A control too small for the bar inside its margins shows none.
    if (bar.IsRectEmpty())
        return CRect(0, 0, 0, 0);
    const COLORREF end = CSysColor::getColor(m_foregroundColor2);
    CDCGuard barClip(pdc, CDCGuard::wholeState);
    pdc->IntersectClipRect(&bar);
    for (const ZorProgressBand& band : zorProgressBands(bar, fraction, start, end)) {
        CDCGuard bandClip(pdc, CDCGuard::wholeState);
        pdc->IntersectClipRect(&band.rect);
        // The gradient spans the whole bar; the band shows its filled part.
        const TRIVERTEX vertices[2] = {vertex(bar.left, band.rect.top, band.start),
            vertex(bar.right, band.rect.bottom, band.end)};
        GRADIENT_RECT mesh;
        mesh.UpperLeft = 0;
        mesh.LowerRight = 1;
        pdc->GradientFill(vertices, 2, &mesh, 1, GRADIENT_FILL_RECT_H);
    }
    return zorProgressFilled(bar, fraction);
}

void CProgressCtl::drawText(CDC* pdc, const CRect& bounds, const CRect& bar)
{
    const std::string text = zorProgressText(m_showPercent, m_bShowCount, m_position, m_range);
    if (text.empty())
        return;
    SelectStockFont(pdc);
    pdc->SelectClipRgn(nullptr);
    pdc->SetBkMode(TRANSPARENT);
    // In the start colour over the whole control, then in the text colour over the bar.
    pdc->SetTextColor(CSysColor::getColor(m_foregroundColor));
    CRect r(bounds);
    pdc->DrawText(text, &r, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    pdc->IntersectClipRect(&bar);
    pdc->SetTextColor(m_textColor & 0xFFFFFF);
    r = bounds;
    pdc->DrawText(text, &r, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
}
