#include "platform/gdi/dc.h"

#include "platform/gdi/dc_p.h"

#include <QtGui/QGuiApplication>
#include <QtGui/QPainter>
#include <QtGui/QPolygon>
#include <QtGui/QScreen>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <limits>
#include <vector>

// Pens wider than one pixel draw, for lines, a square of the pen's width around every pixel of
// the one-pixel line and, for rectangles, a band of that width centred on the outline (inside
// it for PS_INSIDEFRAME). Styled pens of width 0 or 1 draw the platform's cosmetic patterns
// (dash 18 on 6 off, dot 3 on 3 off, ...) restarting at every segment, with the gaps in the
// background colour when the background mode is opaque; wider styled pens draw solid, as the
// platform's do. Ellipse outlines come from Qt's aliased ellipse in the bounding box the
// platform uses; the inside is everything between the outline's left and right pixels.

using zorgdi::Surface;

namespace {

// Beyond any image: the device area when a context has no target.
const QRect c_anyDevice(-0x4000000, -0x4000000, 0x8000000, 0x8000000);

bool isMonoTarget(const CBitmap* bitmap, const QImage* target)
{
    return bitmap && bitmap->isMonochrome() && target == &bitmap->image();
}

Surface makeSurface(QImage* target, const CDC::State& state, bool monochrome)
{
    Surface s;
    if (!target || target->isNull())
        return s;
    s.bits = reinterpret_cast<std::uint32_t*>(target->bits());
    s.stride = target->bytesPerLine() / 4;
    s.image = target->rect();
    s.monochrome = monochrome;
    if (state.hasClip) {
        s.bounds = state.clip.boundingRect() & s.image;
        if (state.clip.rectCount() > 1)
            s.region = &state.clip;
    } else {
        s.bounds = s.image;
    }
    return s;
}

void resetState(CDC::State& state)
{
    state = CDC::State();
    state.pen = static_cast<CPen*>(GetStockObject(BLACK_PEN));
    state.brush = static_cast<CBrush*>(GetStockObject(WHITE_BRUSH));
    state.font = static_cast<CFont*>(GetStockObject(SYSTEM_FONT));
}

// Device coordinates are kept within 2^28 pixels of the origin, far beyond any target, so the
// rectangle and polygon arithmetic on them cannot overflow whatever the logical coordinates
// (from a metafile, say) are.
constexpr long long c_deviceLimit = 1LL << 28;

int toDeviceAxis(int logical, int windowOrg, int windowExt, int viewportOrg, int viewportExt)
{
    const long long offset = std::clamp<long long>((long long)logical - windowOrg,
        std::numeric_limits<int>::min(), std::numeric_limits<int>::max());
    const long long scaled
        = windowExt == viewportExt ? offset : MulDiv(int(offset), viewportExt, windowExt);
    return int(std::clamp<long long>(scaled + viewportOrg, -c_deviceLimit, c_deviceLimit));
}

QPoint toDevice(const CDC::State& st, int x, int y)
{
    return QPoint(
        toDeviceAxis(x, st.windowOrg.x, st.windowExt.cx, st.viewportOrg.x, st.viewportExt.cx),
        toDeviceAxis(y, st.windowOrg.y, st.windowExt.cy, st.viewportOrg.y, st.viewportExt.cy));
}

QPoint toLogical(const CDC::State& st, int x, int y)
{
    if (st.windowExt == st.viewportExt)
        return QPoint(x - st.viewportOrg.x + st.windowOrg.x, y - st.viewportOrg.y + st.windowOrg.y);
    return QPoint(MulDiv(x - st.viewportOrg.x, st.windowExt.cx, st.viewportExt.cx) + st.windowOrg.x,
        MulDiv(y - st.viewportOrg.y, st.windowExt.cy, st.viewportExt.cy) + st.windowOrg.y);
}

QRect deviceRect(const CDC::State& st, int x1, int y1, int x2, int y2)
{
    const QPoint a = toDevice(st, x1, y1);
    const QPoint b = toDevice(st, x2, y2);
    return zorgdi::spanRect(a.x(), a.y(), b.x(), b.y());
}

// The isotropic mode keeps a logical unit equally long on both axes by shrinking the larger
// viewport extent.
void fixIsotropic(CDC::State& st, int dpiX, int dpiY)
{
    if (st.mapMode != MM_ISOTROPIC)
        return;
    const double xDim = std::fabs(double(st.viewportExt.cx) / st.windowExt.cx / dpiX);
    const double yDim = std::fabs(double(st.viewportExt.cy) / st.windowExt.cy / dpiY);
    auto shrink = [](LONG& ext, double factor) {
        const LONG sign = ext < 0 ? -1 : 1;
        LONG v = LONG(std::lround(std::fabs(double(ext)) * factor));
        ext = sign * (v < 1 ? 1 : v);
    };
    if (xDim > yDim)
        shrink(st.viewportExt.cx, yDim / xDim);
    else if (yDim > xDim)
        shrink(st.viewportExt.cy, xDim / yDim);
}

struct PenDraw
{
    bool visible {false};
    std::uint32_t color {0};
    std::uint32_t gapColor {0};
    bool opaqueGaps {false};
    int width {1}; // device pixels
    int style {PS_SOLID};
    int rop2 {R2_COPYPEN};
};

PenDraw penDraw(const CDC::State& st, bool monochrome)
{
    PenDraw p;
    const CPen* pen = st.pen;
    if (!pen || !pen->isCreated() || pen->style() == PS_NULL)
        return p;
    p.visible = true;
    p.color = zorgdi::toPixel(pen->color(), monochrome);
    p.gapColor = zorgdi::toPixel(st.bkColor, monochrome);
    p.opaqueGaps = st.bkMode == OPAQUE;
    p.style = pen->style();
    p.rop2 = st.rop2;
    if (pen->width() > 1) {
        const int w = std::abs(MulDiv(pen->width(), st.viewportExt.cx, st.windowExt.cx));
        p.width = w < 1 ? 1 : w;
    }
    if (p.width > 1 || p.style == PS_INSIDEFRAME)
        p.style = PS_SOLID;
    return p;
}

bool brushVisible(const CBrush* brush)
{
    return brush && brush->isCreated() && brush->style() != BS_NULL;
}

// The on and off runs of the cosmetic pen styles, in pixels.
bool styleOn(int style, int i)
{
    switch (style) {
    case PS_DASH:
        return i % 24 < 18;
    case PS_DOT:
        return i % 6 < 3;
    case PS_DASHDOT: {
        const int k = i % 24;
        return k < 9 || (k >= 15 && k < 18);
    }
    case PS_DASHDOTDOT: {
        const int k = i % 24;
        return k < 9 || (k >= 12 && k < 15) || (k >= 18 && k < 21);
    }
    default:
        return true;
    }
}

// Applies the colour to every set pixel of a mask covering the box.
void applyMask(const Surface& s, const QRect& box, const std::vector<std::uint8_t>& mask,
    std::uint32_t color, int rop2)
{
    s.forEachRect(box, [&](const QRect& r) {
        for (int y = r.top(); y <= r.bottom(); ++y) {
            const std::uint8_t* m = mask.data() + qsizetype(y - box.top()) * box.width();
            std::uint32_t* row = s.row(y);
            for (int x = r.left(); x <= r.right(); ++x) {
                if (m[x - box.left()])
                    row[x] = zorgdi::mixPen(rop2, color, row[x]);
            }
        }
    });
}

template<typename F>
void scanPolygon(const QPolygon& polygon, bool winding, const QRect& area, F span);

void drawWideLine(const Surface& s, QPoint a, QPoint b, const PenDraw& pen)
{
    const int w = pen.width;
    const int before = w / 2;
    const QRect line = QRect(
        QPoint(std::min(a.x(), b.x()) - before, std::min(a.y(), b.y()) - before),
        QPoint(std::max(a.x(), b.x()) - before + w - 1, std::max(a.y(), b.y()) - before + w - 1));
    // Only squares that can reach the clip matter: the runs cover the visible part alone.
    const QRect box = line & s.bounds;
    if (box.isEmpty())
        return;
    // The pen's square swept along a line covers a convex area, so each row of it is one run
    // of pixels: the work is the pixels drawn, not the box around them.
    std::vector<int> runLeft(std::size_t(box.height()), box.right() + 1);
    std::vector<int> runRight(std::size_t(box.height()), box.left() - 1);
    auto mark = [&](const QRect& area) {
        const QRect part = area & box;
        for (int row = part.top(); row <= part.bottom(); ++row) {
            const std::size_t i = std::size_t(row - box.top());
            runLeft[i] = std::min(runLeft[i], part.left());
            runRight[i] = std::max(runRight[i], part.right());
        }
    };
    auto apply = [&] {
        for (int row = box.top(); row <= box.bottom(); ++row) {
            const std::size_t i = std::size_t(row - box.top());
            if (runLeft[i] <= runRight[i])
                zorgdi::fillArea(s, QRect(QPoint(runLeft[i], row), QPoint(runRight[i], row)),
                    pen.color, pen.rop2);
        }
    };
    // A very wide pen sweeps the convex hull of its squares at both ends; walking it square by
    // square would cost the pen's width for every step, over a walk as long as the pen is wide.
    constexpr int c_walkedPenWidth = 64;
    if (w > c_walkedPenWidth) {
        auto at = [](long long v) { return int(std::clamp(v, -(1LL << 29), 1LL << 29)); };
        std::vector<QPoint> corners;
        for (const QPoint& p : {a, b}) {
            const long long l = (long long)p.x() - before;
            const long long t = (long long)p.y() - before;
            corners.push_back(QPoint(at(l), at(t)));
            corners.push_back(QPoint(at(l + w), at(t)));
            corners.push_back(QPoint(at(l + w), at(t + w)));
            corners.push_back(QPoint(at(l), at(t + w)));
        }
        std::sort(corners.begin(), corners.end(), [](const QPoint& p, const QPoint& q) {
            return p.x() != q.x() ? p.x() < q.x() : p.y() < q.y();
        });
        auto cross = [](const QPoint& o, const QPoint& p, const QPoint& q) {
            return (long long)(p.x() - o.x()) * (q.y() - o.y())
                - (long long)(p.y() - o.y()) * (q.x() - o.x());
        };
        QPolygon hull;
        for (int pass = 0; pass < 2; ++pass) {
            const qsizetype start = hull.size();
            for (const QPoint& p : corners) {
                while (hull.size() >= start + 2
                    && cross(hull[hull.size() - 2], hull[hull.size() - 1], p) <= 0)
                    hull.removeLast();
                hull.append(p);
            }
            hull.removeLast();
            std::reverse(corners.begin(), corners.end());
        }
        scanPolygon(hull, false, box,
            [&](int y, int left, int right) { mark(QRect(left, y, right - left, 1)); });
        apply();
        return;
    }
    // The band's rows from the walk's points grouped by row: a line's points on one row are
    // consecutive and its x moves one way only, so the squares reaching a row of the band are
    // those of a run of centre rows, and their x range is that of the run's two end rows.
    const QRect reach = box.adjusted(-w, -w, w, w);
    std::vector<int> centreLeft(std::size_t(reach.height()), std::numeric_limits<int>::max());
    std::vector<int> centreRight(std::size_t(reach.height()), std::numeric_limits<int>::min());
    int firstCentre = std::numeric_limits<int>::max();
    int lastCentre = std::numeric_limits<int>::min();
    zorgdi::walkLine(reach, a, b, [&](int, int x, int y) {
        const std::size_t i = std::size_t(y - reach.top());
        centreLeft[i] = std::min(centreLeft[i], x);
        centreRight[i] = std::max(centreRight[i], x);
        firstCentre = std::min(firstCentre, y);
        lastCentre = std::max(lastCentre, y);
    });
    for (int row = box.top(); row <= box.bottom(); ++row) {
        // The squares of centre rows row + before - w + 1 .. row + before cover this row.
        const int from = std::max(firstCentre, row + before - w + 1);
        const int to = std::min(lastCentre, row + before);
        if (from > to)
            continue;
        const std::size_t f = std::size_t(from - reach.top());
        const std::size_t t = std::size_t(to - reach.top());
        mark(QRect(QPoint(std::min(centreLeft[f], centreLeft[t]) - before, row),
            QPoint(std::max(centreRight[f], centreRight[t]) - before + w - 1, row)));
    }
    apply();
}

// One segment from a to b in device pixels, b excluded.
void drawLine(const Surface& s, QPoint a, QPoint b, const PenDraw& pen)
{
    if (!pen.visible || !s.valid() || a == b)
        return;
    if (pen.width > 1) {
        drawWideLine(s, a, b, pen);
        return;
    }
    if (pen.style == PS_SOLID) {
        if (a.y() == b.y()) {
            const int x0 = a.x() < b.x() ? a.x() : b.x() + 1;
            const int x1 = a.x() < b.x() ? b.x() - 1 : a.x();
            zorgdi::fillArea(s, QRect(QPoint(x0, a.y()), QPoint(x1, a.y())), pen.color, pen.rop2);
            return;
        }
        if (a.x() == b.x()) {
            const int y0 = a.y() < b.y() ? a.y() : b.y() + 1;
            const int y1 = a.y() < b.y() ? b.y() - 1 : a.y();
            zorgdi::fillArea(s, QRect(QPoint(a.x(), y0), QPoint(a.x(), y1)), pen.color, pen.rop2);
            return;
        }
        const QRegion* region = s.region;
        const int rop2 = pen.rop2;
        const std::uint32_t color = pen.color;
        zorgdi::walkLine(s.bounds, a, b, [&](int, int x, int y) {
            if (region && !region->contains(QPoint(x, y)))
                return;
            std::uint32_t* p = s.row(y) + x;
            *p = rop2 == R2_COPYPEN ? color : zorgdi::mixPen(rop2, color, *p);
        });
        return;
    }
    zorgdi::walkLine(s.bounds, a, b, [&](int i, int x, int y) {
        if (styleOn(pen.style, i))
            zorgdi::plot(s, x, y, pen.color, pen.rop2);
        else if (pen.opaqueGaps)
            zorgdi::plot(s, x, y, pen.gapColor, pen.rop2);
    });
}

// The outline pixels of an ellipse filling a box of the given size, and per row the span
// inside the outline.
struct EllipseShape
{
    std::vector<std::uint8_t> outline;
    std::vector<std::pair<int, int>> inside; // per row: [first, last) inside the outline
};

EllipseShape ellipseShape(int width, int height, int penWidth)
{
    EllipseShape shape;
    shape.outline.assign(std::size_t(width) * std::size_t(height), 0);
    shape.inside.assign(std::size_t(height), {0, 0});
    if (width <= 2 || height <= 2) {
        std::fill(shape.outline.begin(), shape.outline.end(), 1);
        return shape;
    }
    QImage mask(width, height, QImage::Format_ARGB32_Premultiplied);
    mask.fill(Qt::transparent);
    {
        QPainter painter(&mask);
        painter.setRenderHint(QPainter::Antialiasing, false);
        QPen qpen(Qt::white);
        qpen.setWidth(penWidth > 1 ? penWidth : 0);
        painter.setPen(qpen);
        painter.setBrush(Qt::NoBrush);
        painter.drawEllipse(QRect(0, 0, width - 1, height - 1));
    }
    for (int y = 0; y < height; ++y) {
        const auto* row = reinterpret_cast<const std::uint32_t*>(mask.constScanLine(y));
        std::uint8_t* m = shape.outline.data() + qsizetype(y) * width;
        int first = -1;
        int last = -1;
        for (int x = 0; x < width; ++x) {
            if (row[x] >> 24) {
                m[x] = 1;
                if (first < 0)
                    first = x;
                last = x;
            }
        }
        if (first < 0)
            continue;
        int from = first;
        while (from < width && m[from])
            ++from;
        int to = last;
        while (to > from && m[to - 1])
            --to;
        if (from < to)
            shape.inside[std::size_t(y)] = {from, to};
    }
    return shape;
}

// Applies a ternary raster operation without a source over the area.
void patternBlit(const Surface& s, const QRect& area, std::uint32_t code, std::uint32_t pattern)
{
    s.forEachRect(area, [&](const QRect& r) {
        for (int y = r.top(); y <= r.bottom(); ++y) {
            std::uint32_t* p = s.row(y) + r.left();
            std::uint32_t* const end = p + r.width();
            for (; p != end; ++p)
                *p = zorgdi::mixRop3(code, pattern, 0, *p);
        }
    });
}

// Calls span(y, left, right), right excluded, for every run of pixels of the rows first..last
// and the columns minX..maxX that the polygon fills. A pixel is filled when its integer
// coordinates lie inside; a pixel on an edge only when the inside lies to its right or below
// it, so polygons sharing an edge do not overlap (the rule of Qt's region scan conversion and of
// the platform's polygon fill). Only the asked rows are walked, however far the polygon reaches,
// and each edge's crossing is computed exactly.
template<typename F>
void scanPolygon(const QPolygon& polygon, bool winding, const QRect& area, F span)
{
    struct Edge
    {
        int top; // the first row the edge crosses
        int bottom; // the row after its last
        long long x; // where it starts at its top row
        long long y;
        long long dx; // its run over its rise
        long long dy; // positive
        int direction; // +1 downward, -1 upward
    };
    std::vector<Edge> edges;
    const qsizetype n = polygon.size();
    if (n < 3 || area.isEmpty())
        return;
    for (qsizetype i = 0; i < n; ++i) {
        QPoint a = polygon.at(i);
        QPoint b = polygon.at((i + 1) % n);
        if (a.y() == b.y())
            continue;
        const int direction = a.y() < b.y() ? 1 : -1;
        if (direction < 0)
            std::swap(a, b);
        if (b.y() <= area.top() || a.y() > area.bottom())
            continue;
        edges.push_back(Edge {std::max(a.y(), area.top()), std::min(b.y(), area.bottom() + 1),
            a.x(), a.y(), (long long)b.x() - a.x(), (long long)b.y() - a.y(), direction});
    }
    if (edges.empty())
        return;
    std::sort(
        edges.begin(), edges.end(), [](const Edge& e, const Edge& f) { return e.top < f.top; });
    int last = area.top();
    for (const Edge& e : edges)
        last = std::max(last, e.bottom - 1);
    std::vector<const Edge*> active;
    std::vector<std::pair<int, int>> crossings; // x, direction
    std::size_t next = 0;
    for (int y = edges.front().top; y <= last; ++y) {
        while (next < edges.size() && edges[next].top <= y)
            active.push_back(&edges[next++]);
        std::erase_if(active, [y](const Edge* e) { return e->bottom <= y; });
        crossings.clear();
        for (const Edge* e : active) {
            // The first whole x at or right of the edge on this row.
            const long long num = e->x * e->dy + (y - e->y) * e->dx;
            long long x = num / e->dy;
            if (x * e->dy < num)
                ++x;
            crossings.emplace_back(
                int(std::clamp<long long>(x, area.left(), area.right() + 1LL)), e->direction);
        }
        std::sort(crossings.begin(), crossings.end());
        int count = 0;
        int from = 0;
        for (const auto& [x, direction] : crossings) {
            const int before = count;
            count = winding ? count + direction : count ^ 1;
            if (before == 0)
                from = x;
            else if (count == 0 && x > from)
                span(y, from, x);
        }
    }
}

// Nearest source index for a destination index when n destination pixels show m source pixels.
inline int stretchIndex(int i, int n, int m, bool mirror)
{
    const int j = n == m ? i : int((2LL * i + 1) * m / (2LL * n));
    return mirror ? m - 1 - j : j;
}

} // namespace

