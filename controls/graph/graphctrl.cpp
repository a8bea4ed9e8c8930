#include "controls/graph/graphctrl.h"

#include "controls/frame/widgetids.h"
#include "controls/frame/widgetstypelib.h"
#include "framework/drawing/drawbox.h"
#include "framework/drawing/syscolor.h"
#include "platform/gdi/dc.h"
#include "platform/gdi/dcguard.h"
#include "platform/ole/proppage.h"

#include <algorithm>
#include <climits>
#include <cstdlib>

namespace {

const char* name(DISPID dispid)
{
    return zorPropertyName(zorGraphTypeInfo(), dispid);
}

// Whether text reaching over `reach` can touch the area being painted.
bool touches(const CRect& reach, const CRect& rcInvalid)
{
    CRect overlap;
    return overlap.IntersectRect(reach, rcInvalid);
}

constexpr size_t c_maxFaceInObject = 128;

} // namespace

CGraphCtrl::CGraphCtrl()
{
    setTypeInfo(zorGraphTypeInfo());
    addInterface(zorSuiteGuid(c_nGraphControl, eROLE_DISPATCH));
    m_plotColor.fill(m_graphColor);
    m_textFontObject.setNotify([this] { copyFontBack(m_textFontObject, &m_text); });
    m_titleFontObject.setNotify([this] { copyFontBack(m_titleFontObject, &m_title); });

    const auto fonts = [this] { fontsChanged(); };
    bindProperty(eGRAPH_BACKGROUNDCOLOR, m_backgroundColor);
    bindProperty(eGRAPH_GRAPHCAPTION, m_graphCaption);
    bindProperty(eGRAPH_GRAPHCOLOR, m_graphColor);
    bindProperty(eGRAPH_GRIDCOLOR, m_gridColor);
    bindProperty(eGRAPH_SCALECOLOR, m_scaleColor);
    bindProperty(eGRAPH_SHOWCAPTION, m_showCaption);
    bindProperty(eGRAPH_SHOWGRID, m_showGrid);
    bindProperty(eGRAPH_BOXBORDER, m_boxBorder);
    bindProperty(eGRAPH_TEXTFONTFACE, m_text.face, fonts);
    bindProperty(eGRAPH_TEXTFONTSIZE, m_text.size, fonts);
    bindProperty(eGRAPH_TEXTFONTBOLD, m_text.bold, fonts);
    bindProperty(eGRAPH_TITLEFONTFACE, m_title.face, fonts);
    bindProperty(eGRAPH_TITLEFONTSIZE, m_title.size, fonts);
    bindProperty(eGRAPH_TITLEFONTBOLD, m_title.bold, fonts);
    bindProperty(eGRAPH_MINVAL0, m_minVal0);
    bindProperty(eGRAPH_YDIGITS, m_yDigits, [this] { m_valueLabelsStale = true; });
    addDeclaredProperty(
        eGRAPH_TEXTFONT, [this] { return fontObject(m_textFontObject, &m_textFontDispatch); },
        [this](const COleVariant&) { return fontAssigned(); });
    addDeclaredProperty(
        eGRAPH_TITLEFONT, [this] { return fontObject(m_titleFontObject, &m_titleFontDispatch); },
        [this](const COleVariant&) { return fontAssigned(); });

    addDeclaredMethod(eGRAPH_SETTIMEANDINTERVAL, [this](const DISPPARAMS& params, COleVariant*) {
        setTimeAndInterval(params.args.at(0).bstrVal, params.args.at(1).lVal);
        return S_OK;
    });
    addDeclaredMethod(eGRAPH_SETTIMEANDINTERVAL2, [this](const DISPPARAMS& params, COleVariant*) {
        setTimeAndInterval2(params.args.at(0).date, params.args.at(1).lVal);
        return S_OK;
    });
    addDeclaredMethod(eGRAPH_SETNUMDATAPOINTS, [this](const DISPPARAMS& params, COleVariant*) {
        setNumDataPoints(params.args.at(0).lVal);
        return S_OK;
    });
    addDeclaredMethod(eGRAPH_SETPLOTCOLOR, [this](const DISPPARAMS& params, COleVariant*) {
        setPlotColor(params.args.at(0).lVal, zorColorOf(params.args.at(1)));
        return S_OK;
    });
    addDeclaredMethod(eGRAPH_CLEARPLOT, [this](const DISPPARAMS& params, COleVariant*) {
        clearPlot(params.args.at(0).lVal);
        return S_OK;
    });
    addDeclaredMethod(eGRAPH_SETDATAPOINT, [this](const DISPPARAMS& params, COleVariant* result) {
        const bool stored
            = setDataPoint(params.args.at(0).lVal, params.args.at(1).lVal, params.args.at(2).lVal);
        if (result)
            *result = COleVariant(static_cast<BYTE>(stored ? 1 : 0));
        return S_OK;
    });

    OnResetState();
    SetModifiedFlag(FALSE);
}

