#pragma once

// The graph's arithmetic as plain functions that need no window: the value scale chosen from
// the data, the mapping of data points onto the plot area, the texts and places of the value
// and time labels, and the strip that a changed point repaints.
//
// Values are integers in hundredths of the displayed unit (1234 shows as 12.34). Data point i
// lies at logical x = i * 100 and a value v at logical y = v; the anisotropic mapping turns
// that into the plot area, values growing upward, with one fifteenth of each extent left free
// beyond the last point and above the maximum.

#include "platform/types/oledatetime.h"
#include "platform/types/rect.h"
#include "platform/types/wintypes.h"

#include <cstddef>
#include <string>
#include <vector>

class CDC;

// A point without a value: it draws nothing and breaks the line.
constexpr LONG c_lEmptyPoint = -99999;
constexpr int c_nGraphPlots = 5;
// One point per quarter hour.
constexpr LONG c_lPointsPerDay = 96;
// The most points a plot holds: a year of quarter hours (five plots of 35,136 values, under
// 1 MB). A larger count is refused rather than allocated.
constexpr LONG c_lMaxGraphPoints = c_lPointsPerDay * 366;
// Values beyond this magnitude are scaled and drawn at it, so that no extent or coordinate of
// the mapping overflows 32 bits.
constexpr LONG c_lGraphValueLimit = 1000000000;
// Where the search for the data's range starts: a range of values found has largest >= smallest.
constexpr LONG c_lRangeSmallestStart = 100000000;
constexpr LONG c_lRangeLargestStart = -100000000;

// The value axis: its ends after rounding to the step, and the data's span before rounding.
struct GraphScale
{
    LONG minimum {0};
    LONG maximum {0};
    LONG span {0};
};

// A value as the scale and the plot use it: limited to +/- c_lGraphValueLimit.
LONG zorGraphPlotValue(LONG value);

// Widens [smallest, largest] by the values that are not empty.
void zorGraphAccumulateRange(const LONG* values, std::size_t count, LONG* smallest, LONG* largest);

// The scale of a data range: with minVal0 a positive smallest value becomes 0; the step is
// chosen by the span and both ends are aligned to it (the maximum one step above the largest
// value's step). A short span raises *yDigits so that the labels show the hundredths.
// A negative smallest value is aligned down, so that the axis reaches below it.
GraphScale zorGraphScale(LONG smallest, LONG largest, bool minVal0, LONG* yDigits);

// The height of the value axis in logical units: maximum - minimum.
LONG zorGraphYExtent(const GraphScale& scale);

// The mapping of the plot area for the bounds of a draw and the line height.
struct GraphMapping
{
    CPoint viewportOrg;
    CSize viewportExt;
    CPoint windowOrg;
    CSize windowExt;
    LONG xExtent {0};
    LONG yExtent {0};
};

// False when the value axis has no height (nothing of the plot area can be drawn then).
bool zorGraphMapping(const CRect& bounds, int lineHeight, LONG points, const GraphScale& scale,
    GraphMapping* mapping);
// Selects the graph mapping into the context, or the identity (text mode) for drawing text
// and ticks in device pixels.
void zorGraphSelectMapping(CDC* pdc, const GraphMapping& mapping);
void zorGraphSelectDeviceMapping(CDC* pdc);

// The device rectangle a changed point repaints: its neighbours' columns over the whole value
// axis, grown by 2 pixels on each side so that the crosses are inside.
CRect zorGraphStripRect(const GraphMapping& mapping, const GraphScale& scale, LONG index);

// "12.34 ": the whole units, the hundredths zero-padded to at least yDigits digits, a blank;
// "12 " when yDigits is 0. Negative values carry their sign in front ("-0.50 ").
std::string zorGraphValueLabel(LONG value, LONG yDigits);

struct GraphValueLabel
{
    LONG y {0};
    std::string text;
};
// The value labels from the minimum up to the maximum in fifths of the axis.
void zorGraphValueLabels(
    const GraphScale& scale, LONG yDigits, std::vector<GraphValueLabel>* labels);

// The distance of the time labels in logical units: six per day up to two days, two per day
// beyond; 0 when there is not a whole day of points.
LONG zorGraphLabelStep(LONG xExtent, LONG days);

struct GraphTimeLabel
{
    LONG x {0};
    // The date above the time on the first label and on each new day, else the time; empty
    // when the start time is not valid.
    std::string text;
};
// The time labels along the axis from the start time, one per label step.
void zorGraphTimeLabels(
    const COleDateTime& start, LONG xExtent, LONG days, std::vector<GraphTimeLabel>* labels);
