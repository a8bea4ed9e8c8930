#pragma once

// The graph: up to five line plots over a shared value axis and a time axis, with an optional
// caption, inside an optional 3-D frame. A host fixes the number of points (one per quarter
// hour, 96 make a day), the time of the first point and a colour per plot, then feeds single
// values; a value that leaves the scale as it was repaints only the strip around its point.
//
// Where the behaviour is this implementation's choice:
// - A cleared ShowGrid hides the grid dots of both axes.
// - With fewer than 96 points (no whole day) there are no time labels, ticks or vertical grid;
//   axes, value labels and plots are drawn as usual.
// - Negative values: the value axis runs from its minimum to its maximum (extent maximum -
//   minimum), a negative minimum aligned down to the step, so that a plot with negative values
//   is drawn whole; negative labels carry their sign in front ("-0.50 ").
// - A start time that is not valid (an unreadable text, a date out of range) shows the ticks
//   and the grid of the time axis without label texts.
// - A plot index outside 0..4 is refused: the method does nothing, setDataPoint returns false.
// - setNumDataPoints with a count of 0 or less, or above c_lMaxGraphPoints (a year of quarter
//   hours), is refused and changes nothing.
// - Face names are cut to the font system's 31 characters when the drawing fonts are made and
//   when a font object's face is copied back; the font heights drawn with are limited to
//   c_lMaxFontHeight pixels.
// - Grid dots and plot pens resolve system-colour references as every other colour does.
// - Values beyond +/- c_lGraphValueLimit are scaled and drawn at that limit.
// - A value that raises YDigits (the scale's labels change) repaints the whole control.

#include "controls/graph/graphplot.h"
#include "controls/graph/graphscale.h"
#include "platform/gdi/gdiobjects.h"
#include "platform/ole/control.h"
#include "platform/ole/factory.h"
#include "platform/types/oledatetime.h"

#include <array>
#include <string>
#include <vector>

class CGraphCtrl : public COleControl
{
public:
    // The largest font height, in pixels, the drawing fonts are made with.
    static constexpr LONG c_lMaxFontHeight = 1000;

    CGraphCtrl();
    ~CGraphCtrl() override;

    void OnDraw(CDC* pdc, const CRect& rcBounds, const CRect& rcInvalid) override;
    void DoPropExchange(CPropExchange* pPX) override;
    std::vector<CLSID> GetPropPageIDs() const override;
    int OnCreate() override;

    // Dispatch methods.
    void setTimeAndInterval(const std::string& a_sTime, LONG a_nInterval);
    void setTimeAndInterval2(double a_time, LONG a_nInterval);
    void setNumDataPoints(LONG a_nPoints);
    void setPlotColor(LONG a_nPlot, OLE_COLOR a_rgbColor);
    void clearPlot(LONG a_lPlot);
    bool setDataPoint(LONG a_lPlot, LONG a_lIndex, LONG a_lValue);

private:
    struct FontProperties
    {
        std::string face {"MS Sans Serif"};
        LONG size {8};
        LONG bold {0};
    };

    // Fonts.
    static FONTDESC fontDescOf(const FontProperties& font);
    // The drawing fonts are made again before the next use (a draw, a strip's mapping).
    void fontsChanged() { m_fontsBuilt = false; }
    void ensureFonts();
    // The font object's change notification: its face, height and weight become the
    // properties.
    void copyFontBack(const CFontHolder& holder, FontProperties* font);
    COleVariant fontObject(CFontHolder& holder, IDispatch** dispatch);
    HRESULT fontAssigned();

    // Scale and repainting.
    bool recomputeScale();
    // Keeps the known range after one point changed from `replaced` to `value`.
    void updateRange(LONG replaced, LONG value);
    void invalidateStrip(LONG index);
    static bool validPlot(LONG plot) { return plot >= 0 && plot < c_nGraphPlots; }

    // Drawing steps.
    void drawBackground(CDC* pdc, const CRect& rcBounds);
    void drawCaption(CDC* pdc, const CRect& rcInvalid);
    void drawAxes(CDC* pdc, const GraphMapping& mapping);
    void drawValueLabels(CDC* pdc, const GraphMapping& mapping, const CRect& rcInvalid);
    void drawTimeLabels(CDC* pdc, const GraphMapping& mapping, const CRect& rcInvalid);
    void drawGridColumn(CDC* pdc, const GraphMapping& mapping, LONG x);
    void drawPlots(CDC* pdc, const GraphMapping& mapping, const CRect& rcInvalid);

    CModuleLock m_moduleLock {ZOR_THIS_MODULE()};

    // Properties.
    LONG m_showCaption {0};
    LONG m_showGrid {1};
    std::string m_graphCaption;
    OLE_COLOR m_backgroundColor {0xFFFFFF};
    OLE_COLOR m_scaleColor {0x000000};
    OLE_COLOR m_graphColor {0xFF0000};
    OLE_COLOR m_gridColor {0xFFFF00};
    LONG m_boxBorder {1};
    FontProperties m_text;
    FontProperties m_title;
    LONG m_minVal0 {0};
    LONG m_yDigits {2};
    CFontHolder m_textFontObject;
    CFontHolder m_titleFontObject;
    IDispatch* m_textFontDispatch {nullptr};
    IDispatch* m_titleFontDispatch {nullptr};
    // While the properties are exchanged the font objects change without copying back.
    bool m_exchanging {false};

    // Data.
    std::array<std::vector<LONG>, c_nGraphPlots> m_plots;
    std::array<bool, c_nGraphPlots> m_plotInUse {};
    // The smallest and largest value of the plots in use, while known (see recomputeScale).
    LONG m_rangeSmallest {0};
    LONG m_rangeLargest {0};
    bool m_rangeKnown {false};
    std::array<OLE_COLOR, c_nGraphPlots> m_plotColor {};
    LONG m_points {0};
    LONG m_days {-1};
    COleDateTime m_startTime;
    LONG m_interval {0};
    GraphScale m_scale;

    // Drawing.
    CFont m_textFont;
    CFont m_titleFont;
    bool m_fontsBuilt {false};
    int m_lineHeight {0};
    int m_textHeight {0};
    CRect m_bounds;
    bool m_drawn {false};
    // Label texts, made again only when what they show changes.
    std::vector<GraphValueLabel> m_valueLabels;
    std::vector<GraphTimeLabel> m_timeLabels;
    bool m_valueLabelsStale {true};
    bool m_timeLabelsStale {true};
    GraphPlotScratch m_plotScratch;
};
