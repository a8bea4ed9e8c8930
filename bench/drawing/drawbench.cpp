// drawbench: the device context against the same work done directly with QPainter, on a
// 1920 x 1080 true-colour image: 10,000 bevelled boxes (depth 3, sunken, as the controls draw
// their borders) and 100,000 line segments with a one-pixel pen, short ones (up to 64 pixels,
// like a graph's plot) and long ones (end points anywhere in the image).
//
// Each workload runs several times on a fresh image; the best run counts. The program prints
// both times and their ratio (the device context should take no more than twice QPainter's
// time). Run by hand: build/bench/zorbench_drawing [rounds].

#include "framework/drawing/drawbox.h"

#include "platform/gdi/dc.h"
#include "platform/gdi/gdiobjects.h"
#include "platform/gdi/syscolor.h"

#include <QtGui/QImage>
#include <QtGui/QPainter>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <random>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

constexpr int imageWidth = 1920;
constexpr int imageHeight = 1080;
constexpr int boxCount = 10000;
constexpr int lineCount = 100000;
constexpr int boxDepth = 3;
constexpr COLORREF boxFill = RGB(255, 255, 224);
constexpr COLORREF lineColor = RGB(0, 0, 160);

struct Segment
{
    int x1, y1, x2, y2;
};

std::vector<CRect> makeBoxes()
{
    std::mt19937 random(29);
    std::uniform_int_distribution<int> size(16, 160);
    std::vector<CRect> boxes;
    boxes.reserve(boxCount);
    for (int i = 0; i < boxCount; ++i) {
        const int width = size(random);
        const int height = size(random);
        const int left = std::uniform_int_distribution<int>(0, imageWidth - width)(random);
        const int top = std::uniform_int_distribution<int>(0, imageHeight - height)(random);
        boxes.emplace_back(left, top, left + width, top + height);
    }
    return boxes;
}

std::vector<Segment> makeSegments(int maxLength)
{
    std::mt19937 random(maxLength);
    std::uniform_int_distribution<int> xs(0, imageWidth - 1);
    std::uniform_int_distribution<int> ys(0, imageHeight - 1);
    std::uniform_int_distribution<int> step(-maxLength, maxLength);
    std::vector<Segment> segments;
    segments.reserve(lineCount);
    for (int i = 0; i < lineCount; ++i) {
        Segment s {xs(random), ys(random), 0, 0};
        if (maxLength > 0) {
            s.x2 = std::clamp(s.x1 + step(random), 0, imageWidth - 1);
            s.y2 = std::clamp(s.y1 + step(random), 0, imageHeight - 1);
        } else {
            s.x2 = xs(random);
            s.y2 = ys(random);
        }
        segments.push_back(s);
    }
    return segments;
}

QColor toQColor(COLORREF color)
{
    return QColor(GetRValue(color), GetGValue(color), GetBValue(color));
}

void boxesWithDeviceContext(QImage& image, const std::vector<CRect>& boxes)
{
    CDC dc(&image);
    for (const CRect& box : boxes)
        drawBox(&dc, box, boxDepth, false, boxFill);
}

// The same pixels as drawBox's sunken box, drawn with QPainter's own calls: the framed and
// filled rectangle, the bevel lines (QPainter includes a line's end point, so each line stops
// one pixel short) and the fill.
void boxesWithQPainter(QImage& image, const std::vector<CRect>& boxes)
{
    QPainter painter(&image);
    const QPen framePen(toQColor(GetSysColor(COLOR_WINDOWFRAME)), 0);
    const QPen highlightPen(toQColor(GetSysColor(COLOR_3DHILIGHT)), 0);
    const QPen shadowPen(toQColor(GetSysColor(COLOR_3DSHADOW)), 0);
    const QBrush fill(toQColor(boxFill));
    for (const CRect& box : boxes) {
        painter.save();
        painter.setPen(framePen);
        painter.setBrush(fill);
        painter.drawRect(QRect(box.left, box.top, box.Width() - 1, box.Height() - 1));
        int l = box.left, t = box.top, r = box.right - 1, b = box.bottom - 1;
        for (int ring = 0; ring < boxDepth; ++ring) {
            ++l, ++t, --r, --b;
            painter.setPen(shadowPen);
            painter.drawLine(l, b, l, t + 1);
            painter.drawLine(l, t, r - 1, t);
            painter.setPen(highlightPen);
            painter.drawLine(r, t, r, b - 1);
            painter.drawLine(r, b, l + 1, b);
        }
        painter.fillRect(QRect(l + 1, t + 1, r - l - 1, b - t - 1), fill);
        painter.restore();
    }
}

