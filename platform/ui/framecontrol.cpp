// Frame controls in the classic look, drawn through the device context with the system colours.
//
// Edges are the platform's two-line 3-d borders: a raised edge has the 3-d light colour on the
// outer top and left lines, the 3-d dark shadow on the outer bottom and right, and the 3-d
// highlight and shadow on the inner ones; a sunken edge swaps them (shadow and dark shadow on
// top and left). Push buttons use the soft variant (highlight outside, light inside), as the
// platform's buttons do.
//
// The size grip, for a rectangle with right edge R and bottom edge B (exclusive), is a set of
// diagonal lines from the bottom edge to the right edge: the line at distance s from the corner
// covers the pixels (R - 1 - s + i, B - 1 - i) for i = 0..s. Three ridges, 4 pixels apart,
// each a highlight line with a shadow line two pixels wide on its lower right (the classic
// grip's white and grey stripes): shadow at s = 1, 2 / 5, 6 / 9, 10 and highlight at s = 3, 7,
// 11. The corner pixel itself (s = 0), the lines in between (s = 4, 8) and everything further
// out than s = 11 keep the face colour. The grip keeps this size whatever the rectangle's
// (16 x 16 and 17 x 17 look the same, anchored to the lower right corner) and is clipped to a
// smaller rectangle.
//
// A scroll arrow is a raised button (sunken when pushed, a flat shadow frame with DFCS_FLAT)
// with a black triangle in the middle, (height + 2) / 4 rows high for the smaller side of the
// rectangle, its base 2 * rows - 1 pixels wide; pushed, the triangle moves one pixel right and
// down; inactive, it is drawn in the shadow colour over a copy in the highlight colour one
// pixel lower right, as disabled things are embossed on the platform.

#include "platform/gdi/dcguard.h"
#include "platform/ui/resources.h"

#include "platform/gdi/dc.h"
#include "platform/gdi/syscolor.h"

#include <algorithm>