CGraphCtrl::~CGraphCtrl()
{
    // Font objects a container still holds keep their last description and stop editing.
    zorRelease(m_textFontDispatch);
    zorRelease(m_titleFontDispatch);
}

void CGraphCtrl::DoPropExchange(CPropExchange* pPX)
{
    DWORD version = c_dwWidgetsVersion;
    pPX->ExchangeVersion(version, c_dwWidgetsVersion, true);
    PX_Long(pPX, name(eGRAPH_SHOWCAPTION), m_showCaption, 0);
    PX_Long(pPX, name(eGRAPH_SHOWGRID), m_showGrid, 1);
    PX_String(pPX, name(eGRAPH_GRAPHCAPTION), m_graphCaption, "");
    PX_Color(pPX, name(eGRAPH_BACKGROUNDCOLOR), m_backgroundColor, 0xFFFFFF);
    PX_Color(pPX, name(eGRAPH_SCALECOLOR), m_scaleColor, 0x000000);
    PX_Color(pPX, name(eGRAPH_GRAPHCOLOR), m_graphColor, 0xFF0000);
    PX_Color(pPX, name(eGRAPH_GRIDCOLOR), m_gridColor, 0xFFFF00);
    PX_Long(pPX, name(eGRAPH_BOXBORDER), m_boxBorder, 1);
    PX_String(pPX, name(eGRAPH_TEXTFONTFACE), m_text.face, "MS Sans Serif");
    PX_Long(pPX, name(eGRAPH_TEXTFONTSIZE), m_text.size, 8);
    PX_Long(pPX, name(eGRAPH_TEXTFONTBOLD), m_text.bold, 0);
    PX_String(pPX, name(eGRAPH_TITLEFONTFACE), m_title.face, "MS Sans Serif");
    PX_Long(pPX, name(eGRAPH_TITLEFONTSIZE), m_title.size, 8);
    PX_Long(pPX, name(eGRAPH_TITLEFONTBOLD), m_title.bold, 0);
    PX_Long(pPX, name(eGRAPH_MINVAL0), m_minVal0, 0);
    PX_Long(pPX, name(eGRAPH_YDIGITS), m_yDigits, 2);
    // The font objects' defaults follow the face, size and bold just exchanged; what the
    // exchange puts into them is not a change by the container.
    m_exchanging = true;
    PX_Font(pPX, name(eGRAPH_TEXTFONT), m_textFontObject, fontDescOf(m_text));
    PX_Font(pPX, name(eGRAPH_TITLEFONT), m_titleFontObject, fontDescOf(m_title));
    m_exchanging = false;
    exchangeStockProps(pPX);
    if (pPX->IsLoading()) {
        fontsChanged();
        m_valueLabelsStale = true;
    }
}

std::vector<CLSID> CGraphCtrl::GetPropPageIDs() const
{
    return {zorSuiteGuid(c_nGraphControl, eROLE_PAGE2), zorSuiteGuid(c_nGraphControl, eROLE_PAGE1),
        CLSID_StockFontPage, zorSuiteGuid(c_nGraphControl, eROLE_PAGE3)};
}

