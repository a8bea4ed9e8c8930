#include "controls/url/urlctrl.h"

#include "controls/frame/persistedfont.h"
#include "controls/frame/widgetids.h"
#include "controls/frame/widgetstypelib.h"
#include "controls/url/urlgeometry.h"
#include "framework/drawing/drawbox.h"
#include "framework/drawing/syscolor.h"
#include "platform/gdi/dc.h"
#include "platform/gdi/dcguard.h"
#include "platform/gdi/gdiobjects.h"
#include "platform/ole/factory.h"
#include "platform/ole/proppage.h"
#include "platform/shell/shellexecute.h"
#include "platform/ui/resources.h"

CUrlCtrl::CUrlCtrl() : m_url(c_szMakerUrl)
{
    setTypeInfo(zorUrlTypeInfo());
    addInterface(zorSuiteGuid(c_nUrlControl, eROLE_DISPATCH));
    addStockFont();

    bindProperty(eURL_URL, m_url);
    bindProperty(eURL_BOX, m_box);
    bindProperty(eURL_COLOR, m_color);
    bindProperty(eURL_VISITEDCOLOR, m_visitedColor);
    bindProperty(eURL_BACKGROUNDCOLOR, m_backgroundColor);
    bindProperty(eURL_JUSTIFY, m_justify);
    // The value property is the address.
    bindProperty(DISPID_VALUE, m_url);

    OnResetState();
    SetModifiedFlag(FALSE);
}

CUrlCtrl::~CUrlCtrl() = default;

const char* CUrlCtrl::tipText()
{
    return "Click here to go to the web address.";
}

void CUrlCtrl::DoPropExchange(CPropExchange* pPX)
{
    DWORD version = c_dwWidgetsVersion;
    pPX->ExchangeVersion(version, c_dwWidgetsVersion, true);
    PX_String(pPX, "URL", m_url, c_szMakerUrl);
    PX_Long(pPX, "Box", m_box, 0);
    PX_Color(pPX, "Color", m_color, 0xFF0000);
    PX_Color(pPX, "VisitedColor", m_visitedColor, 0x800080);
    PX_Color(pPX, "BackgroundColor", m_backgroundColor, 0x0F000000);
    PX_Long(pPX, "Justify", m_justify, 1);
    PX_Font(pPX, "Font", m_persistedFont, zorPersistedFontDefault());
    exchangeStockProps(pPX);
}

std::vector<CLSID> CUrlCtrl::GetPropPageIDs() const
{
    return {zorSuiteGuid(c_nUrlControl, eROLE_PAGE1), zorSuiteGuid(c_nUrlControl, eROLE_PAGE2),
        CLSID_StockFontPage, zorSuiteGuid(c_nUrlControl, eROLE_PAGE3)};
}

int CUrlCtrl::OnCreate()
{
    if (COleControl::OnCreate() == -1)
        return -1;
    // The tip text is fixed; no diagnostic box is shown on its way.
    if (m_toolTip.Create(this)) {
        m_toolTip.AddTool(this, tipText());
        m_toolTip.Activate(TRUE);
    }
    return 0;
}

void CUrlCtrl::OnDestroy()
{
    if (m_toolTip.GetSafeHwnd())
        m_toolTip.DestroyWindow();
    COleControl::OnDestroy();
}

void CUrlCtrl::OnDraw(CDC* pdc, const CRect& rcBounds, const CRect&)
{
    const COLORREF background = CSysColor::getColor(m_backgroundColor);
    CPen backgroundPen(PS_SOLID, 1, background);
    CBrush backgroundBrush(background);
    FONTDESC desc = InternalGetFont().desc();
    desc.fUnderline = TRUE;
    const LOGFONT logFont = CFontHolder(desc).logFont(pdc->GetDeviceCaps(LOGPIXELSY));
    CFont font;
    font.CreateFontIndirect(&logFont);

    // The pen, brush, font, text settings and clip come back at the end.
    CDCGuard guard(pdc, CDCGuard::wholeState);
    guard.select(&backgroundPen);
    guard.select(&backgroundBrush);
    pdc->Rectangle(&rcBounds);
    guard.select(&font);

    CRect r(rcBounds);
    if (m_box) {
        drawBox(pdc, r, 3, false);
        r.DeflateRect(4, 4);
        pdc->IntersectClipRect(&r);
    }
    pdc->FillRect(&r, &backgroundBrush);

    pdc->SetTextColor(CSysColor::getColor(m_visited ? m_visitedColor : m_color));
    pdc->SetBkMode(TRANSPARENT);

    CRect measure(0, 0, 0, 0);
    pdc->DrawText(m_url, &measure, DT_SINGLELINE | DT_CALCRECT);
    UINT align = DT_LEFT;
    CRect text = zorUrlTextRect(r, CSize(measure.Width(), measure.Height()), m_justify, &align);
    pdc->DrawText(m_url, &text, align | DT_SINGLELINE | DT_VCENTER | DT_NOCLIP);
    m_textRect = text;
}

bool CUrlCtrl::overText() const
{
    return m_textRect.PtInRect(m_mouse);
}

void CUrlCtrl::OnMouseMove(UINT nFlags, CPoint point)
{
    m_mouse = point;
    setWindowCursor(overText() ? LoadCursorA(ZOR_THIS_MODULE(), IDC_URL_HAND) : nullptr);
    COleControl::OnMouseMove(nFlags, point);
}

BOOL CUrlCtrl::OnSetCursor(CWnd* pWnd, UINT nHitTest, UINT message)
{
    if (overText()) {
        SetCursor(LoadCursorA(ZOR_THIS_MODULE(), IDC_URL_HAND));
        return TRUE;
    }
    return COleControl::OnSetCursor(pWnd, nHitTest, message);
}

void CUrlCtrl::OnLButtonDown(UINT, CPoint point)
{
    if (!zorUrlHit(m_textRect, point))
        return;
    if (ShellExecuteA(GetSafeHwnd(), "open", m_url.c_str(), nullptr, nullptr, SW_SHOWNORMAL) > 32) {
        m_visited = true;
        InvalidateControl();
    }
}
