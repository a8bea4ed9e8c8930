#include "controls/color/colorctrl.h"

#include "controls/color/customcolordialog.h"
#include "controls/color/systemcolordialog.h"
#include "controls/frame/persistedfont.h"
#include "controls/frame/widgetids.h"
#include "controls/frame/widgetstypelib.h"
#include "framework/drawing/drawbox.h"
#include "framework/drawing/syscolor.h"
#include "platform/gdi/dc.h"
#include "platform/gdi/dcguard.h"
#include "platform/gdi/gdiobjects.h"
#include "platform/gdi/syscolor.h"
#include "platform/module/module.h"
#include "platform/ole/factory.h"
#include "platform/ole/proppage.h"
#include "platform/ui/controls.h"

namespace {

bool validRow(LONG row)
{
    return row >= 0 && row < CSysColor::c_nColors;
}

} // namespace

CRect colorSwatchRect(const CRect& bounds, bool showHexValue)
{
    CRect s(bounds);
    if (showHexValue) {
        s.DeflateRect(4, 4);
        s.right = s.right / 3;
    }
    return s;
}

CColorCtrl::CColorCtrl()
{
    setTypeInfo(zorColorTypeInfo());
    addInterface(zorSuiteGuid(c_nColorControl, eROLE_DISPATCH));
    addStockFont();

    bindProperty(eCOLOR_SHOWHEXVALUE, m_showHexValue);
    bindProperty(eCOLOR_USEWINDOWSCOLOR, m_useWindowsColor);
    bindProperty(eCOLOR_WINDOWSCOLORIDX, m_windowsColorIdx);
    // The colour itself goes through the system-colour rules of GetRGBColor/SetRGBColor.
    for (const DISPID dispid : {DISPID(eCOLOR_RGBCOLOR), DISPID(DISPID_VALUE)}) {
        addDeclaredProperty(
            dispid, [this] { return zorColorVariant(GetRGBColor()); },
            [this](const COleVariant& v) {
                SetRGBColor(zorColorOf(v));
                return S_OK;
            });
    }

    OnResetState();
    SetModifiedFlag(FALSE);
}

CColorCtrl::~CColorCtrl() = default;

OLE_COLOR CColorCtrl::GetRGBColor() const
{
    if (!m_useWindowsColor)
        return m_color & 0xFFFFFF;
    if (validRow(m_windowsColorIdx)) {
        const int n = CSysColor::getSysColorVal(m_windowsColorIdx);
        return (static_cast<DWORD>(n) << 24) | (GetSysColor(n) & 0xFFFFFF);
    }
    return GetSysColor(0) & 0xFFFFFF;
}

void CColorCtrl::SetRGBColor(OLE_COLOR value)
{
    if (value < 0x1000000) {
        m_useWindowsColor = 0;
        m_windowsColorIdx = -1;
        m_color = value;
    } else {
        const int n = static_cast<int>(value >> 24);
        m_useWindowsColor = 1;
        m_windowsColorIdx = -1;
        for (int row = 0; row < CSysColor::c_nColors; ++row) {
            if (CSysColor::getSysColorVal(row) == n) {
                m_windowsColorIdx = row;
                break;
            }
        }
        if (m_windowsColorIdx >= 0)
            m_color = (static_cast<DWORD>(n) << 24) | (GetSysColor(n) & 0xFFFFFF);
    }
    // The callers repaint.
    SetModifiedFlag();
}

COLORREF CColorCtrl::shownColor() const
{
    if (m_useWindowsColor)
        return CSysColor::getRGB(validRow(m_windowsColorIdx) ? m_windowsColorIdx : -1);
    return m_color & 0xFFFFFF;
}

std::string CColorCtrl::shownText() const
{
    if (m_useWindowsColor)
        return CSysColor::getShortName(m_windowsColorIdx);
    return CSysColor::formatHex(shownColor());
}

void CColorCtrl::DoPropExchange(CPropExchange* pPX)
{
    DWORD version = c_dwWidgetsVersion;
    pPX->ExchangeVersion(version, c_dwWidgetsVersion, true);
    PX_Long(pPX, "ShowHexValue", m_showHexValue, 1);
    PX_Long(pPX, "UseWindowsColor", m_useWindowsColor, 0);
    PX_Long(pPX, "WindowsColorIdx", m_windowsColorIdx, 0);
    PX_Font(pPX, "Font", m_persistedFont, zorPersistedFontDefault());
    PX_Color(pPX, "RGBColor", m_color, 0xFFFFFF);
    exchangeStockProps(pPX);
}

std::vector<CLSID> CColorCtrl::GetPropPageIDs() const
{
    return {zorSuiteGuid(c_nColorControl, eROLE_PAGE1), CLSID_StockFontPage,
        zorSuiteGuid(c_nColorControl, eROLE_PAGE2)};
}