namespace {

void drawEdge(CDC* dc, CRect& rect, COLORREF outerTopLeft, COLORREF outerBottomRight,
    COLORREF innerTopLeft, COLORREF innerBottomRight)
{
    dc->Draw3dRect(&rect, outerTopLeft, outerBottomRight);
    rect.DeflateRect(1, 1);
    dc->Draw3dRect(&rect, innerTopLeft, innerBottomRight);
    rect.DeflateRect(1, 1);
}

void drawRaisedEdge(CDC* dc, CRect& rect, bool soft)
{
    const COLORREF light = GetSysColor(COLOR_3DLIGHT);
    const COLORREF highlight = GetSysColor(COLOR_3DHIGHLIGHT);
    drawEdge(dc, rect, soft ? highlight : light, GetSysColor(COLOR_3DDKSHADOW),
        soft ? light : highlight, GetSysColor(COLOR_3DSHADOW));
}

void drawSunkenEdge(CDC* dc, CRect& rect)
{
    drawEdge(dc, rect, GetSysColor(COLOR_3DSHADOW), GetSysColor(COLOR_3DHIGHLIGHT),
        GetSysColor(COLOR_3DDKSHADOW), GetSysColor(COLOR_3DLIGHT));
}

void drawFlatFrame(CDC* dc, CRect& rect)
{
    const COLORREF shadow = GetSysColor(COLOR_3DSHADOW);
    dc->Draw3dRect(&rect, shadow, shadow);
    rect.DeflateRect(1, 1);
}

// One diagonal of the size grip (see above), from the bottom edge to the right edge; the
// caller clips to the rectangle.
void drawGripLine(CDC* dc, const CRect& rect, int s, CPen* pen)
{
    dc->SelectObject(pen);
    // The line starts on the bottom edge (outside the rectangle, so its first pixel is clipped)
    // and ends on the right edge (excluded, as a line's end point is).
    dc->MoveTo(rect.right - 2 - s, rect.bottom);
    dc->LineTo(rect.right, rect.bottom - 2 - s);
}

void drawSizeGrip(CDC* dc, const CRect& rect)
{
    dc->FillSolidRect(&rect, GetSysColor(COLOR_3DFACE));
    dc->IntersectClipRect(&rect);
    CPen highlight(PS_SOLID, 1, GetSysColor(COLOR_3DHIGHLIGHT));
    CPen shadow(PS_SOLID, 1, GetSysColor(COLOR_3DSHADOW));
    CPen* previous = dc->GetCurrentPen();
    for (int ridge = 0; ridge < 3; ++ridge) {
        const int s = 1 + 4 * ridge;
        drawGripLine(dc, rect, s, &shadow);
        drawGripLine(dc, rect, s + 1, &shadow);
        drawGripLine(dc, rect, s + 2, &highlight);
    }
    // The pens die here; the context must not keep one selected.
    dc->SelectObject(previous);
}

enum eARROW { eUP, eDOWN, eLEFT, eRIGHT };

// A filled triangle pointing in the direction, centred in the rectangle, row by row.
void drawTriangle(CDC* dc, const CRect& rect, eARROW direction, COLORREF color)
{
    const int side = std::min(rect.Width(), rect.Height());
    const int rows = std::max(1, (side + 2) / 4);
    const bool vertical = direction == eUP || direction == eDOWN;
    // The middle pixel of the base and the first row's position along the arrow's axis.
    const int centre
        = vertical ? rect.left + (rect.Width() - 1) / 2 : rect.top + (rect.Height() - 1) / 2;
    const int start
        = vertical ? rect.top + (rect.Height() - rows) / 2 : rect.left + (rect.Width() - rows) / 2;
    for (int row = 0; row < rows; ++row) {
        // Row 0 is the tip for up and left, the base for down and right.
        const int half = (direction == eUP || direction == eLEFT) ? row : rows - 1 - row;
        if (vertical)
            dc->FillSolidRect(centre - half, start + row, 2 * half + 1, 1, color);
        else
            dc->FillSolidRect(start + row, centre - half, 1, 2 * half + 1, color);
    }
}

BOOL drawScroll(CDC* dc, CRect rect, UINT state)
{
    const UINT kind = state & 0x000F;
    if (kind == DFCS_SCROLLSIZEGRIP) {
        drawSizeGrip(dc, rect);
        return TRUE;
    }
    if (kind > DFCS_SCROLLRIGHT)
        return FALSE;
    const bool pushed = state & DFCS_PUSHED;
    // The triangle's size and place come from the whole button.
    CRect arrow = rect;
    if (state & DFCS_FLAT)
        drawFlatFrame(dc, rect);
    else if (pushed)
        drawSunkenEdge(dc, rect);
    else
        drawRaisedEdge(dc, rect, false);
    dc->FillSolidRect(&rect, GetSysColor(COLOR_3DFACE));

    const auto direction = static_cast<eARROW>(kind);
    if (pushed)
        arrow.OffsetRect(1, 1);
    if (state & DFCS_INACTIVE) {
        CRect embossed = arrow;
        embossed.OffsetRect(1, 1);
        drawTriangle(dc, embossed, direction, GetSysColor(COLOR_3DHIGHLIGHT));
        drawTriangle(dc, arrow, direction, GetSysColor(COLOR_3DSHADOW));
    } else {
        drawTriangle(dc, arrow, direction, GetSysColor(COLOR_BTNTEXT));
    }
    return TRUE;
}

// The classic check mark: seven columns, three pixels high each, the short stroke falling to
// the third column and the long one rising to the seventh.
void drawCheckMark(CDC* dc, const CRect& box, COLORREF color)
{
    static constexpr int c_top[7] = {2, 3, 4, 3, 2, 1, 0};
    const int left = box.left + (box.Width() - 7) / 2;
    const int top = box.top + (box.Height() - 7) / 2;
    for (int column = 0; column < 7; ++column)
        dc->FillSolidRect(left + column, top + c_top[column], 1, 3, color);
}

BOOL drawButton(CDC* dc, CRect rect, UINT state)
{
    const bool pushed = state & DFCS_PUSHED;
    const bool checked = state & DFCS_CHECKED;
    const bool inactive = state & DFCS_INACTIVE;
    if (state & DFCS_BUTTONPUSH) {
        if (state & DFCS_FLAT)
            drawFlatFrame(dc, rect);
        else if (pushed || checked)
            drawSunkenEdge(dc, rect);
        else
            drawRaisedEdge(dc, rect, true);
        // A checked (latched) button shows the light colour inside, as on the platform.
        dc->FillSolidRect(
            &rect, checked && !pushed ? GetSysColor(COLOR_3DLIGHT) : GetSysColor(COLOR_3DFACE));
        return TRUE;
    }
    if ((state & 0x00FF) != DFCS_BUTTONCHECK)
        return FALSE;
    // The box is a square of the smaller side, centred in the rectangle.
    const int side = std::min(rect.Width(), rect.Height());
    CRect box(CPoint(rect.left + (rect.Width() - side) / 2, rect.top + (rect.Height() - side) / 2),
        CSize(side, side));
    if (state & DFCS_FLAT)
        drawFlatFrame(dc, box);
    else
        drawSunkenEdge(dc, box);
    dc->FillSolidRect(
        &box, pushed || inactive ? GetSysColor(COLOR_3DFACE) : GetSysColor(COLOR_WINDOW));
    if (checked)
        drawCheckMark(
            dc, box, inactive ? GetSysColor(COLOR_GRAYTEXT) : GetSysColor(COLOR_WINDOWTEXT));
    return TRUE;
}

} // namespace

BOOL DrawFrameControl(CDC* pDC, LPRECT lprc, UINT uType, UINT uState)
{
    if (!pDC || !lprc)
        return FALSE;
    CRect rect(*lprc);
    rect.NormalizeRect();
    if (rect.IsRectEmpty())
        return FALSE;
    // The drawing changes the pen, the background colour and the clip: the caller's come back.
    CDCGuard guard(pDC, CDCGuard::wholeState);
    BOOL drawn = FALSE;
    switch (uType) {
    case DFC_SCROLL:
        drawn = drawScroll(pDC, rect, uState);
        break;
    case DFC_BUTTON:
        drawn = drawButton(pDC, rect, uState);
        break;
    default:
        // FIXME: captions and menu glyphs are not drawn; nothing in the suite asks for them.
        break;
    }
    return drawn;
}
