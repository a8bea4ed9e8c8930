// graphbench: how fast the graph control draws. A 1000 x 400 graph with five plots of 480
// points each (five days of quarter hours, a few gaps), created by class id from the module and
// shown offscreen:
//
// - BM_FullRepaint: the whole control drawn (background, axes, value and time labels, grid,
//   plots) into an image through its draw operation. Target: under 2 ms.
// - BM_StripRepaint: a live setDataPoint through dispatch whose value keeps the scale, and the
//   repaint of the strip it invalidates, through the draw operation. Target: under 0.2 ms.
// - BM_LiveStripRepaint: the same with the repaint going through the window system's paint
//   (the event loop, the window's paint buffer and its copy to the screen).
// - BM_PlotsOnly and BM_PlotsRawQPainter: the five plots alone drawn by the graph's plot code
//   through the device context, and the same polylines (with the same crosses) drawn by a
//   plain QPainter on a QImage. Target: the graph within 1.5 times QPainter's time.
//
// At the end the program prints the best times of the plots against QPainter and their ratio.
// Registration goes to a temporary store. Run by hand: build/bench/zorbench_graph.

#include "controls/graph/graphplot.h"
#include "controls/graph/graphscale.h"

#include "platform/gdi/dc.h"
#include "platform/module/module.h"
#include "platform/ole/factory.h"
#include "platform/ole/oleinit.h"
#include "platform/ole/site.h"
#include "platform/ui/winapp.h"
#include "platform/ui/window.h"

#include <QtCore/QCoreApplication>
#include <QtCore/QTemporaryDir>
#include <QtGui/QImage>
#include <QtGui/QPaintEvent>
#include <QtGui/QPainter>
#include <QtWidgets/QApplication>
#include <QtWidgets/QWidget>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <array>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <vector>

namespace {

constexpr const char* c_graphId = "{01540154-0000-0000-0029-000000000004}";
constexpr int c_width = 1000;
constexpr int c_height = 400;
constexpr LONG c_points = 480;
constexpr DISPID c_setTimeAndInterval = 19;
constexpr DISPID c_setNumDataPoints = 21;
constexpr DISPID c_setPlotColor = 22;
constexpr DISPID c_setDataPoint = 24;
constexpr COLORREF c_colors[c_nGraphPlots] = {0x0000FF, 0x008000, 0xFF0000, 0x0080FF, 0x800080};

using Plots = std::array<std::vector<LONG>, c_nGraphPlots>;

// Latencies between 5 and 60 ms wandering per plot, each plot with a gap or two.
Plots makePlots()
{
    Plots plots;
    std::mt19937 random(29);
    std::uniform_int_distribution<int> step(-150, 150);
    for (int p = 0; p < c_nGraphPlots; ++p) {
        LONG value = 1500 + 800 * p;
        for (LONG i = 0; i < c_points; ++i) {
            value = std::clamp<LONG>(value + step(random), 500, 6000);
            const bool gap = (i >= 100 + 40 * p && i < 110 + 40 * p) || i == 300 + p;
            plots[p].push_back(gap ? c_lEmptyPoint : value);
        }
    }
    return plots;
}

COleVariant colorArg(DWORD value)
{
    COleVariant v;
    v.vt = VT_UI4;
    v.ulVal = value;
    return v;
}

// The rectangles the control's window is painted with.
class CPaintRecorder : public QObject
{
public:
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == QEvent::Paint) {
            const QRect r = static_cast<QPaintEvent*>(event)->rect();
            last = CRect(r.left(), r.top(), r.right() + 1, r.bottom() + 1);
            ++paints;
        }
        return false;
    }
    CRect last;
    int paints {0};
};

struct Bench
{
    CWnd host;
    COleControlSite site;
    Plots plots;
    CPaintRecorder recorder;
    CRect bounds {0, 0, c_width, c_height};
};

Bench* s_bench = nullptr;

bool setPoint(LONG plot, LONG index, LONG value)
{
    COleVariant result;
    zorInvoke(s_bench->site.dispatch(), c_setDataPoint, DISPATCH_METHOD,
        {COleVariant(plot), COleVariant(index), COleVariant(value)}, &result);
    return result.vt == VT_UI1 && result.bVal == 1;
}

