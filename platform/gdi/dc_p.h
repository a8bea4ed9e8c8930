#pragma once

// Pixel-level helpers of the device context. Everything here works in device pixels on a
// QImage::Format_RGB32 image, writing straight into its scan lines: GDI's results are defined
// per pixel, and going through QPainter would give Qt's pixels and cost more.

#include "platform/gdi/dc.h"
#include "platform/types/muldiv.h"

#include <QtCore/QRect>
#include <QtGui/QImage>
#include <QtGui/QRegion>

#include <algorithm>
#include <cstdint>
#include <cstdlib>

namespace zorgdi {

constexpr std::uint32_t c_opaque = 0xFF000000u;
constexpr std::uint32_t c_black = 0xFF000000u;
constexpr std::uint32_t c_white = 0xFFFFFFFFu;

// A monochrome bitmap holds only black and white: a colour becomes the nearer of the two.
inline std::uint32_t toMonochrome(std::uint32_t pixel)
{
    const int sum = int((pixel >> 16) & 0xFF) + int((pixel >> 8) & 0xFF) + int(pixel & 0xFF);
    return sum > 382 ? c_white : c_black;
}

// 0x00BBGGRR (the top byte, a palette or system-colour tag, is ignored) to the image's pixel.
inline std::uint32_t toPixel(COLORREF color, bool monochrome)
{
    const std::uint32_t pixel
        = c_opaque | ((color & 0xFF) << 16) | (color & 0xFF00) | ((color >> 16) & 0xFF);
    return monochrome ? toMonochrome(pixel) : pixel;
}

inline COLORREF toColorRef(std::uint32_t pixel)
{
    return ((pixel >> 16) & 0xFF) | (pixel & 0xFF00) | ((pixel & 0xFF) << 16);
}

// The pen's mix with the destination (SetROP2), bitwise on the 24 colour bits.
inline std::uint32_t mixPen(int rop2, std::uint32_t pen, std::uint32_t dst)
{
    std::uint32_t r;
    switch (rop2) {
    case R2_BLACK:
        r = 0;
        break;
    case R2_NOTMERGEPEN:
        r = ~(pen | dst);
        break;
    case R2_MASKNOTPEN:
        r = ~pen & dst;
        break;
    case R2_NOTCOPYPEN:
        r = ~pen;
        break;
    case R2_MASKPENNOT:
        r = pen & ~dst;
        break;
    case R2_NOT:
        r = ~dst;
        break;
    case R2_XORPEN:
        r = pen ^ dst;
        break;
    case R2_NOTMASKPEN:
        r = ~(pen & dst);
        break;
    case R2_MASKPEN:
        r = pen & dst;
        break;
    case R2_NOTXORPEN:
        r = ~(pen ^ dst);
        break;
    case R2_NOP:
        r = dst;
        break;
    case R2_MERGENOTPEN:
        r = ~pen | dst;
        break;
    case R2_MERGEPEN:
        r = pen | dst;
        break;
    case R2_MERGEPENNOT:
        r = pen | ~dst;
        break;
    case R2_WHITE:
        r = 0xFFFFFF;
        break;
    default:
        r = pen;
        break; // R2_COPYPEN
    }
    return c_opaque | (r & 0xFFFFFF);
}

// A ternary raster operation: bit ((P << 2) | (S << 1) | D) of the code (bits 16 to 23 of the
// blit's operation) is the result for that combination of pattern, source and destination.
inline std::uint32_t mixRop3(std::uint32_t code, std::uint32_t p, std::uint32_t s, std::uint32_t d)
{
    std::uint32_t r;
    switch (code) {
    case 0x00:
        r = 0;
        break;
    case 0xFF:
        r = 0xFFFFFF;
        break;
    case 0xCC:
        r = s;
        break;
    case 0x33:
        r = ~s;
        break;
    case 0x66:
        r = s ^ d;
        break;
    case 0x88:
        r = s & d;
        break;
    case 0xEE:
        r = s | d;
        break;
    case 0x55:
        r = ~d;
        break;
    case 0xF0:
        r = p;
        break;
    case 0x5A:
        r = p ^ d;
        break;
    default:
        r = 0;
        for (int i = 0; i < 8; ++i) {
            if (code & (1u << i))
                r |= ((i & 4) ? p : ~p) & ((i & 2) ? s : ~s) & ((i & 1) ? d : ~d);
        }
        break;
    }
    return c_opaque | (r & 0xFFFFFF);
}

inline bool rop3UsesSource(std::uint32_t code)
{
    return ((code >> 2) & 0x33) != (code & 0x33);
}

inline bool rop3UsesPattern(std::uint32_t code)
{
    return ((code >> 4) & 0x0F) != (code & 0x0F);
}

// The target image with the clip in effect, set up once per drawing call.
struct Surface
{
    std::uint32_t* bits {nullptr};
    qsizetype stride {0}; // in pixels
    QRect image; // the whole target
    QRect bounds; // the clip's bounding rectangle within the target
    const QRegion* region {nullptr}; // set when the clip is more than one rectangle
    bool monochrome {false};