CDC::CDC()
{
    resetState(m_state);
}

CDC::CDC(QImage* target)
{
    resetState(m_state);
    attachImage(target);
}

CDC::~CDC() = default;

void CDC::attachImage(QImage* target)
{
    if (target && !target->isNull() && target->format() != QImage::Format_RGB32)
        *target = target->convertToFormat(QImage::Format_RGB32);
    m_target = target;
    m_bitmap = nullptr;
    m_memory = false;
    m_defaultBitmap.reset();
}

BOOL CDC::CreateCompatibleDC(CDC* pDC)
{
    m_defaultBitmap = std::make_unique<CBitmap>();
    if (!m_defaultBitmap->CreateBitmap(1, 1, 1, 1, nullptr))
        return FALSE;
    m_memory = true;
    m_bitmap = m_defaultBitmap.get();
    m_target = &m_bitmap->image();
    if (pDC) {
        m_dpiX = pDC->m_dpiX;
        m_dpiY = pDC->m_dpiY;
    }
    resetState(m_state);
    m_saved.clear();
    return TRUE;
}

BOOL CDC::DeleteDC()
{
    const bool had = m_target || m_memory;
    m_target = nullptr;
    m_bitmap = nullptr;
    m_defaultBitmap.reset();
    m_memory = false;
    m_saved.clear();
    resetState(m_state);
    return had ? TRUE : FALSE;
}

