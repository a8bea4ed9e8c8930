#include "controls/time/timetext.h"

#include "platform/gdi/dc.h"

#include <algorithm>
#include <cstdio>

namespace {

constexpr long long c_secondsPerDay = 86400;

} // namespace

LONG zorTimeStep(LONG interval)
{
    return interval < 1 ? 1 : interval;
}

UINT zorTimerElapse(LONG interval)
{
    const long long ms = static_cast<long long>(zorTimeStep(interval)) * 1000;
    return static_cast<UINT>(std::min<long long>(ms, 0x7FFFFFFF));
}

std::string zorUpTimeText(long long upSeconds, LONG interval)
{
    if (upSeconds < 0)
        upSeconds = 0;
    const long long s = upSeconds - upSeconds % zorTimeStep(interval);
    const long long days = s / c_secondsPerDay;
    const long long rest = s % c_secondsPerDay;
    char text[64];
    std::snprintf(text, sizeof text, " %lld %s %02lld:%02lld:%02lld ", days,
        days == 1 ? "day" : "days", rest / 3600, rest % 3600 / 60, rest % 60);
    return text;
}

std::string zorTimeText(int hour, int minute, int second, LONG interval)
{
    const int aligned = second - static_cast<int>(second % zorTimeStep(interval));
    char text[32];
    std::snprintf(text, sizeof text, " %02d:%02d:%02d ", hour, minute, aligned);
    return text;
}

CRect zorTimeTextRect(const CRect& area, const CSize& text, LONG justify, UINT* format)
{
    const int dx = std::max(0, (area.Width() - text.cx) / 2);
    const int dy = std::max(0, (area.Height() - text.cy) / 2);
    int offset = 0;
    UINT align = DT_LEFT;
    if (justify == 1) {
        offset = dx;
        align = DT_CENTER;
    } else if (justify != 0) {
        offset = 2 * dx;
        align = DT_RIGHT;
    }
    if (format)
        *format = align;
    const CPoint origin(area.left + offset, area.top + dy);
    return CRect(origin.x, origin.y, origin.x + text.cx, origin.y + text.cy);
}