bool createGraph()
{
    Bench& b = *s_bench;
    if (!b.host.CreateEx(0, "GraphBench", "", WS_POPUP, b.bounds, nullptr, 0))
        return false;
    b.host.ShowWindow(SW_SHOW);
    if (FAILED(b.site.create(c_graphId, "", &b.host, b.bounds, 100)))
        return false;
    IDispatch* graph = b.site.dispatch();
    zorInvoke(graph, c_setNumDataPoints, DISPATCH_METHOD, {COleVariant(c_points)});
    zorInvoke(graph, c_setTimeAndInterval, DISPATCH_METHOD,
        {COleVariant("12/07/2026 00:00"), COleVariant(15L)});
    b.plots = makePlots();
    for (int p = 0; p < c_nGraphPlots; ++p) {
        zorInvoke(graph, c_setPlotColor, DISPATCH_METHOD,
            {COleVariant(static_cast<long>(p)), colorArg(c_colors[p])});
        for (LONG i = 0; i < c_points; ++i) {
            if (b.plots[p][i] != c_lEmptyPoint)
                setPoint(p, i, b.plots[p][i]);
        }
    }
    b.site.control()->widget()->installEventFilter(&b.recorder);
    QCoreApplication::processEvents();
    return true;
}

// A point in the middle of plot 2 between two values that leave the scale as it is.
LONG nextValue()
{
    static bool high = false;
    high = !high;
    return high ? 2600 : 2500;
}
constexpr LONG c_stripPlot = 2;
constexpr LONG c_stripIndex = 240;