void CDC::setDeviceResolution(int dpiX, int dpiY)
{
    if (dpiX > 0)
        m_dpiX = dpiX;
    if (dpiY > 0)
        m_dpiY = dpiY;
}

// --- state -------------------------------------------------------------------------------

int CDC::SaveDC()
{
    m_saved.push_back(m_state);
    return int(m_saved.size());
}

BOOL CDC::RestoreDC(int nSavedDC)
{
    const int count = int(m_saved.size());
    const int level = nSavedDC < 0 ? count + 1 + nSavedDC : nSavedDC;
    if (level < 1 || level > count)
        return FALSE;
    m_state = m_saved[std::size_t(level - 1)];
    m_saved.resize(std::size_t(level - 1));
    return TRUE;
}

CPen* CDC::SelectObject(CPen* pPen)
{
    if (!pPen || !pPen->isCreated())
        return nullptr;
    CPen* old = m_state.pen;
    m_state.pen = pPen;
    return old;
}

CBrush* CDC::SelectObject(CBrush* pBrush)
{
    if (!pBrush || !pBrush->isCreated())
        return nullptr;
    CBrush* old = m_state.brush;
    m_state.brush = pBrush;
    return old;
}

CFont* CDC::SelectObject(CFont* pFont)
{
    if (!pFont || !pFont->isCreated())
        return nullptr;
    CFont* old = m_state.font;
    m_state.font = pFont;
    return old;
}

