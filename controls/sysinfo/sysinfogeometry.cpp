#include "controls/sysinfo/sysinfogeometry.h"

#include <algorithm>

CRect zorSysInfoTimeRect(int w, int h)
{
    return CRect(6, h - 20, w / 2, h - 6);
}

CRect zorSysInfoUpTimeRect(int w, int h)
{
    return CRect((w - 6) / 2, h - 20, w - 6, h - 6);
}

CRect zorSysInfoReportRect(const CRect& area, const CSize& measured)
{
    CRect r(area.left, area.top, area.left + measured.cx, area.top + measured.cy);
    r.OffsetRect(std::max(0, (area.Width() - measured.cx) / 2),
        std::max(0, (area.Height() - measured.cy) / 2));
    return r;
}
