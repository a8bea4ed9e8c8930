#include "framework/drawing/drawbox.h"

#include "platform/gdi/dc.h"
#include "platform/gdi/gdiobjects.h"
#include "platform/gdi/syscolor.h"

// This file is compiled into every module that draws boxes without linking the framework, so
// it depends on the device context alone.

void drawBox(CDC* pDC, CRect rect, int depth, bool raised, COLORREF fill)
{
    if (!pDC)
        return;
    const int savedDC = pDC->SaveDC();

    CPen framePen(PS_SOLID, 0, GetSysColor(COLOR_WINDOWFRAME));
    CBrush fillBrush(fill);
    CPen* oldPen = pDC->SelectObject(&framePen);
    CBrush* oldBrush = pDC->SelectObject(&fillBrush);
    pDC->Rectangle(&rect);

    // The ring of bevel lines starts just inside the frame. A sunken box keeps its left and top
    // edge here so that its first shadow line lies on the pixels next to the frame.
    CRect work = rect;
    if (raised)
        work.DeflateRect(1, 1);
    else
        work.DeflateRect(0, 0, 1, 1);

    CPen highlightPen(PS_SOLID, 0, GetSysColor(COLOR_3DHILIGHT));
    CPen shadowPen(PS_SOLID, 0, GetSysColor(COLOR_3DSHADOW));
    for (int ring = 0; ring < depth; ++ring) {
        work.DeflateRect(1, 1);
        pDC->SelectObject(raised ? &highlightPen : &shadowPen);
        pDC->MoveTo(work.left, work.bottom);
        pDC->LineTo(work.left, work.top);
        pDC->LineTo(work.right, work.top);
        pDC->SelectObject(raised ? &shadowPen : &highlightPen);
        pDC->LineTo(work.right, work.bottom);
        pDC->LineTo(work.left, work.bottom);
    }

    // The fill covers [left, right) x [top, bottom): in a raised box it paints over the
    // innermost highlight lines but for the pixel at the bottom-left corner.
    pDC->SelectObject(&highlightPen);
    if (!raised)
        work.DeflateRect(1, 1, 0, 0);
    pDC->FillRect(&work, &fillBrush);

    if (oldPen)
        pDC->SelectObject(oldPen);
    if (oldBrush)
        pDC->SelectObject(oldBrush);
    if (savedDC)
        pDC->RestoreDC(savedDC);
}

void drawBox(CDC* pDC, CRect rect, int depth, bool raised)
{
    drawBox(pDC, rect, depth, raised, GetSysColor(COLOR_WINDOW));
}
