#include "controls/light/lightgeometry.h"

CRect zorLightSquare(const CRect& bounds)
{
    CRect r(bounds);
    const int width = r.Width();
    const int height = r.Height();
    if (height < width) {
        const int d = (width - height) / 2;
        r.left += d;
        r.right -= d;
    } else {
        const int d = (height - width) / 2;
        r.top += d;
        r.bottom -= d;
    }
    return r;
}

CRect zorLightLamp(const CRect& square)
{
    CRect r(square);
    const int dx = square.Width() / 20;
    const int dy = square.Height() / 20;
    r.left += dx;
    r.right -= dx;
    r.top += dy;
    r.bottom -= dy;
    return r;
}