CBitmap* CDC::SelectObject(CBitmap* pBitmap)
{
    // Only a memory context holds a bitmap.
    if (!m_memory || !pBitmap || !pBitmap->isCreated())
        return nullptr;
    CBitmap* old = m_bitmap;
    m_bitmap = pBitmap;
    m_target = &pBitmap->image();
    return old;
}

int CDC::SelectObject(CRgn* pRgn)
{
    return SelectClipRgn(pRgn);
}

CGdiObject* CDC::SelectStockObject(int nIndex)
{
    CGdiObject* object = GetStockObject(nIndex);
    if (auto* pen = dynamic_cast<CPen*>(object))
        return SelectObject(pen);
    if (auto* brush = dynamic_cast<CBrush*>(object))
        return SelectObject(brush);
    if (auto* font = dynamic_cast<CFont*>(object))
        return SelectObject(font);
    return nullptr;
}

COLORREF CDC::SetTextColor(COLORREF crColor)
{
    const COLORREF old = m_state.textColor;
    m_state.textColor = crColor;
    return old;
}

COLORREF CDC::SetBkColor(COLORREF crColor)
{
    const COLORREF old = m_state.bkColor;
    m_state.bkColor = crColor;
    return old;
}

int CDC::SetBkMode(int nBkMode)
{
    if (nBkMode != TRANSPARENT && nBkMode != OPAQUE)
        return 0;
    const int old = m_state.bkMode;
    m_state.bkMode = nBkMode;
    return old;
}

int CDC::SetROP2(int nDrawMode)
{
    if (nDrawMode < R2_BLACK || nDrawMode > R2_WHITE)
        return 0;
    const int old = m_state.rop2;
    m_state.rop2 = nDrawMode;
    return old;
}

int CDC::SetPolyFillMode(int nPolyFillMode)
{
    if (nPolyFillMode != ALTERNATE && nPolyFillMode != WINDING)
        return 0;
    const int old = m_state.polyFillMode;
    m_state.polyFillMode = nPolyFillMode;
    return old;
}

int CDC::SetStretchBltMode(int nStretchMode)
{
    if (nStretchMode < BLACKONWHITE || nStretchMode > HALFTONE)
        return 0;
    const int old = m_state.stretchMode;
    m_state.stretchMode = nStretchMode;
    return old;
}

UINT CDC::SetTextAlign(UINT nFlags)
{
    const UINT old = m_state.textAlign;
    m_state.textAlign = nFlags;
    return old;
}

// --- mapping -----------------------------------------------------------------------------

int CDC::SetMapMode(int nMapMode)
{
    if (nMapMode != MM_TEXT && nMapMode != MM_ISOTROPIC && nMapMode != MM_ANISOTROPIC)
        return 0;
    const int old = m_state.mapMode;
    m_state.mapMode = nMapMode;
    if (nMapMode == MM_TEXT) {
        m_state.windowExt = CSize(1, 1);
        m_state.viewportExt = CSize(1, 1);
    }
    fixIsotropic(m_state, m_dpiX, m_dpiY);
    return old;
}

CPoint CDC::SetWindowOrg(int x, int y)
{
    const CPoint old = m_state.windowOrg;
    m_state.windowOrg = CPoint(x, y);
    return old;
}

CPoint CDC::GetWindowOrg() const
{
    return m_state.windowOrg;
}

CSize CDC::SetWindowExt(int cx, int cy)
{
    const CSize old = m_state.windowExt;
    if ((m_state.mapMode != MM_ANISOTROPIC && m_state.mapMode != MM_ISOTROPIC) || cx == 0
        || cy == 0)
        return old;
    m_state.windowExt = CSize(cx, cy);
    fixIsotropic(m_state, m_dpiX, m_dpiY);
    return old;
}

CSize CDC::GetWindowExt() const
{
    return m_state.windowExt;
}

CPoint CDC::SetViewportOrg(int x, int y)
{
    const CPoint old = m_state.viewportOrg;
    m_state.viewportOrg = CPoint(x, y);
    return old;
}

CPoint CDC::GetViewportOrg() const
{
    return m_state.viewportOrg;
}

CPoint CDC::OffsetViewportOrg(int nWidth, int nHeight)
{
    const CPoint old = m_state.viewportOrg;
    m_state.viewportOrg.Offset(nWidth, nHeight);
    return old;
}

CPoint CDC::OffsetWindowOrg(int nWidth, int nHeight)
{
    const CPoint old = m_state.windowOrg;
    m_state.windowOrg.Offset(nWidth, nHeight);
    return old;
}

CSize CDC::SetViewportExt(int cx, int cy)
{
    const CSize old = m_state.viewportExt;
    if ((m_state.mapMode != MM_ANISOTROPIC && m_state.mapMode != MM_ISOTROPIC) || cx == 0
        || cy == 0)
        return old;
    m_state.viewportExt = CSize(cx, cy);
    fixIsotropic(m_state, m_dpiX, m_dpiY);
    return old;
}

CSize CDC::GetViewportExt() const
{
    return m_state.viewportExt;
}

void CDC::LPtoDP(LPPOINT lpPoints, int nCount) const
{
    for (int i = 0; lpPoints && i < nCount; ++i) {
        const QPoint p = toDevice(m_state, lpPoints[i].x, lpPoints[i].y);
        lpPoints[i] = POINT {p.x(), p.y()};
    }
}

void CDC::LPtoDP(LPRECT lpRect) const
{
    if (!lpRect)
        return;
    const QPoint a = toDevice(m_state, lpRect->left, lpRect->top);
    const QPoint b = toDevice(m_state, lpRect->right, lpRect->bottom);
    *lpRect = RECT {a.x(), a.y(), b.x(), b.y()};
}

void CDC::LPtoDP(LPSIZE lpSize) const
{
    if (!lpSize)
        return;
    lpSize->cx = MulDiv(lpSize->cx, m_state.viewportExt.cx, m_state.windowExt.cx);
    lpSize->cy = MulDiv(lpSize->cy, m_state.viewportExt.cy, m_state.windowExt.cy);
}

