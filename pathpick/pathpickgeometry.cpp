#include "pathpick/pathpickgeometry.h"

ZorPathPickLayout zorPathPickLayout(const CRect& bounds)
{
    CRect text = bounds;
    text.DeflateRect(4, 4);
    CRect button = text;
    button.left = button.right - (text.bottom - text.top);
    text.right = button.left - 3;

    button.DeflateRect(1, 1);
    text.DeflateRect(1, 1);
    button.OffsetRect(0, 1);
    text.OffsetRect(0, 1);
    return {text, button};
}
