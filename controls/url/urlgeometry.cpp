#include "controls/url/urlgeometry.h"

#include "platform/gdi/dc.h"

CRect zorUrlTextRect(const CRect& bounds, const CSize& text, LONG justify, UINT* format)
{
    int dx = (bounds.Width() - text.cx) / 2;
    int dy = (bounds.Height() - text.cy) / 2;
    if (dx < 0)
        dx = 0;
    if (dy < 0)
        dy = 0;
    int offset = 0;
    UINT align = DT_CENTER;
    switch (justify) {
    case 0:
        align = DT_LEFT;
        break;
    case 1:
        offset = dx;
        align = DT_CENTER;
        break;
    case 2:
        offset = 2 * dx;
        align = DT_RIGHT;
        break;
    default:
        break;
    }
    if (format)
        *format = align;
    return CRect(offset, dy, offset + text.cx, dy + text.cy);
}

bool zorUrlHit(const CRect& textRect, const CPoint& point)
{
    CRect area(textRect);
    area.InflateRect(4, 4);
    return area.PtInRect(point);
}