void CDC::DPtoLP(LPPOINT lpPoints, int nCount) const
{
    for (int i = 0; lpPoints && i < nCount; ++i) {
        const QPoint p = toLogical(m_state, lpPoints[i].x, lpPoints[i].y);
        lpPoints[i] = POINT {p.x(), p.y()};
    }
}

void CDC::DPtoLP(LPRECT lpRect) const
{
    if (!lpRect)
        return;
    const QPoint a = toLogical(m_state, lpRect->left, lpRect->top);
    const QPoint b = toLogical(m_state, lpRect->right, lpRect->bottom);
    *lpRect = RECT {a.x(), a.y(), b.x(), b.y()};
}

void CDC::DPtoLP(LPSIZE lpSize) const
{
    if (!lpSize)
        return;
    lpSize->cx = MulDiv(lpSize->cx, m_state.windowExt.cx, m_state.viewportExt.cx);
    lpSize->cy = MulDiv(lpSize->cy, m_state.windowExt.cy, m_state.viewportExt.cy);
}

// --- clipping ----------------------------------------------------------------------------

QRegion CDC::effectiveClip() const
{
    const QRect device = m_target ? m_target->rect() : c_anyDevice;
    if (!m_state.hasClip)
        return QRegion(device);
    return m_state.clip.intersected(device);
}

int CDC::SelectClipRgn(CRgn* pRgn)
{
    if (!pRgn) {
        m_state.hasClip = false;
        m_state.clip = QRegion();
        return SIMPLEREGION;
    }
    if (!pRgn->isCreated())
        return ERROR;
    m_state.hasClip = true;
    m_state.clip = pRgn->region();
    return zorgdi::regionKind(effectiveClip());
}

int CDC::IntersectClipRect(int x1, int y1, int x2, int y2)
{
    const QRect r = deviceRect(m_state, x1, y1, x2, y2);
    m_state.clip = m_state.hasClip ? m_state.clip.intersected(r) : QRegion(r);
    m_state.hasClip = true;
    return zorgdi::regionKind(effectiveClip());
}

int CDC::IntersectClipRect(LPCRECT lpRect)
{
    if (!lpRect)
        return ERROR;
    return IntersectClipRect(lpRect->left, lpRect->top, lpRect->right, lpRect->bottom);
}

int CDC::ExcludeClipRect(int x1, int y1, int x2, int y2)
{
    const QRect r = deviceRect(m_state, x1, y1, x2, y2);
    const QRegion base
        = m_state.hasClip ? m_state.clip : QRegion(m_target ? m_target->rect() : c_anyDevice);
    m_state.clip = base.subtracted(r);
    m_state.hasClip = true;
    return zorgdi::regionKind(effectiveClip());
}

int CDC::ExcludeClipRect(LPCRECT lpRect)
{
    if (!lpRect)
        return ERROR;
    return ExcludeClipRect(lpRect->left, lpRect->top, lpRect->right, lpRect->bottom);
}

int CDC::GetClipBox(LPRECT lpRect) const
{
    if (!lpRect)
        return ERROR;
    const QRegion clip = effectiveClip();
    if (clip.isEmpty()) {
        *lpRect = RECT {};
        return NULLREGION;
    }
    const QRect box = clip.boundingRect();
    const QPoint a = toLogical(m_state, box.left(), box.top());
    const QPoint b = toLogical(m_state, box.right() + 1, box.bottom() + 1);
    *lpRect = RECT {a.x(), a.y(), b.x(), b.y()};
    return zorgdi::regionKind(clip);
}

BOOL CDC::PtVisible(int x, int y) const
{
    const QPoint p = toDevice(m_state, x, y);
    return effectiveClip().contains(p) ? TRUE : FALSE;
}

// --- lines and shapes --------------------------------------------------------------------

CPoint CDC::MoveTo(int x, int y)
{
    const CPoint old = m_state.position;
    m_state.position = CPoint(x, y);
    return old;
}

BOOL CDC::LineTo(int x, int y)
{
    const Surface s = makeSurface(m_target, m_state, isMonoTarget(m_bitmap, m_target));
    drawLine(s, toDevice(m_state, m_state.position.x, m_state.position.y), toDevice(m_state, x, y),
        penDraw(m_state, s.monochrome));
    m_state.position = CPoint(x, y);
    return m_target ? TRUE : FALSE;
}

BOOL CDC::Polyline(const POINT* lpPoints, int nCount)
{
    if (!lpPoints || nCount < 2 || !m_target)
        return FALSE;
    const Surface s = makeSurface(m_target, m_state, isMonoTarget(m_bitmap, m_target));
    const PenDraw pen = penDraw(m_state, s.monochrome);
    QPoint from = toDevice(m_state, lpPoints[0].x, lpPoints[0].y);
    for (int i = 1; i < nCount; ++i) {
        const QPoint to = toDevice(m_state, lpPoints[i].x, lpPoints[i].y);
        drawLine(s, from, to, pen);
        from = to;
    }
    return TRUE;
}

BOOL CDC::Rectangle(int x1, int y1, int x2, int y2)
{
    if (!m_target)
        return FALSE;
    const Surface s = makeSurface(m_target, m_state, isMonoTarget(m_bitmap, m_target));
    if (!s.valid())
        return TRUE;
    const QRect box = deviceRect(m_state, x1, y1, x2, y2);
    const PenDraw pen = penDraw(m_state, s.monochrome);
    const bool fill = brushVisible(m_state.brush);
    const std::uint32_t fillColor
        = fill ? zorgdi::toPixel(m_state.brush->color(), s.monochrome) : 0;
    const int l = box.left();
    const int t = box.top();
    const int r = box.right() + 1;
    const int b = box.bottom() + 1;

    if (!pen.visible) {
        // Without a pen the fill stops one pixel short on the right and at the bottom.
        if (fill)
            zorgdi::fillArea(s, QRect(QPoint(l, t), QPoint(r - 2, b - 2)), fillColor, m_state.rop2);
        return TRUE;
    }

    // The frame is the band between the outer and the inner rectangle; every pixel is drawn
    // once, so a mix mode such as exclusive-or works on corners too.
    const int w = pen.width;
    const bool insideFrame = m_state.pen->style() == PS_INSIDEFRAME;
    int oL, oT, oR, oB, iL, iT, iR, iB;
    if (insideFrame) {
        oL = l, oT = t, oR = r, oB = b;
        iL = l + w, iT = t + w, iR = r - w, iB = b - w;
    } else {
        const int before = w / 2;
        oL = l - before, oT = t - before, oR = r - 1 - before + w, oB = b - 1 - before + w;
        iL = oL + w, iT = oT + w, iR = r - 1 - before, iB = b - 1 - before;
    }
    iT = std::clamp(iT, oT, oB);
    iB = std::clamp(iB, iT, oB);
    iL = std::clamp(iL, oL, oR);
    iR = std::clamp(iR, iL, oR);
    auto band = [&](int left, int top, int right, int bottom) {
        if (left < right && top < bottom)
            zorgdi::fillArea(
                s, QRect(QPoint(left, top), QPoint(right - 1, bottom - 1)), pen.color, pen.rop2);
    };
    band(oL, oT, oR, iT);
    band(oL, iB, oR, oB);
    band(oL, iT, iL, iB);
    band(iR, iT, oR, iB);
    if (fill && iL < iR && iT < iB)
        zorgdi::fillArea(s, QRect(QPoint(iL, iT), QPoint(iR - 1, iB - 1)), fillColor, m_state.rop2);
    return TRUE;
}

