#pragma once

// The progress bar's geometry, colours and text as plain functions.
//
// On a device with more than 256 colours the filled part is drawn as bands, one inside the
// other: each band a horizontal gradient from the start colour at the bar's left edge to the
// end colour at the right edge of the whole (unfilled) bar, and each inner band a step lighter,
// so the bar runs from the start to the end colour along its length and grows lighter towards
// its middle line.

#include "platform/types/rect.h"
#include "platform/types/wintypes.h"

#include <string>
#include <vector>

// One band: the part of the bar it covers and its gradient's colours at the bar's left and
// right edges.
struct ZorProgressBand
{
    CRect rect;
    COLORREF start {0};
    COLORREF end {0};
};

// Whether the gradient is drawn on a device of this colour depth: with more than 256 colours.
bool zorProgressGradient(int bitsPerPixel, int planes);
// The gradient bar inside the bounds: shrunk by 3 on the left and right and 2 at the top and
// bottom.
CRect zorProgressBar(const CRect& bounds);
// The filled part of a bar: its right edge at left + width x fraction, no further than the
// bar's own right edge (a position above the range fills the whole bar).
CRect zorProgressFilled(const CRect& bar, double fraction);
// The bands of a bar filled to the fraction, outermost first. Their count follows the bar's
// height (a third of it, at least one band); the colours step towards white by
// (255 - channel) / count per band.
std::vector<ZorProgressBand> zorProgressBands(
    const CRect& bar, double fraction, COLORREF start, COLORREF end);
// The text shown on the bar: with ShowPercent 1 the whole percent ("16%"), with 2 the percent
// with two decimals ("16.50%"), with another non-zero ShowPercent or with ShowCount the
// position; empty when neither asks for text. The range is at least 1.
std::string zorProgressText(LONG showPercent, bool showCount, LONG position, LONG range);