void linesWithDeviceContext(QImage& image, const std::vector<Segment>& segments)
{
    CDC dc(&image);
    CPen pen(PS_SOLID, 0, lineColor);
    CPen* oldPen = dc.SelectObject(&pen);
    for (const Segment& s : segments) {
        dc.MoveTo(s.x1, s.y1);
        dc.LineTo(s.x2, s.y2);
    }
    dc.SelectObject(oldPen);
}

void linesWithQPainter(QImage& image, const std::vector<Segment>& segments)
{
    QPainter painter(&image);
    painter.setPen(QPen(toQColor(lineColor), 0));
    for (const Segment& s : segments)
        painter.drawLine(s.x1, s.y1, s.x2, s.y2);
}

// The best of the rounds, in milliseconds; every round starts on a fresh white image.
double bestTime(int rounds, const std::function<void(QImage&)>& work)
{
    double best = 1e300;
    for (int round = 0; round < rounds; ++round) {
        QImage image(imageWidth, imageHeight, QImage::Format_RGB32);
        image.fill(Qt::white);
        const Clock::time_point start = Clock::now();
        work(image);
        const std::chrono::duration<double, std::milli> elapsed = Clock::now() - start;
        best = std::min(best, elapsed.count());
    }
    return best;
}

bool report(const char* name, double ours, double qpainter)
{
    const double ratio = ours / qpainter;
    std::printf("%-36s %10.2f ms %10.2f ms %8.2f %s\n", name, ours, qpainter, ratio,
        ratio <= 2.0 ? "ok" : "SLOW");
    return ratio <= 2.0;
}

} // namespace

int main(int argc, char** argv)
{
    const int rounds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 5;
    zorUseClassicSysColors(true);

    const std::vector<CRect> boxes = makeBoxes();
    const std::vector<Segment> shortSegments = makeSegments(64);
    const std::vector<Segment> longSegments = makeSegments(0);

    // The box workloads must paint the same pixels, or the comparison would be unfair.
    QImage ours(imageWidth, imageHeight, QImage::Format_RGB32);
    QImage theirs(imageWidth, imageHeight, QImage::Format_RGB32);
    ours.fill(Qt::white);
    theirs.fill(Qt::white);
    boxesWithDeviceContext(ours, boxes);
    boxesWithQPainter(theirs, boxes);
    std::printf("boxes paint the same pixels: %s\n", ours == theirs ? "yes" : "NO");

    std::printf("%-36s %13s %13s %8s\n", "workload (best of rounds)", "device context", "QPainter",
        "ratio");
    bool ok = report("10,000 drawBox (depth 3, sunken)",
        bestTime(rounds, [&](QImage& image) { boxesWithDeviceContext(image, boxes); }),
        bestTime(rounds, [&](QImage& image) { boxesWithQPainter(image, boxes); }));
    ok = report("100,000 lines up to 64 px",
             bestTime(rounds, [&](QImage& image) { linesWithDeviceContext(image, shortSegments); }),
             bestTime(rounds, [&](QImage& image) { linesWithQPainter(image, shortSegments); }))
        && ok;
    ok = report("100,000 lines anywhere",
             bestTime(rounds, [&](QImage& image) { linesWithDeviceContext(image, longSegments); }),
             bestTime(rounds, [&](QImage& image) { linesWithQPainter(image, longSegments); }))
        && ok;
    return ok ? 0 : 1;
}
