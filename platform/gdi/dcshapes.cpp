// The composite shapes of the device context: several polygons filled as one, the rounded
// rectangle and the ellipse parts (arc, chord, pie). Each is built from the polygon and line
// drawing of dc.cpp, so it follows the same pixel rules: the fill comes from the polygon scan
// conversion with the fill mode, the outline from one-pixel (or wide) pen lines.
//
// Curves are traced as polygons in logical units with one corner about every two device pixels
// along them, so a curve looks smooth at any mapping.

#include "platform/gdi/dc.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <vector>

namespace {

constexpr double c_pi = std::numbers::pi;

// Swaps the pen or brush for a stock one for the duration of one drawing step.
class CStockSwap
{
public:
    CStockSwap(CDC& dc, int stockPen, int stockBrush) : m_dc(dc)
    {
        if (stockPen >= 0)
            m_pen = m_dc.SelectObject(static_cast<CPen*>(GetStockObject(stockPen)));
        if (stockBrush >= 0)
            m_brush = m_dc.SelectObject(static_cast<CBrush*>(GetStockObject(stockBrush)));
    }
    ~CStockSwap()
    {
        if (m_pen)
            m_dc.SelectObject(m_pen);
        if (m_brush)
            m_dc.SelectObject(m_brush);
    }
    CStockSwap(const CStockSwap&) = delete;
    CStockSwap& operator=(const CStockSwap&) = delete;

private:
    CDC& m_dc;
    CPen* m_pen {nullptr};
    CBrush* m_brush {nullptr};
};

// How many corners a curve of the given logical radii gets: about one per two device pixels
// of the ellipse's circumference, at least 8 and at most 4096.
int curveSteps(const CDC& dc, double rx, double ry)
{
    CSize size(int(std::min(rx, 1e8)), int(std::min(ry, 1e8)));
    dc.LPtoDP(&size);
    const double circumference = 2 * c_pi * std::max(std::abs(size.cx), std::abs(size.cy));
    return int(std::clamp(circumference / 2, 8.0, 4096.0));
}

// The point of the ellipse (centre cx, cy; radii rx, ry) at the angle, counted
// counter-clockwise as seen on the screen from the positive x axis.
POINT ellipsePoint(double cx, double cy, double rx, double ry, double angle)
{
    return POINT {
        LONG(std::lround(cx + rx * std::cos(angle))), LONG(std::lround(cy - ry * std::sin(angle)))};
}

// The angle at which the ray from the centre through (x, y) leaves the ellipse.
double rayAngle(double cx, double cy, double rx, double ry, int x, int y)
{
    const double dx = (x - cx) / (rx > 0 ? rx : 1);
    const double dy = (cy - y) / (ry > 0 ? ry : 1);
    if (dx == 0 && dy == 0)
        return 0;
    return std::atan2(dy, dx);
}

// The arc's corners from the start ray to the end ray, counter-clockwise.
std::vector<POINT> arcPoints(
    const CDC& dc, int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4)
{
    const double left = std::min(x1, x2);
    const double right = std::max(x1, x2);
    const double top = std::min(y1, y2);
    const double bottom = std::max(y1, y2);
    const double cx = (left + right) / 2;
    const double cy = (top + bottom) / 2;
    const double rx = (right - left) / 2;
    const double ry = (bottom - top) / 2;
    const double start = rayAngle(cx, cy, rx, ry, x3, y3);
    double sweep = rayAngle(cx, cy, rx, ry, x4, y4) - start;
    if (sweep <= 0)
        sweep += 2 * c_pi;
    const int steps = std::max(2, int(curveSteps(dc, rx, ry) * sweep / (2 * c_pi)));
    std::vector<POINT> points;
    points.reserve(std::size_t(steps) + 1);
    for (int i = 0; i <= steps; ++i)
        points.push_back(ellipsePoint(cx, cy, rx, ry, start + sweep * i / steps));
    return points;
}

} // namespace

BOOL CDC::PolyPolygon(const POINT* lpPoints, const int* lpPolyCounts, int nCount)
{
    if (!lpPoints || !lpPolyCounts || nCount <= 0)
        return FALSE;
    // The fill is one polygon: each part joined to the first part's first corner by a line
    // walked there and back, which adds nothing to any point's crossing count.
    std::vector<POINT> joined;
    std::size_t first = 0;
    for (int i = 0; i < nCount; ++i) {
        const int n = lpPolyCounts[i];
        if (n < 2)
            return FALSE;
        const POINT* part = lpPoints + first;
        joined.insert(joined.end(), part, part + n);
        joined.push_back(part[0]);
        if (i > 0)
            joined.push_back(lpPoints[0]);
        first += std::size_t(n);
    }
    if (joined.size() > std::size_t(INT32_MAX))
        return FALSE;
    BOOL result = TRUE;
    {
        const CStockSwap noPen(*this, NULL_PEN, -1);
        result = Polygon(joined.data(), int(joined.size()));
    }
    const CStockSwap noBrush(*this, -1, NULL_BRUSH);
    first = 0;
    for (int i = 0; i < nCount && result; ++i) {
        result = Polygon(lpPoints + first, lpPolyCounts[i]);
        first += std::size_t(lpPolyCounts[i]);
    }
    return result;
}

BOOL CDC::RoundRect(int x1, int y1, int x2, int y2, int nWidth, int nHeight)
{
    const int left = std::min(x1, x2);
    const int right = std::max(x1, x2);
    const int top = std::min(y1, y2);
    const int bottom = std::max(y1, y2);
    // Corner ellipses larger than the rectangle are cut to it.
    const double rx = std::min(std::abs(double(nWidth)), double(right) - left) / 2;
    const double ry = std::min(std::abs(double(nHeight)), double(bottom) - top) / 2;
    if (rx < 1 || ry < 1)
        return Rectangle(left, top, right, bottom);
    // The outline runs on the last pixel inside the rectangle, as Rectangle's pen does.
    const double r = right - 1;
    const double b = bottom - 1;
    const int quarter = std::max(2, curveSteps(*this, rx, ry) / 4);
    std::vector<POINT> points;
    points.reserve(std::size_t(quarter + 1) * 4);
    const double centres[4][2]
        = {{r - rx, top + ry}, {left + rx, top + ry}, {left + rx, b - ry}, {r - rx, b - ry}};
    for (int c = 0; c < 4; ++c) {
        for (int i = 0; i <= quarter; ++i)
            points.push_back(ellipsePoint(
                centres[c][0], centres[c][1], rx, ry, c_pi / 2 * c + c_pi / 2 * i / quarter));
    }
    return Polygon(points.data(), int(points.size()));
}

BOOL CDC::Arc(int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4)
{
    const std::vector<POINT> points = arcPoints(*this, x1, y1, x2, y2, x3, y3, x4, y4);
    return Polyline(points.data(), int(points.size()));
}

BOOL CDC::Chord(int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4)
{
    const std::vector<POINT> points = arcPoints(*this, x1, y1, x2, y2, x3, y3, x4, y4);
    return Polygon(points.data(), int(points.size()));
}

BOOL CDC::Pie(int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4)
{
    std::vector<POINT> points = arcPoints(*this, x1, y1, x2, y2, x3, y3, x4, y4);
    points.push_back(POINT {LONG((std::int64_t(x1) + x2) / 2), LONG((std::int64_t(y1) + y2) / 2)});
    return Polygon(points.data(), int(points.size()));
}
