#pragma once

// The monitor's graph: the hosted graph control of the main window, reached only through its
// dispatch interface. Values are latencies in hundredths of a millisecond; one point stands for
// a quarter hour, 96 points for a day.

#include "platform/ole/site.h"
#include "platform/types/oledatetime.h"

class IGraph : public CZorControlWrapper
{
public:
    // The class the main window's template hosts.
    static constexpr const char* c_szProgId = "zorGraphControl.29";

    void setTimeAndInterval2(const COleDateTime& start, long interval);
    void setNumDataPoints(long points);
    void setPlotColor(long plot, DWORD color);
    void clearPlot(long plot);
    // False when the graph refused the point (outside the graph, or the value it already has).
    bool setDataPoint(long plot, long index, long value);
    void setMinVal0(long minVal0);
    void setYDigits(long digits);
    // Repaints the whole graph now.
    void repaint();
};