int CGraphCtrl::OnCreate()
{
    if (COleControl::OnCreate() == -1)
        return -1;
    ensureFonts();
    m_plotColor.fill(m_graphColor);
    return 0;
}

// --- fonts ------------------------------------------------------------------------------------

FONTDESC CGraphCtrl::fontDescOf(const FontProperties& font)
{
    FONTDESC desc;
    desc.lpstrName = font.face.substr(0, c_maxFaceInObject);
    desc.cySize = std::llabs(static_cast<LONGLONG>(font.size)) * 10000;
    desc.sWeight = font.bold ? FW_BOLD : FW_NORMAL;
    desc.sCharset = 0;
    return desc;
}

void CGraphCtrl::ensureFonts()
{
    if (m_fontsBuilt)
        return;
    const auto logFontOf = [](const FontProperties& font) {
        LOGFONT logFont;
        logFont.lfHeight = std::clamp(font.size, -c_lMaxFontHeight, c_lMaxFontHeight);
        logFont.lfWeight = font.bold ? FW_BOLD : FW_NORMAL;
        font.face.copy(logFont.lfFaceName, LF_FACESIZE - 1);
        return logFont;
    };
    m_textFont.DeleteObject();
    m_titleFont.DeleteObject();
    const LOGFONT text = logFontOf(m_text);
    const LOGFONT title = logFontOf(m_title);
    m_textFont.CreateFontIndirect(&text);
    m_titleFont.CreateFontIndirect(&title);

    // The line height is twice the title font's character height on the screen.
    CDC screen;
    TEXTMETRIC metrics;
    CFont* old = screen.SelectObject(&m_titleFont);
    screen.GetTextMetrics(&metrics);
    m_lineHeight = 2 * metrics.tmHeight;
    screen.SelectObject(&m_textFont);
    screen.GetTextMetrics(&metrics);
    m_textHeight = metrics.tmHeight;
    screen.SelectObject(old);
    m_fontsBuilt = true;
}

void CGraphCtrl::copyFontBack(const CFontHolder& holder, FontProperties* font)
{
    if (m_exchanging)
        return;
    CDC screen;
    const LOGFONT logFont = holder.logFont(screen.GetDeviceCaps(LOGPIXELSY));
    font->size = logFont.lfHeight;
    font->bold = holder.desc().sWeight >= FW_BOLD ? 1 : 0;
    font->face = logFont.lfFaceName;
    fontsChanged();
    propertyChanged();
}

COleVariant CGraphCtrl::fontObject(CFontHolder& holder, IDispatch** dispatch)
{
    if (!*dispatch)
        *dispatch = holder.createFontDispatch();
    return COleVariant::makeDispatch(*dispatch);
}

HRESULT CGraphCtrl::fontAssigned()
{
    // The font object is not taken over: the fonts stay those of the face, size and bold
    // properties.
    fontsChanged();
    propertyChanged();
    return S_OK;
}

// --- methods ----------------------------------------------------------------------------------

void CGraphCtrl::setTimeAndInterval(const std::string& a_sTime, LONG a_nInterval)
{
    // A text that does not read leaves the start time invalid: no label texts then.
    m_startTime.ParseDateTime(a_sTime.c_str());
    m_interval = a_nInterval;
    m_timeLabelsStale = true;
}

void CGraphCtrl::setTimeAndInterval2(double a_time, LONG a_nInterval)
{
    m_startTime = COleDateTime(a_time);
    m_interval = a_nInterval;
    m_timeLabelsStale = true;
}

void CGraphCtrl::setNumDataPoints(LONG a_nPoints)
{
    if (a_nPoints <= 0 || a_nPoints > c_lMaxGraphPoints)
        return;
    // The arrays follow the day count: another count within the same days keeps them.
    const LONG days = a_nPoints / c_lPointsPerDay;
    if (days == m_days)
        return;
    m_days = days;
    for (std::vector<LONG>& plot : m_plots) {
        plot.assign(static_cast<std::size_t>(a_nPoints), c_lEmptyPoint);
        plot.shrink_to_fit();
    }
    m_points = a_nPoints;
    m_rangeKnown = false;
    m_timeLabelsStale = true;
}

