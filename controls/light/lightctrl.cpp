#include "controls/light/lightctrl.h"

#include "controls/frame/widgetids.h"
#include "controls/frame/widgetstypelib.h"
#include "controls/light/lightgeometry.h"
#include "framework/drawing/syscolor.h"
#include "platform/gdi/dc.h"
#include "platform/gdi/dcguard.h"
#include "platform/gdi/gdiobjects.h"
#include "platform/gdi/syscolor.h"
#include "platform/ole/factory.h"

CLightCtrl::CLightCtrl()
{
    setTypeInfo(zorLightTypeInfo());
    addInterface(zorSuiteGuid(c_nLightControl, eROLE_DISPATCH));
    stockClick(true);

    bindProperty(eLIGHT_COLOR, m_color);
    bindProperty(eLIGHT_BACKGROUND, m_background);
    addDeclaredProperty(
        eLIGHT_STATE, [this] { return COleVariant(static_cast<long>(m_state)); },
        [this](const COleVariant& v) {
            SetState(v.lVal);
            return S_OK;
        });
    addDeclaredMethod(eLIGHT_SETSTATECOLOR, [this](const DISPPARAMS& params, COleVariant*) {
        setStateColor(params.args.at(0).lVal, zorColorOf(params.args.at(1)));
        return S_OK;
    });
    // The value property is the off colour.
    bindProperty(DISPID_VALUE, m_color);

    OnResetState();
    SetModifiedFlag(FALSE);
}

CLightCtrl::~CLightCtrl() = default;

void CLightCtrl::SetState(LONG state)
{
    if (state == m_state)
        return;
    m_state = state;
    propertyChanged();
}

void CLightCtrl::setStateColor(LONG a_bState, OLE_COLOR a_rgbColor)
{
    if (a_bState)
        m_colorOn = a_rgbColor;
    else
        m_color = a_rgbColor;
    propertyChanged();
}

void CLightCtrl::DoPropExchange(CPropExchange* pPX)
{
    DWORD version = c_dwWidgetsVersion;
    pPX->ExchangeVersion(version, c_dwWidgetsVersion, true);
    PX_Long(pPX, "State", m_state, 0);
    PX_Color(pPX, "Color", m_color, 255);
    PX_Color(pPX, "ColorOn", m_colorOn, 65280);
    PX_Color(pPX, "Background", m_background, 0x0F0000FF);
    exchangeStockProps(pPX);
}

std::vector<CLSID> CLightCtrl::GetPropPageIDs() const
{
    return {zorSuiteGuid(c_nLightControl, eROLE_PAGE1), zorSuiteGuid(c_nLightControl, eROLE_PAGE2)};
}

void CLightCtrl::OnDraw(CDC* pdc, const CRect& rcBounds, const CRect&)
{
    CBrush background(CSysColor::getColor(m_background));
    pdc->FillRect(&rcBounds, &background);

    CRect r = zorLightSquare(rcBounds);

    // The bezel: the whole disc in the highlight colour...
    CPen highlightPen(PS_SOLID, 1, GetSysColor(COLOR_BTNHIGHLIGHT));
    CBrush highlightBrush(GetSysColor(COLOR_BTNHIGHLIGHT));
    CPen* oldPen = pdc->SelectObject(&highlightPen);
    CBrush* oldBrush = pdc->SelectObject(&highlightBrush);
    pdc->Ellipse(&r);

    // ...then its lower-right half, below the rising diagonal, in the shadow colour.
    CPen shadowPen(PS_SOLID, 1, GetSysColor(COLOR_BTNSHADOW));
    CBrush shadowBrush(GetSysColor(COLOR_BTNSHADOW));
    const POINT triangle[3] = {{r.left, r.bottom}, {r.right, r.top}, {r.right, r.bottom}};
    CRgn half;
    half.CreatePolygonRgn(triangle, 3, ALTERNATE);
    {
        CDCGuard clip(pdc, CDCGuard::wholeState);
        pdc->SelectClipRgn(&half);
        clip.select(&shadowPen);
        clip.select(&shadowBrush);
        pdc->Ellipse(&r);
    }

    // The lamp.
    const CRect lamp = zorLightLamp(r);
    CBrush lampBrush(CSysColor::getColor(m_state ? m_colorOn : m_color));
    pdc->SelectStockObject(NULL_PEN);
    pdc->SelectObject(&lampBrush);
    pdc->Ellipse(&lamp);

    pdc->SelectObject(oldPen);
    pdc->SelectObject(oldBrush);
}
