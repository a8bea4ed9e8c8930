#include "clock/clockctrl.h"

#include "clock/clockfontrecord.h"
#include "clock/clockids.h"
#include "clock/clocktypelib.h"
#include "clock/clockzone.h"
#include "framework/diagnostics/diagnostics.h"
#include "platform/gdi/dc.h"
#include "platform/gdi/syscolor.h"
#include "platform/ole/proppage.h"
#include "platform/types/clock.h"

namespace {

// The persisted stock font: "MS Sans Serif", 8 points, weight 400, character set 0, underlined.
FONTDESC persistedFontDefault()
{
    FONTDESC desc;
    desc.lpstrName = "MS Sans Serif";
    desc.cySize = 80000;
    desc.sWeight = 400;
    desc.sCharset = 0;
    desc.fUnderline = TRUE;
    return desc;
}

const char* name(DISPID dispid)
{
    return zorClockPropertyName(dispid);
}

bool inside(const CRect& inner, const CRect& outer)
{
    return inner.left >= outer.left && inner.top >= outer.top && inner.right <= outer.right
        && inner.bottom <= outer.bottom;
}

} // namespace

CClockCtrl::CClockCtrl() : m_face(*this, ZOR_THIS_MODULE()), m_font(persistedFontDefault())
{
    setTypeInfo(zorClockTypeInfo());
    addInterface(IID_IClock);
    stockClick(true);

    bindQuietly(eCLOCK_DIGITAL, m_digital, [this] { m_face.setDigital(m_digital != 0); });
    bindQuietly(eCLOCK_SHOWDATE, m_showDate, [this] { m_face.setShowTexts(m_showDate != 0); });
    bindProperty(eCLOCK_BACKGROUND, m_background, [this] { m_face.setBackground(m_background); });
    bindProperty(eCLOCK_FOREGROUND, m_foreground, [this] { m_face.setForeground(m_foreground); });
    bindProperty(eCLOCK_SHADOW, m_shadow, [this] { m_face.setShadow(m_shadow); });
    addDeclaredProperty(
        eCLOCK_ZONE, [this] { return COleVariant(static_cast<long>(m_zone)); },
        [this](const COleVariant& value) {
            m_zone = value.lVal;
            updateOffset();
            SetModifiedFlag();
            m_face.setZone(m_offsetMinutes);
            InvalidateControl();
            return S_OK;
        });
    bindProperty(eCLOCK_BORDER, m_border, [this] { m_border = m_border != 0; });

    addDeclaredMethod(eCLOCK_SETTIME,
        [this](const DISPPARAMS& params, COleVariant*) { return setTime(params.args.at(0).date); });
    addDeclaredMethod(eCLOCK_SETTITLE, [this](const DISPPARAMS& params, COleVariant*) {
        setTitle(params.args.at(0).bstrVal);
        return S_OK;
    });
    addDeclaredMethod(eCLOCK_SETFONT, [this](const DISPPARAMS& params, COleVariant*) {
        return setFont(params.args.at(0).bstrVal);
    });
    addDeclaredMethod(eCLOCK_SHOWTEXT, [this](const DISPPARAMS& params, COleVariant*) {
        showText(params.args.at(0).lVal);
        return S_OK;
    });

    OnResetState();
    SetModifiedFlag(FALSE);
}

CClockCtrl::~CClockCtrl() = default;

void CClockCtrl::bindQuietly(DISPID dispid, LONG& member, std::function<void()> apply)
{
    addDeclaredProperty(
        dispid, [&member] { return COleVariant(static_cast<long>(member)); },
        [this, &member, apply](const COleVariant& value) {
            member = value.lVal;
            SetModifiedFlag();
            apply();
            return S_OK;
        });
}

