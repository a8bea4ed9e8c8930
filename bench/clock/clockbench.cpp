// clockbench: the clock's once-a-second update against a full repaint of its face, in one run.
// A 300 x 300 face with its border, date line and title, drawn on an image that stands for the
// window's picture, with the direction table of the module zordial29:
//
// - BM_SecondUpdate: an update within the same minute, as each timer tick makes it: the second
//   hand drawn twice in exclusive-or on the client context (the first line takes the old hand
//   away, the second draws the new one). Target: under 50 us, and under a tenth of a full
//   repaint.
// - BM_FullRepaint: the whole face drawn as a paint draws it: the window's background, the
//   border box, 60 marks, the hour and minute hands with their shadows, "AM"/"PM", the date
//   line, the title and the second hand.
//
// At the end the program prints the best times of both, their ratio and whether the targets
// hold. Run by hand: build/bench/zorbench_clock.

#include "clock/analogclock.h"
#include "clock/clockowner.h"
#include "platform/gdi/dc.h"
#include "platform/gdi/syscolor.h"
#include "platform/module/module.h"

#include <QtGui/QImage>
#include <QtWidgets/QApplication>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>

namespace {

constexpr int c_size = 300;

// The window's picture: the client context draws on it; invalidations are only counted (a full
// repaint is what BM_FullRepaint measures).
class CPictureOwner : public CClockOwner
{
public:
    CPictureOwner() : picture(c_size, c_size, QImage::Format_RGB32), dc(&picture) { }
    void drawOnClient(const std::function<void(CDC*)>& draw, const CRect&) override { draw(&dc); }
    void invalidateOwner() override { ++invalidations; }
    ZorClockDevice clientDevice() const override
    {
        CDC screen;
        return {screen.GetDeviceCaps(HORZRES), screen.GetDeviceCaps(VERTRES),
            screen.GetDeviceCaps(HORZSIZE), screen.GetDeviceCaps(VERTSIZE)};
    }
    QImage picture;
    CDC dc;
    int invalidations {0};
};

struct Bench
{
    Bench(HMODULE module) : face(owner, module)
    {
        face.setTitle("New York");
        face.layout(0, 0, c_size, c_size);
        face.update(at(0));
        paint();
    }
    void paint()
    {
        owner.dc.FillSolidRect(0, 0, c_size, c_size, GetSysColor(COLOR_3DFACE));
        face.draw(&owner.dc, true);
    }
    static COleDateTime at(int second) { return COleDateTime(2002, 6, 5, 10, 20, second % 60); }

    CPictureOwner owner;
    CAnalogClock face;
    int second {0};
};

Bench* s_bench = nullptr;

void secondUpdate()
{
    s_bench->face.update(Bench::at(++s_bench->second));
}

void BM_SecondUpdate(benchmark::State& state)
{
    const int repaints = s_bench->owner.invalidations;
    for (auto _ : state) {
        secondUpdate();
        benchmark::ClobberMemory();
    }
    if (s_bench->owner.invalidations != repaints)
        state.SkipWithError("an update within the minute repainted in full");
}
BENCHMARK(BM_SecondUpdate)->Unit(benchmark::kMicrosecond);

void BM_FullRepaint(benchmark::State& state)
{
    for (auto _ : state) {
        s_bench->paint();
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_FullRepaint)->Unit(benchmark::kMicrosecond);

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

} // namespace

int main(int argc, char** argv)
{
    // Drawn offscreen: no display is needed and none is touched.
    if (std::getenv("QT_QPA_PLATFORM") == nullptr)
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
    QApplication application(argc, argv);
    HMODULE module = LoadLibraryA(ZOR_CLOCK_MODULE);
    if (!module) {
        std::fprintf(
            stderr, "cannot load %s: %s\n", ZOR_CLOCK_MODULE, zorModuleLoadError().c_str());
        return 1;
    }
    Bench bench(module);
    if (!bench.face.tableLoaded())
        return 1;
    s_bench = &bench;
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();

    const double update = bestOf(2000, secondUpdate);
    const double repaint = bestOf(500, [] { s_bench->paint(); });
    const double ratio = update / repaint;
    std::printf("second update %.1f us, full repaint %.1f us, ratio %.3f: %s\n", update, repaint,
        ratio, update < 50.0 && ratio < 0.1 ? "targets met" : "targets missed");
    return 0;
}