BOOL CDC::Rectangle(LPCRECT lpRect)
{
    if (!lpRect)
        return FALSE;
    return Rectangle(lpRect->left, lpRect->top, lpRect->right, lpRect->bottom);
}

BOOL CDC::Ellipse(int x1, int y1, int x2, int y2)
{
    if (!m_target)
        return FALSE;
    const Surface s = makeSurface(m_target, m_state, isMonoTarget(m_bitmap, m_target));
    if (!s.valid())
        return TRUE;
    QRect box = deviceRect(m_state, x1, y1, x2, y2);
    const PenDraw pen = penDraw(m_state, s.monochrome);
    const bool fill = brushVisible(m_state.brush);
    if (!pen.visible) {
        if (!fill)
            return TRUE;
        box.setRight(box.right() - 1);
        box.setBottom(box.bottom() - 1);
    }
    if (box.isEmpty() || (box & s.bounds).isEmpty())
        return TRUE;
    // FIXME: the outline is traced over the whole bounding box; an ellipse far larger than any
    // picture is refused rather than traced in parts.
    if (std::size_t(box.width()) * std::size_t(box.height()) > 64u * 1024 * 1024)
        return FALSE;

    const EllipseShape shape = ellipseShape(box.width(), box.height(), pen.width);
    if (fill) {
        const std::uint32_t fillColor = zorgdi::toPixel(m_state.brush->color(), s.monochrome);
        for (int y = 0; y < box.height(); ++y) {
            auto [from, to] = shape.inside[std::size_t(y)];
            if (from < to)
                zorgdi::fillArea(s,
                    QRect(QPoint(box.left() + from, box.top() + y),
                        QPoint(box.left() + to - 1, box.top() + y)),
                    fillColor, m_state.rop2);
        }
        if (!pen.visible)
            applyMask(s, box, shape.outline, fillColor, m_state.rop2);
    }
    if (pen.visible)
        applyMask(s, box, shape.outline, pen.color, pen.rop2);
    return TRUE;
}

BOOL CDC::Ellipse(LPCRECT lpRect)
{
    if (!lpRect)
        return FALSE;
    return Ellipse(lpRect->left, lpRect->top, lpRect->right, lpRect->bottom);
}

BOOL CDC::Polygon(const POINT* lpPoints, int nCount)
{
    if (!lpPoints || nCount < 2 || !m_target)
        return FALSE;
    const Surface s = makeSurface(m_target, m_state, isMonoTarget(m_bitmap, m_target));
    if (!s.valid())
        return TRUE;
    QPolygon polygon(nCount);
    for (int i = 0; i < nCount; ++i)
        polygon.setPoint(i, toDevice(m_state, lpPoints[i].x, lpPoints[i].y));
    if (brushVisible(m_state.brush)) {
        const std::uint32_t color = zorgdi::toPixel(m_state.brush->color(), s.monochrome);
        scanPolygon(
            polygon, m_state.polyFillMode == WINDING, s.bounds, [&](int y, int left, int right) {
                zorgdi::fillArea(s, QRect(left, y, right - left, 1), color, m_state.rop2);
            });
    }
    const PenDraw pen = penDraw(m_state, s.monochrome);
    for (int i = 0; i < nCount; ++i)
        drawLine(s, polygon.point(i), polygon.point((i + 1) % nCount), pen);
    return TRUE;
}

void CDC::FillRect(LPCRECT lpRect, CBrush* pBrush)
{
    if (!lpRect || !brushVisible(pBrush))
        return;
    const Surface s = makeSurface(m_target, m_state, isMonoTarget(m_bitmap, m_target));
    if (!s.valid())
        return;
    zorgdi::fillArea(s,
        deviceRect(m_state, lpRect->left, lpRect->top, lpRect->right, lpRect->bottom),
        zorgdi::toPixel(pBrush->color(), s.monochrome), R2_COPYPEN);
}

void CDC::FillSolidRect(LPCRECT lpRect, COLORREF clr)
{
    // The platform fills through an opaque text output: the colour stays the background colour.
    m_state.bkColor = clr;
    if (!lpRect)
        return;
    const Surface s = makeSurface(m_target, m_state, isMonoTarget(m_bitmap, m_target));
    if (!s.valid())
        return;
    zorgdi::fillArea(s,
        deviceRect(m_state, lpRect->left, lpRect->top, lpRect->right, lpRect->bottom),
        zorgdi::toPixel(clr, s.monochrome), R2_COPYPEN);
}

void CDC::FillSolidRect(int x, int y, int cx, int cy, COLORREF clr)
{
    const RECT r {x, y, x + cx, y + cy};
    FillSolidRect(&r, clr);
}

void CDC::FrameRect(LPCRECT lpRect, CBrush* pBrush)
{
    if (!lpRect || !brushVisible(pBrush))
        return;
    const Surface s = makeSurface(m_target, m_state, isMonoTarget(m_bitmap, m_target));
    if (!s.valid())
        return;
    const QRect box = deviceRect(m_state, lpRect->left, lpRect->top, lpRect->right, lpRect->bottom);
    if (box.isEmpty())
        return;
    const std::uint32_t color = zorgdi::toPixel(pBrush->color(), s.monochrome);
    zorgdi::fillArea(s, QRect(box.left(), box.top(), box.width(), 1), color, R2_COPYPEN);
    if (box.height() > 1)
        zorgdi::fillArea(s, QRect(box.left(), box.bottom(), box.width(), 1), color, R2_COPYPEN);
    if (box.height() > 2) {
        zorgdi::fillArea(
            s, QRect(box.left(), box.top() + 1, 1, box.height() - 2), color, R2_COPYPEN);
        zorgdi::fillArea(
            s, QRect(box.right(), box.top() + 1, 1, box.height() - 2), color, R2_COPYPEN);
    }
}

void CDC::InvertRect(LPCRECT lpRect)
{
    if (!lpRect)
        return;
    const Surface s = makeSurface(m_target, m_state, isMonoTarget(m_bitmap, m_target));
    if (!s.valid())
        return;
    patternBlit(s, deviceRect(m_state, lpRect->left, lpRect->top, lpRect->right, lpRect->bottom),
        (DSTINVERT >> 16) & 0xFF, 0);
}

void CDC::Draw3dRect(LPCRECT lpRect, COLORREF clrTopLeft, COLORREF clrBottomRight)
{
    if (!lpRect)
        return;
    const int x = lpRect->left;
    const int y = lpRect->top;
    const int cx = lpRect->right - lpRect->left;
    const int cy = lpRect->bottom - lpRect->top;
    FillSolidRect(x, y, cx - 1, 1, clrTopLeft);
    FillSolidRect(x, y, 1, cy - 1, clrTopLeft);
    FillSolidRect(x + cx, y, -1, cy, clrBottomRight);
    FillSolidRect(x, y + cy, cx, -1, clrBottomRight);
}

