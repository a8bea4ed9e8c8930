#include "controls/graph/graphplot.h"

#include "platform/gdi/dc.h"

#include <algorithm>

void zorGraphDrawPlot(CDC* pdc, const GraphMapping& mapping, const LONG* values, LONG count,
    LONG first, LONG last, COLORREF color, GraphPlotScratch* scratch)
{
    // Point 0 starts the line; every later point draws from its predecessor.
    first = std::max<LONG>(first, 1);
    last = std::min<LONG>(last, count - 1);
    if (!values || first > last)
        return;

    CPen pen(PS_SOLID, 1, color);
    CPen* oldPen = pdc->SelectObject(&pen);
    std::vector<POINT>& run = scratch->run;
    std::vector<POINT>& crosses = scratch->crosses;
    run.clear();
    crosses.clear();
    // A run of points with values is one polyline: the same pixels as a line to each point.
    const auto drawRun = [&] {
        if (run.size() >= 2)
            pdc->Polyline(run.data(), static_cast<int>(run.size()));
        run.clear();
    };

    for (LONG i = first; i <= last; ++i) {
        if (values[i] == c_lEmptyPoint) {
            drawRun();
            continue;
        }
        const POINT point {i * 100, zorGraphPlotValue(values[i])};
        if (values[i - 1] != c_lEmptyPoint) {
            if (run.empty())
                run.push_back({(i - 1) * 100, zorGraphPlotValue(values[i - 1])});
            run.push_back(point);
        } else {
            // The first point after a gap: marked, and the line goes on from it.
            drawRun();
            crosses.push_back(point);
            run.push_back(point);
        }
    }
    drawRun();

    if (!crosses.empty()) {
        // The crosses are five pixels wide and high whatever the mapping.
        pdc->LPtoDP(crosses.data(), static_cast<int>(crosses.size()));
        zorGraphSelectDeviceMapping(pdc);
        for (const POINT& c : crosses) {
            pdc->MoveTo(c.x - 2, c.y);
            pdc->LineTo(c.x + 2, c.y);
            pdc->MoveTo(c.x, c.y - 2);
            pdc->LineTo(c.x, c.y + 2);
        }
        zorGraphSelectMapping(pdc, mapping);
    }
    pdc->SelectObject(oldPen);
}