void BM_FullRepaint(benchmark::State& state)
{
    QImage image(c_width, c_height, QImage::Format_RGB32);
    CDC dc(&image);
    COleControl* graph = s_bench->site.control();
    for (auto _ : state) {
        graph->OnDraw(&dc, s_bench->bounds, s_bench->bounds);
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_FullRepaint)->Unit(benchmark::kMicrosecond);

void BM_StripRepaint(benchmark::State& state)
{
    QImage image(c_width, c_height, QImage::Format_RGB32);
    CDC dc(&image);
    COleControl* graph = s_bench->site.control();
    graph->OnDraw(&dc, s_bench->bounds, s_bench->bounds);
    // The strip the point invalidates, as its window is told.
    setPoint(c_stripPlot, c_stripIndex, nextValue());
    QCoreApplication::processEvents();
    const CRect strip = s_bench->recorder.last;
    if (strip.Width() >= c_width / 2) {
        state.SkipWithError("the point repainted more than its strip");
        return;
    }
    for (auto _ : state) {
        if (!setPoint(c_stripPlot, c_stripIndex, nextValue())) {
            state.SkipWithError("setDataPoint refused the value");
            break;
        }
        graph->OnDraw(&dc, s_bench->bounds, strip);
        benchmark::ClobberMemory();
    }
    state.counters["stripWidth"] = strip.Width();
    QCoreApplication::processEvents();
}
BENCHMARK(BM_StripRepaint)->Unit(benchmark::kMicrosecond);

void BM_LiveStripRepaint(benchmark::State& state)
{
    CPaintRecorder& recorder = s_bench->recorder;
    for (auto _ : state) {
        const int paints = recorder.paints;
        setPoint(c_stripPlot, c_stripIndex, nextValue());
        QCoreApplication::processEvents();
        if (recorder.paints == paints) {
            state.SkipWithError("no paint");
            break;
        }
    }
    state.counters["stripWidth"] = recorder.last.Width();
}
BENCHMARK(BM_LiveStripRepaint)->Unit(benchmark::kMicrosecond);

// Twice the character height of the default title font, as the control's line height.
int defaultLineHeight()
{
    LOGFONT logFont;
    logFont.lfHeight = 8;
    logFont.lfWeight = FW_NORMAL;
    std::snprintf(logFont.lfFaceName, LF_FACESIZE, "%s", "MS Sans Serif");
    CFont font;
    font.CreateFontIndirect(&logFont);
    CDC dc;
    dc.SelectObject(&font);
    TEXTMETRIC metrics;
    dc.GetTextMetrics(&metrics);
    return 2 * metrics.tmHeight;
}

// The graph mapping of the control's bounds, as the control makes it.
GraphMapping plotMapping(const Plots& plots)
{
    LONG smallest = c_lRangeSmallestStart;
    LONG largest = c_lRangeLargestStart;
    for (const auto& plot : plots)
        zorGraphAccumulateRange(plot.data(), plot.size(), &smallest, &largest);
    LONG digits = 2;
    const GraphScale scale = zorGraphScale(smallest, largest, false, &digits);
    GraphMapping mapping;
    zorGraphMapping(CRect(0, 0, c_width, c_height), defaultLineHeight(), c_points, scale, &mapping);
    return mapping;
}

void drawPlots(CDC* dc, const GraphMapping& mapping, GraphPlotScratch* scratch)
{
    for (int p = 0; p < c_nGraphPlots; ++p) {
        zorGraphDrawPlot(
            dc, mapping, s_bench->plots[p].data(), c_points, 0, c_points - 1, c_colors[p], scratch);
    }
}

// The same lines in device pixels: per plot its runs and its crosses.
struct DevicePlot
{
    QColor color;
    std::vector<QPolygon> runs;
    std::vector<QLine> crosses;
};

std::vector<DevicePlot> devicePlots(const GraphMapping& mapping)
{
    CDC dc;
    zorGraphSelectMapping(&dc, mapping);
    std::vector<DevicePlot> result;
    for (int p = 0; p < c_nGraphPlots; ++p) {
        const std::vector<LONG>& values = s_bench->plots[p];
        DevicePlot plot;
        plot.color = QColor(c_colors[p] & 0xFF, (c_colors[p] >> 8) & 0xFF, c_colors[p] >> 16);
        QPolygon run;
        for (LONG i = 0; i < c_points; ++i) {
            if (values[i] == c_lEmptyPoint) {
                if (run.size() > 1)
                    plot.runs.push_back(run);
                run.clear();
                continue;
            }
            POINT point {i * 100, values[i]};
            dc.LPtoDP(&point);
            if (i > 0 && values[i - 1] == c_lEmptyPoint) {
                plot.crosses.emplace_back(point.x - 2, point.y, point.x + 1, point.y);
                plot.crosses.emplace_back(point.x, point.y - 2, point.x, point.y + 1);
            }
            run << QPoint(point.x, point.y);
        }
        if (run.size() > 1)
            plot.runs.push_back(run);
        result.push_back(std::move(plot));
    }
    return result;
}

void drawRaw(QImage* image, const std::vector<DevicePlot>& plots)
{
    QPainter painter(image);
    painter.setRenderHint(QPainter::Antialiasing, false);
    for (const DevicePlot& plot : plots) {
        painter.setPen(QPen(plot.color, 0));
        for (const QPolygon& run : plot.runs)
            painter.drawPolyline(run);
        painter.drawLines(plot.crosses.data(), static_cast<int>(plot.crosses.size()));
    }
}

void BM_PlotsOnly(benchmark::State& state)
{
    QImage image(c_width, c_height, QImage::Format_RGB32);
    image.fill(Qt::white);
    CDC dc(&image);
    const GraphMapping mapping = plotMapping(s_bench->plots);
    zorGraphSelectMapping(&dc, mapping);
    GraphPlotScratch scratch;
    for (auto _ : state) {
        drawPlots(&dc, mapping, &scratch);
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_PlotsOnly)->Unit(benchmark::kMicrosecond);

void BM_PlotsRawQPainter(benchmark::State& state)
{
    QImage image(c_width, c_height, QImage::Format_RGB32);
    image.fill(Qt::white);
    const std::vector<DevicePlot> plots = devicePlots(plotMapping(s_bench->plots));
    for (auto _ : state) {
        drawRaw(&image, plots);
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_PlotsRawQPainter)->Unit(benchmark::kMicrosecond);

// The best of many runs, in microseconds.
template<typename F> double bestOf(int runs, F work)
{
    double best = 1e300;
    for (int i = 0; i < runs; ++i) {
        const auto start = std::chrono::steady_clock::now();
        work();
        const std::chrono::duration<double, std::micro> took
            = std::chrono::steady_clock::now() - start;
        best = std::min(best, took.count());
    }
    return best;
}

void comparePlots()
{
    QImage image(c_width, c_height, QImage::Format_RGB32);
    image.fill(Qt::white);
    CDC dc(&image);
    const GraphMapping mapping = plotMapping(s_bench->plots);
    zorGraphSelectMapping(&dc, mapping);
    GraphPlotScratch scratch;
    const std::vector<DevicePlot> plots = devicePlots(mapping);
    const double graph = bestOf(500, [&] { drawPlots(&dc, mapping, &scratch); });
    const double raw = bestOf(500, [&] { drawRaw(&image, plots); });
    std::printf("plots: graph %.1f us, QPainter %.1f us, ratio %.2f\n", graph, raw, graph / raw);
}

} // namespace

int main(int argc, char** argv)
{
    // Painted offscreen: no display is needed and none is touched.
    if (std::getenv("QT_QPA_PLATFORM") == nullptr)
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
    QTemporaryDir store;
    setenv("ZORVEX_REGISTRY", store.path().toStdString().c_str(), 1);
    QApplication application(argc, argv);
    AfxOleInit();
    AfxEnableControlContainer();
    HMODULE module = LoadLibraryA(ZOR_WIDGETS_MODULE);
    const auto registerServer = module
        ? reinterpret_cast<ZorDllRegisterServer>(GetProcAddress(module, "DllRegisterServer"))
        : nullptr;
    if (!registerServer || FAILED(registerServer())) {
        std::fprintf(stderr, "cannot register %s\n", ZOR_WIDGETS_MODULE);
        return 1;
    }
    Bench bench;
    s_bench = &bench;
    if (!createGraph()) {
        std::fprintf(stderr, "cannot create the graph\n");
        return 1;
    }
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    comparePlots();
    bench.site.destroy();
    bench.host.DestroyWindow();
    return 0;
}