void CGraphCtrl::setPlotColor(LONG a_nPlot, OLE_COLOR a_rgbColor)
{
    if (!validPlot(a_nPlot))
        return;
    m_plotColor[a_nPlot] = a_rgbColor;
    if (!m_plotInUse[a_nPlot])
        m_rangeKnown = false;
    m_plotInUse[a_nPlot] = true;
}

void CGraphCtrl::clearPlot(LONG a_lPlot)
{
    if (!validPlot(a_lPlot))
        return;
    m_plotInUse[a_lPlot] = false;
    std::fill(m_plots[a_lPlot].begin(), m_plots[a_lPlot].end(), c_lEmptyPoint);
    m_rangeKnown = false;
    recomputeScale();
}

bool CGraphCtrl::setDataPoint(LONG a_lPlot, LONG a_lIndex, LONG a_lValue)
{
    if (!validPlot(a_lPlot))
        return false;
    // A plot that is fed is in use, whether or not this value is taken.
    if (!m_plotInUse[a_lPlot])
        m_rangeKnown = false;
    m_plotInUse[a_lPlot] = true;
    std::vector<LONG>& plot = m_plots[a_lPlot];
    if (plot.empty() || a_lIndex < 0 || a_lIndex >= static_cast<LONG>(plot.size())
        || plot[a_lIndex] == a_lValue)
        return false;
    const LONG replaced = plot[a_lIndex];
    plot[a_lIndex] = a_lValue;
    updateRange(replaced, a_lValue);
    if (recomputeScale())
        InvalidateControl();
    else
        invalidateStrip(a_lIndex);
    return true;
}

// --- scale and repainting ------------------------------------------------------------------------

void CGraphCtrl::updateRange(LONG replaced, LONG value)
{
    if (!m_rangeKnown)
        return;
    // A value that held an end of the range may leave it: only a full scan knows the new end.
    if (replaced != c_lEmptyPoint) {
        const LONG old = zorGraphPlotValue(replaced);
        if (old <= m_rangeSmallest || old >= m_rangeLargest) {
            m_rangeKnown = false;
            return;
        }
    }
    zorGraphAccumulateRange(&value, 1, &m_rangeSmallest, &m_rangeLargest);
}

bool CGraphCtrl::recomputeScale()
{
    // Every value of every plot in use is scanned only when the range is not known; a single
    // new value inside it, or widening it, keeps it known (setDataPoint on a full graph).
    if (!m_rangeKnown) {
        m_rangeSmallest = c_lRangeSmallestStart;
        m_rangeLargest = c_lRangeLargestStart;
        for (int p = 0; p < c_nGraphPlots; ++p) {
            if (m_plotInUse[p])
                zorGraphAccumulateRange(
                    m_plots[p].data(), m_plots[p].size(), &m_rangeSmallest, &m_rangeLargest);
        }
        m_rangeKnown = true;
    }
    const LONG smallest = m_rangeSmallest;
    const LONG largest = m_rangeLargest;
    // No value at all: the axis stays as it was.
    if (largest < smallest)
        return false;
    // Raising the label digits is the scale's own business: it does not modify the control.
    const LONG digits = m_yDigits;
    const GraphScale scale = zorGraphScale(smallest, largest, m_minVal0 != 0, &m_yDigits);
    const bool changed = scale.minimum != m_scale.minimum || scale.maximum != m_scale.maximum
        || m_yDigits != digits;
    m_scale = scale;
    if (changed)
        m_valueLabelsStale = true;
    return changed;
}