BOOL CDC::FillRgn(CRgn* pRgn, CBrush* pBrush)
{
    if (!pRgn || !pRgn->isCreated() || !pBrush || !pBrush->isCreated() || !m_target)
        return FALSE;
    if (!brushVisible(pBrush))
        return TRUE;
    const Surface s = makeSurface(m_target, m_state, isMonoTarget(m_bitmap, m_target));
    if (!s.valid())
        return TRUE;
    // The region is in logical units here, as for the platform's region painting.
    const std::uint32_t color = zorgdi::toPixel(pBrush->color(), s.monochrome);
    for (const QRect& r : pRgn->region())
        zorgdi::fillArea(s, deviceRect(m_state, r.left(), r.top(), r.right() + 1, r.bottom() + 1),
            color, R2_COPYPEN);
    return TRUE;
}

COLORREF CDC::SetPixel(int x, int y, COLORREF crColor)
{
    const Surface s = makeSurface(m_target, m_state, isMonoTarget(m_bitmap, m_target));
    const QPoint p = toDevice(m_state, x, y);
    if (!s.valid() || !s.inside(p.x(), p.y()))
        return CLR_INVALID;
    const std::uint32_t pixel = zorgdi::toPixel(crColor, s.monochrome);
    s.row(p.y())[p.x()] = pixel;
    return zorgdi::toColorRef(pixel);
}

BOOL CDC::SetPixelV(int x, int y, COLORREF crColor)
{
    return SetPixel(x, y, crColor) != CLR_INVALID ? TRUE : FALSE;
}

COLORREF CDC::GetPixel(int x, int y) const
{
    if (!m_target || m_target->isNull())
        return CLR_INVALID;
    const QPoint p = toDevice(m_state, x, y);
    if (!m_target->rect().contains(p) || (m_state.hasClip && !m_state.clip.contains(p)))
        return CLR_INVALID;
    const auto* row = reinterpret_cast<const std::uint32_t*>(m_target->constScanLine(p.y()));
    return zorgdi::toColorRef(row[p.x()]);
}

BOOL CDC::GradientFill(const TRIVERTEX* pVertices, ULONG nVertices, const void* pMesh,
    ULONG nMeshElements, DWORD dwMode)
{
    if (!pVertices || !pMesh || !m_target
        || (dwMode != GRADIENT_FILL_RECT_H && dwMode != GRADIENT_FILL_RECT_V))
        return FALSE;
    const Surface s = makeSurface(m_target, m_state, isMonoTarget(m_bitmap, m_target));
    const auto* rects = static_cast<const GRADIENT_RECT*>(pMesh);
    const bool horizontal = dwMode == GRADIENT_FILL_RECT_H;
    std::vector<std::uint32_t> ramp;
    for (ULONG m = 0; m < nMeshElements; ++m) {
        if (rects[m].UpperLeft >= nVertices || rects[m].LowerRight >= nVertices)
            return FALSE;
        const TRIVERTEX* v1 = &pVertices[rects[m].UpperLeft];
        const TRIVERTEX* v2 = &pVertices[rects[m].LowerRight];
        QPoint a = toDevice(m_state, v1->x, v1->y);
        QPoint b = toDevice(m_state, v2->x, v2->y);
        // The colours follow the rectangle's edges in device space, left to right or top down.
        if ((horizontal && a.x() > b.x()) || (!horizontal && a.y() > b.y())) {
            std::swap(a, b);
            std::swap(v1, v2);
        }
        const QRect area = zorgdi::spanRect(a.x(), a.y(), b.x(), b.y());
        const QRect visible = area & s.bounds;
        if (visible.isEmpty() || !s.valid())
            continue;
        // The colour at position pos of len interpolates the 8-bit channels: the first column
        // (or row) has the start colour, the end colour itself lies just beyond the last.
        const long long len = horizontal ? area.width() : area.height();
        const int first = horizontal ? visible.left() - area.left() : visible.top() - area.top();
        const int count = horizontal ? visible.width() : visible.height();
        ramp.resize(std::size_t(count));
        for (int k = 0; k < count; ++k) {
            const long long pos = first + k;
            auto channel = [&](COLOR16 c1, COLOR16 c2) {
                return std::uint32_t(((c1 >> 8) * (len - pos) + (c2 >> 8) * pos) / len);
            };
            const std::uint32_t pixel = zorgdi::c_opaque | (channel(v1->Red, v2->Red) << 16)
                | (channel(v1->Green, v2->Green) << 8) | channel(v1->Blue, v2->Blue);
            ramp[std::size_t(k)] = s.monochrome ? zorgdi::toMonochrome(pixel) : pixel;
        }
        s.forEachRect(visible, [&](const QRect& r) {
            for (int y = r.top(); y <= r.bottom(); ++y) {
                std::uint32_t* row = s.row(y);
                if (horizontal)
                    std::copy(ramp.begin() + (r.left() - visible.left()),
                        ramp.begin() + (r.right() + 1 - visible.left()), row + r.left());
                else
                    std::fill(
                        row + r.left(), row + r.right() + 1, ramp[std::size_t(y - visible.top())]);
            }
        });
    }
    return TRUE;
}

// --- bit blits ---------------------------------------------------------------------------

BOOL CDC::BitBlt(
    int x, int y, int nWidth, int nHeight, CDC* pSrcDC, int xSrc, int ySrc, DWORD dwRop)
{
    // The source rectangle has the same logical size; where the two mappings differ the
    // pixels are stretched, nearest neighbour.
    const int mode = m_state.stretchMode;
    m_state.stretchMode = COLORONCOLOR;
    const BOOL result
        = StretchBlt(x, y, nWidth, nHeight, pSrcDC, xSrc, ySrc, nWidth, nHeight, dwRop);
    m_state.stretchMode = mode;
    return result;
}