    bool valid() const { return bits && !bounds.isEmpty(); }
    std::uint32_t* row(int y) const { return bits + y * stride; }
    bool inside(int x, int y) const
    {
        return bounds.contains(x, y) && (!region || region->contains(QPoint(x, y)));
    }
    // Calls f(rect) for each part of the area the clip lets through.
    template<typename F> void forEachRect(const QRect& area, F f) const
    {
        if (!region) {
            const QRect r = area & bounds;
            if (!r.isEmpty())
                f(r);
            return;
        }
        for (const QRect& part : *region) {
            const QRect r = part & area & image;
            if (!r.isEmpty())
                f(r);
        }
    }
};

// Sets every pixel of the area (device pixels) to the colour mixed by the mix mode.
inline void fillArea(const Surface& s, const QRect& area, std::uint32_t color, int rop2)
{
    s.forEachRect(area, [&](const QRect& r) {
        for (int y = r.top(); y <= r.bottom(); ++y) {
            std::uint32_t* p = s.row(y) + r.left();
            std::uint32_t* const end = p + r.width();
            if (rop2 == R2_COPYPEN)
                std::fill(p, end, color);
            else
                for (; p != end; ++p)
                    *p = mixPen(rop2, color, *p);
        }
    });
}

inline void plot(const Surface& s, int x, int y, std::uint32_t color, int rop2)
{
    if (!s.inside(x, y))
        return;
    std::uint32_t* p = s.row(y) + x;
    *p = rop2 == R2_COPYPEN ? color : mixPen(rop2, color, *p);
}

// Which octant a line runs in (1 to 8, counter-clockwise from east with y growing downward,
// as the platform numbers them) and whether its ties go toward the major axis step.
inline int lineOctant(int dx, int dy)
{
    if (dy > 0) {
        if (dx > 0)
            return dx > dy ? 1 : 2;
        return -dx > dy ? 4 : 3;
    }
    if (dx < 0)
        return -dx > -dy ? 5 : 6;
    return dx > -dy ? 8 : 7;
}

// The pixels of a one-pixel line from a to b, b excluded. Bresenham stepping along the major
// axis; the minor offset of step i is dMinor * i / dMajor rounded to nearest. On an exact tie
// the platform's rule (a pixel is lit when the line leaves its diamond) decides, which comes
// to: lines running in octants 3, 5, 6 and 8 round the tie up, the others down. In device
// terms a tie always goes to the smaller minor coordinate (the upper pixel for a flat line,
// the left one for a steep line), whichever way the line runs, so a reversed line lights the
// same pixels apart from its end points. Calls f(i, x, y) for each pixel within the clip's
// bounding rectangle, i counting from the start pixel.
template<typename F> void walkLine(const QRect& bounds, QPoint a, QPoint b, F f)
{
    const int dx = b.x() - a.x();
    const int dy = b.y() - a.y();
    if (dx == 0 && dy == 0)
        return;
    const int octant = lineOctant(dx, dy);
    const long long bias = (octant == 3 || octant == 5 || octant == 6 || octant == 8) ? 1 : 0;
    const bool xMajor = std::abs(dx) > std::abs(dy);
    const long long dMajor = xMajor ? std::abs(dx) : std::abs(dy);
    const long long dMinor = xMajor ? std::abs(dy) : std::abs(dx);
    const int stepMajor = ((xMajor ? dx : dy) > 0) ? 1 : -1;
    const int stepMinor = ((xMajor ? dy : dx) >= 0) ? 1 : -1;
    const int major0 = xMajor ? a.x() : a.y();
    const int minor0 = xMajor ? a.y() : a.x();
    const int lo = xMajor ? bounds.left() : bounds.top();
    const int hi = xMajor ? bounds.right() + 1 : bounds.bottom() + 1; // exclusive
    const int minorLo = xMajor ? bounds.top() : bounds.left();
    const int minorHi = xMajor ? bounds.bottom() : bounds.right(); // inclusive

    // Only the steps whose major coordinate lies within the clip are walked.
    long long first = 0;
    long long last = dMajor; // exclusive: the end point is not drawn
    if (stepMajor > 0) {
        first = std::max<long long>(first, (long long)lo - major0);
        last = std::min<long long>(last, (long long)hi - major0);
    } else {
        first = std::max<long long>(first, (long long)major0 - hi + 1);
        last = std::min<long long>(last, (long long)major0 - lo + 1);
    }
    if (first >= last)
        return;

    long long k = (2 * dMinor * first + dMajor - 1 + bias) / (2 * dMajor);
    long long err = 2 * dMinor * (first + 1) - dMajor - 2 * dMajor * k;
    for (long long i = first; i < last; ++i) {
        const int major = major0 + int(i) * stepMajor;
        const int minor = minor0 + int(k) * stepMinor;
        if (minor >= minorLo && minor <= minorHi) {
            if (xMajor)
                f(int(i), major, minor);
            else
                f(int(i), minor, major);
        }
        if (err + bias > 0) {
            ++k;
            err += 2 * dMinor - 2 * dMajor;
        } else {
            err += 2 * dMinor;
        }
    }
}

inline int regionKind(const QRegion& region)
{
    if (region.isEmpty())
        return NULLREGION;
    return region.rectCount() == 1 ? SIMPLEREGION : COMPLEXREGION;
}

// The device rectangle [left, right) x [top, bottom) of two corners in any order.
inline QRect spanRect(int x1, int y1, int x2, int y2)
{
    return QRect(QPoint(std::min(x1, x2), std::min(y1, y2)),
        QPoint(std::max(x1, x2) - 1, std::max(y1, y2) - 1));
}

} // namespace zorgdi
