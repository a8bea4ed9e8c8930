#include "monitor/igraph.h"

#include "platform/ole/control.h"

namespace {

// The members of the graph control's dispatch interface the monitor uses.
enum eGRAPHDISPID : DISPID {
    eGRAPH_MINVAL0 = 15,
    eGRAPH_YDIGITS = 16,
    eGRAPH_SETTIMEANDINTERVAL2 = 20,
    eGRAPH_SETNUMDATAPOINTS = 21,
    eGRAPH_SETPLOTCOLOR = 22,
    eGRAPH_CLEARPLOT = 23,
    eGRAPH_SETDATAPOINT = 24,
};

COleVariant colorArgument(DWORD color)
{
    COleVariant value;
    value.vt = VT_UI4;
    value.ulVal = color;
    return value;
}

} // namespace

void IGraph::setTimeAndInterval2(const COleDateTime& start, long interval)
{
    InvokeHelper(eGRAPH_SETTIMEANDINTERVAL2, {COleVariant(start), COleVariant(interval)});
}

void IGraph::setNumDataPoints(long points)
{
    InvokeHelper(eGRAPH_SETNUMDATAPOINTS, {COleVariant(points)});
}

void IGraph::setPlotColor(long plot, DWORD color)
{
    InvokeHelper(eGRAPH_SETPLOTCOLOR, {COleVariant(plot), colorArgument(color)});
}

void IGraph::clearPlot(long plot)
{
    InvokeHelper(eGRAPH_CLEARPLOT, {COleVariant(plot)});
}

bool IGraph::setDataPoint(long plot, long index, long value)
{
    COleVariant result;
    if (FAILED(InvokeHelper(eGRAPH_SETDATAPOINT,
            {COleVariant(plot), COleVariant(index), COleVariant(value)}, &result)))
        return false;
    return result.ChangeType(VT_I4) && result.lVal != 0;
}

void IGraph::setMinVal0(long minVal0)
{
    SetProperty(eGRAPH_MINVAL0, COleVariant(minVal0));
}

void IGraph::setYDigits(long digits)
{
    SetProperty(eGRAPH_YDIGITS, COleVariant(digits));
}

void IGraph::repaint()
{
    if (COleControlSite* s = site()) {
        if (COleControl* control = s->control()) {
            control->Invalidate(TRUE);
            control->UpdateWindow();
        }
    }
}