BOOL CDC::StretchBlt(int x, int y, int nWidth, int nHeight, CDC* pSrcDC, int xSrc, int ySrc,
    int nSrcWidth, int nSrcHeight, DWORD dwRop)
{
    if (!m_target)
        return FALSE;
    const std::uint32_t code = (dwRop >> 16) & 0xFF;
    const bool usesSource = zorgdi::rop3UsesSource(code);
    if (usesSource && (!pSrcDC || !pSrcDC->m_target || pSrcDC->m_target->isNull()))
        return FALSE;
    const Surface s = makeSurface(m_target, m_state, isMonoTarget(m_bitmap, m_target));
    if (!s.valid())
        return TRUE;
    std::uint32_t pattern = 0;
    if (zorgdi::rop3UsesPattern(code)) {
        // The hollow brush paints nothing.
        if (!brushVisible(m_state.brush))
            return TRUE;
        pattern = zorgdi::toPixel(m_state.brush->color(), s.monochrome);
    }

    const QPoint d0 = toDevice(m_state, x, y);
    const QPoint d1 = toDevice(m_state, x + nWidth, y + nHeight);
    const QRect dest = zorgdi::spanRect(d0.x(), d0.y(), d1.x(), d1.y());
    if (!usesSource) {
        patternBlit(s, dest, code, pattern);
        return TRUE;
    }

    const QPoint s0 = toDevice(pSrcDC->m_state, xSrc, ySrc);
    const QPoint s1 = toDevice(pSrcDC->m_state, xSrc + nSrcWidth, ySrc + nSrcHeight);
    QRect src = zorgdi::spanRect(s0.x(), s0.y(), s1.x(), s1.y());
    if (dest.isEmpty() || src.isEmpty())
        return TRUE;
    const bool mirrorX = (d1.x() < d0.x()) != (s1.x() < s0.x());
    const bool mirrorY = (d1.y() < d0.y()) != (s1.y() < s0.y());

    // Between monochrome and colour the platform converts: colour to monochrome by the
    // source's background colour, monochrome to colour by this context's text and background.
    const bool srcMono = isMonoTarget(pSrcDC->m_bitmap, pSrcDC->m_target);
    const std::uint32_t textPixel = zorgdi::toPixel(m_state.textColor, false);
    const std::uint32_t bkPixel = zorgdi::toPixel(m_state.bkColor, false);
    const std::uint32_t srcBk = zorgdi::toPixel(pSrcDC->m_state.bkColor, false) & 0xFFFFFF;
    const bool toColour = srcMono && !s.monochrome;
    const bool toMono = !srcMono && s.monochrome;
    auto convert = [&](std::uint32_t v) -> std::uint32_t {
        if (toColour)
            return (v & 0xFFFFFF) ? bkPixel : textPixel;
        if (toMono)
            return (v & 0xFFFFFF) == srcBk ? zorgdi::c_white : zorgdi::c_black;
        return v;
    };

    // A blit within one image reads a copy of the source, so overlapping areas come out right.
    const QImage* srcImage = pSrcDC->m_target;
    QImage local;
    QRect srcBounds = srcImage->rect();
    const bool sameSize = dest.size() == src.size();
    // The smooth scale works on whole pictures; beyond a picture's size nearest neighbour
    // serves.
    constexpr long long c_maxSmoothPixels = 16LL * 1024 * 1024;
    if (!sameSize && m_state.stretchMode == HALFTONE
        && (long long)dest.width() * dest.height() <= c_maxSmoothPixels
        && (long long)src.width() * src.height() <= c_maxSmoothPixels) {
        local = QImage(src.size(), QImage::Format_RGB32);
        for (int yy = 0; yy < src.height(); ++yy) {
            auto* out = reinterpret_cast<std::uint32_t*>(local.scanLine(yy));
            const int sy = src.top() + yy;
            const auto* in = srcBounds.contains(0, sy)
                ? reinterpret_cast<const std::uint32_t*>(srcImage->constScanLine(sy))
                : nullptr;
            for (int xx = 0; xx < src.width(); ++xx) {
                const int sx = src.left() + xx;
                out[xx]
                    = in && sx >= 0 && sx < srcBounds.width() ? convert(in[sx]) : zorgdi::c_black;
            }
        }
        local = local.scaled(dest.size(), Qt::IgnoreAspectRatio, Qt::SmoothTransformation)
                    .mirrored(mirrorX, mirrorY)
                    .convertToFormat(QImage::Format_RGB32);
        if (s.monochrome) {
            for (int yy = 0; yy < local.height(); ++yy) {
                auto* row = reinterpret_cast<std::uint32_t*>(local.scanLine(yy));
                for (int xx = 0; xx < local.width(); ++xx)
                    row[xx] = zorgdi::toMonochrome(row[xx]);
            }
        }
        s.forEachRect(dest, [&](const QRect& r) {
            for (int yy = r.top(); yy <= r.bottom(); ++yy) {
                const auto* in
                    = reinterpret_cast<const std::uint32_t*>(local.constScanLine(yy - dest.top()));
                std::uint32_t* out = s.row(yy);
                for (int xx = r.left(); xx <= r.right(); ++xx)
                    out[xx] = zorgdi::mixRop3(code, pattern, in[xx - dest.left()], out[xx]);
            }
        });
        return TRUE;
    }
    if (srcImage == m_target) {
        const QRect part = src & srcBounds;
        local = srcImage->copy(part);
        src.translate(-part.left(), -part.top());
        srcBounds = local.rect();
        srcImage = &local;
    }

    const bool plainCopy = code == 0xCC && !toColour && !toMono && sameSize && !mirrorX && !mirrorY;
    s.forEachRect(dest, [&](const QRect& r) {
        for (int yy = r.top(); yy <= r.bottom(); ++yy) {
            const int sy
                = src.top() + stretchIndex(yy - dest.top(), dest.height(), src.height(), mirrorY);
            if (sy < srcBounds.top() || sy > srcBounds.bottom())
                continue;
            const auto* in = reinterpret_cast<const std::uint32_t*>(srcImage->constScanLine(sy));
            std::uint32_t* out = s.row(yy);
            if (plainCopy) {
                const int from = std::max(r.left(), dest.left() + srcBounds.left() - src.left());
                const int to = std::min(r.right(), dest.left() + srcBounds.right() - src.left());
                if (from <= to)
                    std::copy(in + (from - dest.left() + src.left()),
                        in + (to - dest.left() + src.left() + 1), out + from);
                continue;
            }
            for (int xx = r.left(); xx <= r.right(); ++xx) {
                const int sx = src.left()
                    + stretchIndex(xx - dest.left(), dest.width(), src.width(), mirrorX);
                if (sx < srcBounds.left() || sx > srcBounds.right())
                    continue;
                out[xx] = zorgdi::mixRop3(code, pattern, convert(in[sx]), out[xx]);
            }
        }
    });
    return TRUE;
}

BOOL CDC::PatBlt(int x, int y, int nWidth, int nHeight, DWORD dwRop)
{
    if (zorgdi::rop3UsesSource((dwRop >> 16) & 0xFF))
        return FALSE;
    return StretchBlt(x, y, nWidth, nHeight, nullptr, 0, 0, 0, 0, dwRop);
}

// --- device ------------------------------------------------------------------------------

int CDC::GetDeviceCaps(int nIndex) const
{
    const bool monochrome = isMonoTarget(m_bitmap, m_target);
    int width = 0;
    int height = 0;
    if (m_target) {
        width = m_target->width();
        height = m_target->height();
    } else if (auto* app = qobject_cast<QGuiApplication*>(QCoreApplication::instance())) {
        if (const QScreen* screen = app->primaryScreen()) {
            width = screen->size().width();
            height = screen->size().height();
        }
    }
    switch (nIndex) {
    case HORZRES:
        return width;
    case VERTRES:
        return height;
    case HORZSIZE:
        return MulDiv(width, 254, m_dpiX * 10);
    case VERTSIZE:
        return MulDiv(height, 254, m_dpiY * 10);
    case BITSPIXEL:
        return monochrome ? 1 : 32;
    case PLANES:
        return 1;
    case NUMCOLORS:
        return monochrome ? 2 : -1;
    case RASTERCAPS:
        return RC_BITBLT | RC_BITMAP64 | RC_DI_BITMAP | RC_DIBTODEV | RC_STRETCHBLT;
    case LOGPIXELSX:
        return m_dpiX;
    case LOGPIXELSY:
        return m_dpiY;
    case SIZEPALETTE:
        return 0;
    default:
        return 0;
    }
}