void CColorCtrl::OnDraw(CDC* pdc, const CRect& rcBounds, const CRect&)
{
    const COLORREF face = GetSysColor(COLOR_BTNFACE);
    CPen facePen(PS_SOLID, 1, face);
    CBrush faceBrush(face);
    CDCGuard guard(pdc, CDCGuard::wholeState);
    guard.select(&facePen);
    guard.select(&faceBrush);
    pdc->Rectangle(&rcBounds);

    if (m_showHexValue) {
        drawBox(pdc, rcBounds, 1, false);
        CRect inner(rcBounds);
        inner.DeflateRect(2, 2);
        pdc->FillRect(&inner, &faceBrush);
        inner.DeflateRect(2, 2);
        pdc->IntersectClipRect(&inner);
    }
    CRect s = colorSwatchRect(rcBounds, m_showHexValue != 0);
    pdc->FillRect(&s, &faceBrush);

    drawBox(pdc, s, 1, !m_pressed);
    s.DeflateRect(3, 3);
    pdc->FillSolidRect(&s, shownColor());

    if (m_showHexValue) {
        CRect text(s.right + 8, s.top, rcBounds.right - 4, s.bottom);
        pdc->SetBkMode(TRANSPARENT);
        pdc->SetTextColor(GetSysColor(COLOR_BTNTEXT));
        CFont* oldFont = SelectStockFont(pdc);
        const UINT align = m_useWindowsColor ? DT_LEFT : DT_CENTER;
        pdc->DrawText(shownText(), &text, align | DT_SINGLELINE | DT_VCENTER);
        pdc->SelectObject(oldFont);
    }
}

CRect CColorCtrl::swatch() const
{
    CRect bounds;
    GetClientRect(&bounds);
    return colorSwatchRect(bounds, m_showHexValue != 0);
}

void CColorCtrl::OnLButtonDown(UINT nFlags, CPoint point)
{
    CRect swatchRect = swatch();
    if (!swatchRect.PtInRect(point))
        return;
    m_pressed = true;
    InvalidateControl(&swatchRect);
    UpdateWindow();

    bool systemSwitch = false;
    const LPARAM where = MAKELPARAM(point.x, point.y);
    if (m_useWindowsColor) {
        CSystemColorDialog dialog(this, m_windowsColorIdx, true);
        const INT_PTR result = dialog.DoModal();
        if (result == IDOK) {
            int row = dialog.selection();
            row = row < 0 ? 0 : (row >= CSysColor::c_nColors ? CSysColor::c_nColors - 1 : row);
            SetRGBColor(static_cast<DWORD>(CSysColor::getSysColorVal(row)) << 24);
            InvalidateControl();
        } else if (result == CSystemColorDialog::c_nSwitchResult) {
            m_useWindowsColor = 0;
            systemSwitch = true;
            PostMessage(WM_LBUTTONDOWN, nFlags, where);
        }
    } else {
        CCustomColorDialog dialog(m_color & 0xFFFFFF, this);
        const INT_PTR result = dialog.DoModal();
        if (result == IDOK) {
            SetRGBColor(dialog.GetColor());
            InvalidateControl();
        } else if (dialog.switched()) {
            m_useWindowsColor = 1;
            PostMessage(WM_LBUTTONDOWN, nFlags, where);
        }
    }

    m_pressed = false;
    InvalidateControl(&swatchRect);

    // Tells the container (a property page marks itself modified on it).
    if (!systemSwitch) {
        if (CWnd* parent = GetParent())
            parent->PostMessage(
                WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(), 0), reinterpret_cast<LPARAM>(GetSafeHwnd()));
    }
}

void CColorCtrl::OnLButtonDblClk(UINT, CPoint)
{
    // A double click does nothing beyond its two single clicks.
}

LRESULT CColorCtrl::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    constexpr WPARAM c_keySpace = 0x20;
    if (wParam == c_keySpace && message == WM_KEYDOWN) {
        m_spaceDown = true;
        return 0;
    }
    if (wParam == c_keySpace && message == WM_KEYUP && m_spaceDown) {
        m_spaceDown = false;
        notifyParent(BN_CLICKED);
        return 0;
    }
    if (message == WM_KILLFOCUS)
        m_spaceDown = false;
    return COleControl::WindowProc(message, wParam, lParam);
}

void CColorCtrl::OnOcmCommand(WPARAM wParam, LPARAM lParam)
{
    if (HIWORD(static_cast<DWORD>(wParam)) == 0)
        FireClick();
    COleControl::OnOcmCommand(wParam, lParam);
}