void CClockCtrl::DoPropExchange(CPropExchange* pPX)
{
    DWORD version = c_dwClockVersion;
    pPX->ExchangeVersion(version, c_dwClockVersion, true);
    PX_Color(pPX, name(eCLOCK_FOREGROUND), m_foreground, 0x800000);
    PX_Color(pPX, name(eCLOCK_BACKGROUND), m_background, 0xC0C0C0);
    PX_Color(pPX, name(eCLOCK_SHADOW), m_shadow, 0xFFFFFF);
    PX_Font(pPX, "Font", m_font, persistedFontDefault());
    PX_Long(pPX, name(eCLOCK_SHOWDATE), m_showDate, 1);
    PX_Long(pPX, name(eCLOCK_DIGITAL), m_digital, 0);
    PX_Long(pPX, name(eCLOCK_ZONE), m_zone, -300);
    PX_Bool(pPX, name(eCLOCK_BORDER), m_border, TRUE);
    exchangeStockProps(pPX);
}

std::vector<CLSID> CClockCtrl::GetPropPageIDs() const
{
    return {CLSID_zorClockPropPage, CLSID_StockFontPage, CLSID_zorClockAboutPropPage};
}

// --- window -----------------------------------------------------------------------------------

int CClockCtrl::OnCreate()
{
    if (COleControl::OnCreate() == -1)
        return -1;
    updateOffset();
    SetModifiedFlag();
    m_face.setZone(m_offsetMinutes);
    InvalidateControl();
    m_face.setBackground(m_background);
    m_face.setForeground(m_foreground);
    m_face.setShadow(m_shadow);
    m_face.setShowTexts(m_showDate != 0);
    m_face.setDigital(m_digital != 0);
    CRect client;
    GetClientRect(&client);
    m_face.layout(client.left, client.top, client.right, client.bottom);
    SetTimer(c_nTimerId, 1000);
    return 0;
}

void CClockCtrl::OnSize(UINT nType, int cx, int cy)
{
    COleControl::OnSize(nType, cx, cy);
    m_face.layout(0, 0, cx, cy);
}

void CClockCtrl::OnTimer(UINT_PTR)
{
    // Every timer message is a tick.
    m_face.update(zoneTime(COleDateTime::GetCurrentTime()));
}

BOOL CClockCtrl::OnEraseBkgnd(CDC*)
{
    // The picture covers the whole window.
    return TRUE;
}

void CClockCtrl::OnDraw(CDC* pdc, const CRect& rcBounds, const CRect& rcInvalid)
{
    const CSize size = rcBounds.Size();
    if (size.cx <= 0 || size.cy <= 0)
        return;
    const QSize pictureSize(size.cx, size.cy);
    // A paint that only shows what the second hand's move drew keeps the picture; any other
    // draws the face into it afresh.
    const bool keep = m_picture.size() == pictureSize && !m_clientDrawn.IsRectEmpty()
        && inside(rcInvalid, m_clientDrawn);
    m_clientDrawn.SetRectEmpty();
    if (!keep) {
        if (m_picture.size() != pictureSize)
            m_picture = QImage(pictureSize, QImage::Format_RGB32);
        CDC dc(&m_picture);
        // Without its border the face lies on the window's own background.
        dc.FillSolidRect(0, 0, size.cx, size.cy, GetSysColor(COLOR_3DFACE));
        m_face.draw(&dc, m_border != 0);
    }
    CDC picture(&m_picture);
    pdc->BitBlt(rcBounds.left, rcBounds.top, size.cx, size.cy, &picture, 0, 0, SRCCOPY);
}

void CClockCtrl::drawOnClient(const std::function<void(CDC*)>& draw, const CRect& area)
{
    if (m_picture.isNull() || !GetSafeHwnd())
        return;
    CDC dc(&m_picture);
    draw(&dc);
    CRect shown;
    if (!shown.IntersectRect(area, CRect(0, 0, m_picture.width(), m_picture.height())))
        return;
    m_clientDrawn.UnionRect(m_clientDrawn, shown);
    InvalidateRect(&shown, FALSE);
}