void CGraphCtrl::invalidateStrip(LONG index)
{
    if (!GetSafeHwnd())
        return;
    ensureFonts();
    GraphMapping mapping;
    if (!m_drawn || !zorGraphMapping(m_bounds, m_lineHeight, m_points, m_scale, &mapping)) {
        InvalidateControl();
        return;
    }
    const CRect strip = zorGraphStripRect(mapping, m_scale, index);
    InvalidateControl(&strip);
}

// --- drawing ------------------------------------------------------------------------------------

void CGraphCtrl::OnDraw(CDC* pdc, const CRect& rcBounds, const CRect& rcInvalid)
{
    ensureFonts();
    m_bounds = rcBounds;
    m_drawn = true;
    // Only the invalid area is painted; what lies outside it stays as it is on the screen.
    CDCGuard saved(pdc, CDCGuard::wholeState);
    pdc->IntersectClipRect(&rcInvalid);
    drawBackground(pdc, rcBounds);

    saved.select(&m_textFont);
    pdc->SetBkMode(TRANSPARENT);
    pdc->SetTextColor(CSysColor::getColor(m_scaleColor));
    if (m_showCaption)
        drawCaption(pdc, rcInvalid);

    GraphMapping mapping;
    if (m_points <= 0 || m_scale.maximum < m_scale.minimum
        || !zorGraphMapping(m_bounds, m_lineHeight, m_points, m_scale, &mapping))
        return;
    zorGraphSelectMapping(pdc, mapping);
    CPen scalePen(PS_SOLID, 1, CSysColor::getColor(m_scaleColor));
    {
        CDCGuard pen(pdc);
        pen.select(&scalePen);
        drawAxes(pdc, mapping);
        drawValueLabels(pdc, mapping, rcInvalid);
        drawTimeLabels(pdc, mapping, rcInvalid);
    }
    drawPlots(pdc, mapping, rcInvalid);
}

void CGraphCtrl::drawBackground(CDC* pdc, const CRect& rcBounds)
{
    CBrush background(CSysColor::getColor(m_backgroundColor));
    pdc->FillRect(&rcBounds, &background);
    if (!m_boxBorder)
        return;
    drawBox(pdc, rcBounds, 3, false);
    CRect inside(rcBounds);
    inside.DeflateRect(4, 4);
    pdc->IntersectClipRect(&inside);
    pdc->FillRect(&inside, &background);
}

void CGraphCtrl::drawCaption(CDC* pdc, const CRect& rcInvalid)
{
    // The caption's line lies within a line height below the top.
    if (!touches(
            CRect(m_bounds.left, m_bounds.top, m_bounds.right, m_bounds.top + 3 + m_lineHeight),
            rcInvalid))
        return;
    CDCGuard titleFont(pdc);
    titleFont.select(&m_titleFont);
    CRect area(m_bounds);
    area.top += 3;
    pdc->DrawText(m_graphCaption, &area, DT_CENTER | DT_TOP);
}

void CGraphCtrl::drawAxes(CDC* pdc, const GraphMapping& mapping)
{
    pdc->MoveTo(0, m_scale.minimum);
    pdc->LineTo(0, m_scale.maximum);
    pdc->MoveTo(0, m_scale.minimum);
    pdc->LineTo(mapping.xExtent, m_scale.minimum);
}

