#include "clock/clockgeometry.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>

bool zorReadClockTable(const std::string& bytes, ZorClockTable* table)
{
    if (!table || bytes.size() < c_nClockTableBytes)
        return false;
    const auto word = [&bytes](std::size_t at) {
        const auto low = static_cast<unsigned char>(bytes[at]);
        const auto high = static_cast<unsigned char>(bytes[at + 1]);
        return static_cast<SHORT>(static_cast<std::uint16_t>(low | (high << 8)));
    };
    for (std::size_t i = 0; i < table->size(); ++i)
        (*table)[i] = {word(4 * i), word(4 * i + 2)};
    return true;
}

ZorClockLayout zorClockLayout(const CRect& bounds, int fontHeight, const ZorClockDevice& device)
{
    ZorClockLayout layout;
    layout.outer = bounds;
    layout.inner = bounds;
    layout.inner.DeflateRect(5, 5);

    const int textHeight = std::abs(fontHeight);
    CRect face = bounds;
    face.DeflateRect(textHeight, 2 * textHeight);

    // Pixels per 100 mm. A device that reports no size counts as having square pixels.
    const int vertDensity = device.vertSize > 0 ? device.vertRes * 100 / device.vertSize : 0;
    const int horzDensity = device.horzSize > 0 ? device.horzRes * 100 / device.horzSize : 0;

    const int m = std::min(face.Height(), face.Width());
    int markWidth = device.horzRes > 0 ? m * 25 / device.horzRes : 0;
    int markHeight
        = vertDensity > 0 && horzDensity > 0 ? markWidth * vertDensity / horzDensity : markWidth;
    // The height comes from the width before either is bounded.
    markHeight = std::max(markHeight, 1);
    markWidth = std::max(markWidth, 2);
    layout.markWidth = markWidth;
    layout.markHeight = markHeight;
    layout.halfMarkWidth = markWidth / 2;
    layout.halfMarkHeight = markHeight / 2;
    face.DeflateRect(layout.halfMarkHeight, layout.halfMarkWidth);

    const int w2 = face.Width() / 2;
    const int h2 = face.Height() / 2;
    layout.radius = std::min(w2, h2);
    layout.centreX = face.left + w2;
    layout.centreY = face.top + h2;
    layout.face = CRect(layout.centreX - layout.radius, layout.centreY - layout.radius,
        layout.centreX + layout.radius, layout.centreY + layout.radius);

    const CRect& sq = layout.face;
    const CRect& in = layout.inner;
    layout.dateBand = CRect(in.left, sq.bottom, in.right, in.bottom);
    layout.titleBand = CRect(in.left, in.top, in.right, sq.top);
    const int width = sq.Width();
    const int height = sq.Height();
    layout.ampmBox = CRect(
        sq.left + width / 4, sq.top + height / 4, sq.right - width / 4, sq.top + height / 2);
    return layout;
}

int zorClockLength(const ZorClockLayout& layout, int percent)
{
    return layout.radius * percent / 100;
}

int zorClockPosition(int position)
{
    return ((position % 60) + 60) % 60;
}

CPoint zorClockPoint(
    const ZorClockLayout& layout, const ZorClockTable& table, int length, int position)
{
    const ZorClockDirection& d = table[static_cast<std::size_t>(zorClockPosition(position))];
    return CPoint(layout.centreX + length * d.x / c_nClockScale,
        layout.centreY + length * d.y / c_nClockScale);
}

std::array<POINT, 4> zorClockHand(const ZorClockLayout& layout, const ZorClockTable& table,
    int position, int halfWidth, int tip, int tail)
{
    const CPoint side
        = zorClockPoint(layout, table, zorClockLength(layout, halfWidth), position + 15);
    const CPoint point = zorClockPoint(layout, table, zorClockLength(layout, tip), position);
    const CPoint back = zorClockPoint(layout, table, zorClockLength(layout, tail), position + 30);
    const POINT other {2 * layout.centreX - side.x, 2 * layout.centreY - side.y};
    return {POINT {side.x, side.y}, POINT {point.x, point.y}, other, POINT {back.x, back.y}};
}

int zorHourPosition(int hour, int minute)
{
    return (hour % 12) * 5 + minute / 12;
}
