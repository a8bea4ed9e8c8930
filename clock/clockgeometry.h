#pragma once

// The geometry of the analog dial, in plain functions: where the dial, its marks and its text
// bands lie in a rectangle, and where a direction of the 60-entry table puts a point, a hand's
// corners or a mark. Everything is integer arithmetic on the table's vectors (scaled by 8000);
// divisions truncate toward zero, in the order the layout states them.

#include "platform/types/rect.h"
#include "platform/types/wintypes.h"

#include <array>
#include <string>

// What the layout asks of the device the dial is shown on: its size in pixels (HORZRES,
// VERTRES) and in millimetres (HORZSIZE, VERTSIZE).
struct ZorClockDevice
{
    int horzRes {0};
    int vertRes {0};
    int horzSize {0};
    int vertSize {0};
};

// One minute position's direction, x and y scaled by 8000, y growing downward.
struct ZorClockDirection
{
    SHORT x {0};
    SHORT y {0};
};
using ZorClockTable = std::array<ZorClockDirection, 60>;
constexpr int c_nClockScale = 8000;
// The table's size as the module stores it: 60 pairs of little-endian 16-bit values.
constexpr std::size_t c_nClockTableBytes = 240;

// Reads the stored table; false when the bytes are fewer than a whole table.
bool zorReadClockTable(const std::string& bytes, ZorClockTable* table);

struct ZorClockLayout
{
    CRect outer; // the rectangle laid out
    CRect inner; // outer shrunk by 5 on every side
    CRect face; // the dial's square
    int centreX {0};
    int centreY {0};
    int radius {0};
    int markWidth {0}; // a five-minute mark
    int markHeight {0};
    int halfMarkWidth {0};
    int halfMarkHeight {0};
    CRect titleBand; // above the dial
    CRect dateBand; // below the dial
    CRect ampmBox; // inside the dial's upper half
};

// Lays the dial out in `bounds` for texts of `fontHeight` (its magnitude counts) on `device`.
// The marks are physically square: their height follows from their width by the device's
// vertical and horizontal pixel densities. A rectangle too small for the dial gives an
// inverted face and a negative radius, which drawing takes as they are.
ZorClockLayout zorClockLayout(const CRect& bounds, int fontHeight, const ZorClockDevice& device);

// A length given as a percentage of the radius.
int zorClockLength(const ZorClockLayout& layout, int percent);
// A minute position folded into 0..59 (negative and large values included).
int zorClockPosition(int position);
// The point at `length` pixels from the centre in minute position `position` (0 at twelve,
// clockwise).
CPoint zorClockPoint(
    const ZorClockLayout& layout, const ZorClockTable& table, int length, int position);
// The four corners of a hand in minute position `position`, with its half width, tip length and
// tail length as percentages of the radius: the side point, the tip, the other side point
// (mirrored through the centre) and the tail.
std::array<POINT, 4> zorClockHand(const ZorClockLayout& layout, const ZorClockTable& table,
    int position, int halfWidth, int tip, int tail);
// The hour hand's position: five per hour on the twelve-hour dial, moving on every 12 minutes.
int zorHourPosition(int hour, int minute);