void CGraphCtrl::drawValueLabels(CDC* pdc, const GraphMapping& mapping, const CRect& rcInvalid)
{
    if (mapping.yExtent <= 0)
        return;
    if (m_valueLabelsStale) {
        zorGraphValueLabels(m_scale, m_yDigits, &m_valueLabels);
        m_valueLabelsStale = false;
    }
    // The labels start at device x 30 and end 4 pixels left of the axis.
    CPoint start(30, 30);
    pdc->DPtoLP(&start);
    const LONG margin = mapping.yExtent / 15;
    const LONG gridStep = mapping.xExtent / 24;
    const COLORREF grid = CSysColor::getColor(m_gridColor);
    for (const GraphValueLabel& label : m_valueLabels) {
        CRect text(start.x, label.y + margin, 0, label.y - margin);
        pdc->LPtoDP(&text);
        text.OffsetRect(-4, 0);
        CPoint axis(0, label.y);
        pdc->LPtoDP(&axis);

        zorGraphSelectDeviceMapping(pdc);
        // Right-aligned and vertically centred: the text ends at the rectangle's right.
        const int middle = (text.top + text.bottom) / 2;
        if (touches(CRect(INT_MIN / 2, middle - m_textHeight, text.right, middle + m_textHeight),
                rcInvalid))
            pdc->DrawText(label.text, &text, DT_RIGHT | DT_VCENTER | DT_SINGLELINE | DT_NOCLIP);
        pdc->MoveTo(axis.x - 3, axis.y);
        pdc->LineTo(axis.x, axis.y);
        zorGraphSelectMapping(pdc, mapping);

        if (m_showGrid && gridStep > 0) {
            for (LONG x = 0; x < mapping.xExtent; x += gridStep)
                pdc->SetPixel(x, label.y, grid);
        }
    }
}

void CGraphCtrl::drawTimeLabels(CDC* pdc, const GraphMapping& mapping, const CRect& rcInvalid)
{
    if (mapping.yExtent < 1)
        return;
    if (m_timeLabelsStale) {
        zorGraphTimeLabels(m_startTime, mapping.xExtent, m_days, &m_timeLabels);
        m_timeLabelsStale = false;
    }
    // Without a whole day of points there is no label step.
    if (m_timeLabels.empty())
        return;
    const LONG top = m_scale.minimum - mapping.yExtent / 60;
    const LONG bottom = m_scale.minimum - mapping.yExtent / 20;
    for (const GraphTimeLabel& label : m_timeLabels) {
        CRect text(label.x, top, label.x + 100, bottom);
        pdc->LPtoDP(&text);
        CPoint axis(label.x, m_scale.minimum);
        pdc->LPtoDP(&axis);

        zorGraphSelectDeviceMapping(pdc);
        // Left-aligned from the top, at most two lines (date above time).
        if (!label.text.empty()
            && touches(
                CRect(text.left, text.top, INT_MAX / 2, text.top + 2 * m_textHeight), rcInvalid))
            pdc->DrawText(label.text, &text, DT_LEFT | DT_TOP | DT_NOCLIP);
        pdc->MoveTo(axis);
        pdc->LineTo(axis.x, axis.y + 3);
        zorGraphSelectMapping(pdc, mapping);

        if (label.x != 0)
            drawGridColumn(pdc, mapping, label.x);
    }
    drawGridColumn(pdc, mapping, mapping.xExtent);
}

void CGraphCtrl::drawGridColumn(CDC* pdc, const GraphMapping& mapping, LONG x)
{
    const LONG step = mapping.yExtent / 20;
    if (!m_showGrid || step <= 0)
        return;
    const COLORREF grid = CSysColor::getColor(m_gridColor);
    for (LONG y = m_scale.minimum + step; y <= m_scale.maximum; y += step)
        pdc->SetPixel(x, y, grid);
}

void CGraphCtrl::drawPlots(CDC* pdc, const GraphMapping& mapping, const CRect& rcInvalid)
{
    // The points whose segments or crosses can reach the invalid area: its columns and the
    // cross's two pixels beyond, one point more on either side for the rounding.
    CPoint from(rcInvalid.left - 3, 0);
    CPoint to(rcInvalid.right + 3, 0);
    pdc->DPtoLP(&from);
    pdc->DPtoLP(&to);
    const LONG first = std::min(from.x, to.x) / 100 - 1;
    const LONG last = std::max(from.x, to.x) / 100 + 2;
    for (int p = 0; p < c_nGraphPlots; ++p) {
        if (!m_plotInUse[p] || m_plots[p].empty())
            continue;
        zorGraphDrawPlot(pdc, mapping, m_plots[p].data(), static_cast<LONG>(m_plots[p].size()),
            first, last, CSysColor::getColor(m_plotColor[p]), &m_plotScratch);
    }
}
