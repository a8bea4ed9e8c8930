#pragma once

// Drawing one plot of the graph: the line through the points that have a value, broken at
// every empty point, and a small cross on the first point after a gap (point 0 never gets
// one, and a single point between two gaps shows only its cross). A plain function, so that
// tests and the timing program draw a plot without a control.

#include "controls/graph/graphscale.h"
#include "platform/gdi/gdiobjects.h"

#include <vector>

// What the drawing reuses from plot to plot, so that drawing allocates nothing per point.
struct GraphPlotScratch
{
    std::vector<POINT> run;
    std::vector<POINT> crosses;
};

// Draws the plot's points first - 1 .. last (the segments ending at first .. last and the
// crosses on them) with a one-pixel pen of the colour. The context has the graph mapping
// selected and keeps it; its pen comes back as it was.
void zorGraphDrawPlot(CDC* pdc, const GraphMapping& mapping, const LONG* values, LONG count,
    LONG first, LONG last, COLORREF color, GraphPlotScratch* scratch);
