#include "controls/graph/graphscale.h"

#include "platform/gdi/dc.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>

namespace {

struct ScaleStep
{
    LONG spanBelow;
    LONG step;
    LONG minDigits; // the value labels' digits are raised to this; 0 leaves them
};

// The step of the value axis by the span of the data.
constexpr ScaleStep c_steps[] = {
    {20, 20, 2},
    {50, 50, 1},
    {100, 100, 1},
    {1000, 500, 0},
    {5000, 1000, 0},
    {10000, 2000, 0},
};
constexpr ScaleStep c_largestStep {0, 2500, 0};

// A value rounded down to a multiple of the step: the integer division toward zero, one step
// lower for a negative value that is not a multiple.
LONG alignDown(LONG value, LONG step)
{
    LONG aligned = value / step * step;
    if (value < 0 && aligned != value)
        aligned -= step;
    return aligned;
}

constexpr const char* c_szDateAndTime = "%m/%d/%y\r%H:%M";
constexpr const char* c_szTime = "%H:%M";
constexpr double c_minutesPerDay = 24.0 * 60.0;

} // namespace

LONG zorGraphPlotValue(LONG value)
{
    return std::clamp(value, -c_lGraphValueLimit, c_lGraphValueLimit);
}

void zorGraphAccumulateRange(const LONG* values, std::size_t count, LONG* smallest, LONG* largest)
{
    LONG low = *smallest;
    LONG high = *largest;
    for (std::size_t i = 0; i < count; ++i) {
        if (values[i] == c_lEmptyPoint)
            continue;
        const LONG value = zorGraphPlotValue(values[i]);
        if (value > high)
            high = value;
        if (value < low)
            low = value;
    }
    *smallest = low;
    *largest = high;
}

GraphScale zorGraphScale(LONG smallest, LONG largest, bool minVal0, LONG* yDigits)
{
    smallest = zorGraphPlotValue(smallest);
    largest = zorGraphPlotValue(largest);
    if (minVal0 && smallest > 0)
        smallest = 0;
    GraphScale scale;
    scale.span = largest - smallest;
    const ScaleStep* chosen = &c_largestStep;
    for (const ScaleStep& step : c_steps) {
        if (scale.span < step.spanBelow) {
            chosen = &step;
            break;
        }
    }
    scale.minimum = alignDown(smallest, chosen->step);
    scale.maximum = largest / chosen->step * chosen->step + chosen->step;
    if (yDigits && *yDigits < chosen->minDigits)
        *yDigits = chosen->minDigits;
    return scale;
}

LONG zorGraphYExtent(const GraphScale& scale)
{
    return scale.maximum - scale.minimum;
}

bool zorGraphMapping(const CRect& bounds, int lineHeight, LONG points, const GraphScale& scale,
    GraphMapping* mapping)
{
    GraphMapping m;
    m.viewportOrg = CPoint(60, bounds.bottom - lineHeight * 3 / 2);
    // Negative: values grow upward.
    m.viewportExt = CSize(bounds.right - 35, 2 * lineHeight - bounds.bottom);
    m.xExtent = points * 100;
    m.windowOrg = CPoint(0, scale.minimum);
    m.yExtent = zorGraphYExtent(scale);
    if (m.yExtent < 1)
        return false;
    m.windowExt = CSize(m.xExtent + m.xExtent / 15, m.yExtent + m.yExtent / 15);
    *mapping = m;
    return true;
}

void zorGraphSelectMapping(CDC* pdc, const GraphMapping& mapping)
{
    pdc->SetMapMode(MM_ANISOTROPIC);
    pdc->SetViewportOrg(mapping.viewportOrg);
    pdc->SetViewportExt(mapping.viewportExt);
    pdc->SetWindowOrg(mapping.windowOrg);
    pdc->SetWindowExt(mapping.windowExt);
}

void zorGraphSelectDeviceMapping(CDC* pdc)
{
    pdc->SetMapMode(MM_TEXT);
    pdc->SetViewportOrg(0, 0);
    pdc->SetViewportExt(1, 1);
    pdc->SetWindowOrg(0, 0);
    pdc->SetWindowExt(1, 1);
}

CRect zorGraphStripRect(const GraphMapping& mapping, const GraphScale& scale, LONG index)
{
    // Only the context's mapping is used: it converts as the control's window context does.
    CDC dc;
    zorGraphSelectMapping(&dc, mapping);
    CRect strip((index - 1) * 100, scale.maximum, (index + 1) * 100, scale.minimum);
    dc.LPtoDP(&strip);
    strip.NormalizeRect();
    strip.InflateRect(2, 2);
    return strip;
}

std::string zorGraphValueLabel(LONG value, LONG yDigits)
{
    // The sign goes in front of the whole text: C's remainder of a negative value is
    // negative and would otherwise show after the point ("-1.-50").
    const char* sign = value < 0 ? "-" : "";
    const long magnitude = std::labs(static_cast<long>(value));
    char text[48];
    if (yDigits == 0) {
        std::snprintf(text, sizeof text, "%ld ", static_cast<long>(value) / 100);
    } else {
        // A precision above 9 would only pad with zeros; a negative one means none.
        const int digits = static_cast<int>(std::min<LONG>(yDigits, 9));
        std::snprintf(
            text, sizeof text, "%s%ld.%.*ld ", sign, magnitude / 100, digits, magnitude % 100);
    }
    return text;
}

void zorGraphValueLabels(
    const GraphScale& scale, LONG yDigits, std::vector<GraphValueLabel>* labels)
{
    labels->clear();
    const LONG yExtent = zorGraphYExtent(scale);
    if (yExtent <= 0)
        return;
    const LONG step = std::max<LONG>(1, yExtent / 5);
    for (LONG y = scale.minimum; y <= scale.maximum; y += step)
        labels->push_back({y, zorGraphValueLabel(y, yDigits)});
}

LONG zorGraphLabelStep(LONG xExtent, LONG days)
{
    if (days <= 0)
        return 0;
    return days <= 2 ? xExtent / (days * 6) : xExtent / (days * 2);
}

void zorGraphTimeLabels(
    const COleDateTime& start, LONG xExtent, LONG days, std::vector<GraphTimeLabel>* labels)
{
    labels->clear();
    const LONG labelStep = zorGraphLabelStep(xExtent, days);
    if (labelStep <= 0)
        return;
    const LONG minutes = (labelStep / 100) * 15;
    const COleDateTimeSpan timeStep(minutes / c_minutesPerDay);
    COleDateTime t = start;
    int previousDay = t.GetDay();
    for (LONG x = 0; x < xExtent; x += labelStep) {
        GraphTimeLabel label {x, {}};
        if (t.GetStatus() == COleDateTime::valid) {
            const int day = t.GetDay();
            label.text = t.Format(x == 0 || day != previousDay ? c_szDateAndTime : c_szTime);
            previousDay = day;
        }
        labels->push_back(std::move(label));
        t += timeStep;
    }
}