void CClockCtrl::invalidateOwner()
{
    InvalidateControl();
}

ZorClockDevice CClockCtrl::clientDevice() const
{
    // The screen the window is on: a client context measures the display, not the window.
    CDC screen;
    return {screen.GetDeviceCaps(HORZRES), screen.GetDeviceCaps(VERTRES),
        screen.GetDeviceCaps(HORZSIZE), screen.GetDeviceCaps(VERTSIZE)};
}

// --- zone and time ----------------------------------------------------------------------------

void CClockCtrl::updateOffset()
{
    m_offsetMinutes = zorOffsetMinutes(m_zone, zorMachineZoneBias(zorTimeNow()));
}

COleDateTime CClockCtrl::zoneTime(const COleDateTime& local) const
{
    return local + COleDateTimeSpan(0, 0, m_offsetMinutes, 0);
}

HRESULT CClockCtrl::setTime(double a_time)
{
    const COleDateTime time(a_time);
    if (time.GetStatus() != COleDateTime::valid)
        return E_INVALIDARG;
    SetModifiedFlag();
    m_face.update(zoneTime(time));
    return S_OK;
}

void CClockCtrl::setTitle(const std::string& a_pTitle)
{
    SetModifiedFlag();
    m_face.setTitle(a_pTitle);
    InvalidateControl();
}

HRESULT CClockCtrl::setFont(const std::string& a_pFont)
{
    LOGFONT font;
    if (!zorClockFontFromRecord(a_pFont, &font))
        return E_INVALIDARG;
    m_face.setFont(font);
    return S_OK;
}

void CClockCtrl::showText(LONG a_bShowText)
{
    m_face.setShowTexts(a_bShowText != 0);
}

// --- mouse ------------------------------------------------------------------------------------

LRESULT CClockCtrl::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    // The window layer has no handler of its own for a right double click.
    if (message == WM_RBUTTONDBLCLK) {
        const ZorModuleState state(controlModule());
        OnRButtonDblClk();
    }
    return COleControl::WindowProc(message, wParam, lParam);
}

void CClockCtrl::OnLButtonDown(UINT nFlags, CPoint point)
{
    m_captured = true;
    SetCapture();
    consoleOut("CLOCK l Button Down");
    FireEvent(eCLOCKEVENT_LBUTTONDOWN, {COleVariant(0L)});
    COleControl::OnLButtonDown(nFlags, point);
}

void CClockCtrl::OnLButtonDblClk(UINT nFlags, CPoint point)
{
    consoleOut("CLOCK l Button DblClk");
    FireEvent(eCLOCKEVENT_LBUTTONDOWN, {COleVariant(1L)});
    COleControl::OnLButtonDblClk(nFlags, point);
}

void CClockCtrl::OnLButtonUp(UINT nFlags, CPoint point)
{
    m_captured = false;
    ReleaseCapture();
    consoleOut("CLOCK l Button Up");
    FireEvent(eCLOCKEVENT_LBUTTONUP);
    COleControl::OnLButtonUp(nFlags, point);
}

void CClockCtrl::OnRButtonDown(UINT nFlags, CPoint point)
{
    consoleOut("CLOCK r Button Down");
    FireEvent(eCLOCKEVENT_RBUTTONDOWN, {COleVariant(0L)});
    COleControl::OnRButtonDown(nFlags, point);
}

void CClockCtrl::OnRButtonDblClk()
{
    consoleOut("CLOCK r Button DblClk");
    FireEvent(eCLOCKEVENT_RBUTTONDOWN, {COleVariant(1L)});
}

void CClockCtrl::OnMouseMove(UINT nFlags, CPoint point)
{
    if (m_captured) {
        consoleOut("CLOCK MouseMove");
        FireEvent(eCLOCKEVENT_MOUSEMOVE);
    }
    COleControl::OnMouseMove(nFlags, point);
}
