#include "controls/progress/progressgeometry.h"

#include <algorithm>
#include <cstdio>

namespace {

// A colour each channel of which is advanced `times` steps towards white.
COLORREF lighter(COLORREF color, const int step[3], int times)
{
    int channel[3] = {GetRValue(color), GetGValue(color), GetBValue(color)};
    for (int c = 0; c < 3; ++c)
        channel[c] = std::min(255, channel[c] + step[c] * times);
    return RGB(channel[0], channel[1], channel[2]);
}

void stepsTowardsWhite(COLORREF color, int count, int step[3])
{
    step[0] = (255 - GetRValue(color)) / count;
    step[1] = (255 - GetGValue(color)) / count;
    step[2] = (255 - GetBValue(color)) / count;
}

} // namespace

bool zorProgressGradient(int bitsPerPixel, int planes)
{
    // The colour count is 2 to the power of the bits of a pixel: more than 256 above 8 bits.
    return bitsPerPixel * planes > 8;
}

CRect zorProgressBar(const CRect& bounds)
{
    CRect bar(bounds);
    bar.DeflateRect(3, 2);
    return bar;
}

CRect zorProgressFilled(const CRect& bar, double fraction)
{
    CRect filled(bar);
    if (fraction <= 0.0)
        filled.right = filled.left;
    else if (fraction < 1.0)
        filled.right = filled.left + static_cast<int>(bar.Width() * fraction);
    return filled;
}

std::vector<ZorProgressBand> zorProgressBands(
    const CRect& bar, double fraction, COLORREF start, COLORREF end)
{
    const int height = bar.Height();
    // A bar lower than three pixels still gets its one band (and no division by zero).
    const int count = std::max(1, height / 3);
    int startStep[3];
    int endStep[3];
    stepsTowardsWhite(start, count, startStep);
    stepsTowardsWhite(end, count, endStep);

    const CRect filled = zorProgressFilled(bar, fraction);
    std::vector<ZorProgressBand> bands;
    for (int i = 0; i <= count; ++i) {
        const int inset = static_cast<int>(height * 0.5 / count * i);
        ZorProgressBand band;
        band.rect = CRect(filled.left, bar.top + inset, filled.right, bar.bottom - inset);
        band.start = lighter(start, startStep, i);
        band.end = lighter(end, endStep, i);
        bands.push_back(band);
    }
    return bands;
}

std::string zorProgressText(LONG showPercent, bool showCount, LONG position, LONG range)
{
    if (!showPercent && !showCount)
        return {};
    // The percent from position x 100 / range: the fraction times 100 would lose a hundredth
    // (29 of 100 is 0.29, and 0.29 x 100 falls just below 29).
    const double percent = position * 100.0 / range;
    char text[64];
    if (showPercent == 1)
        std::snprintf(text, sizeof text, "%lld%%", static_cast<long long>(percent));
    else if (showPercent == 2)
        std::snprintf(text, sizeof text, "%.2lf%%", percent);
    else
        std::snprintf(text, sizeof text, "%d", static_cast<int>(position));
    return text;
}
