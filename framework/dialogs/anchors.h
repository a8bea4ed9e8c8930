#pragma once

// Anchors of a resizable dialog's controls.
//
// An anchor names a point of the client area as percentages of its width and height (0 is the
// left or top edge, 100 the right or bottom edge). A control's corner keeps its offset (the
// margin) from the point its anchor names while the client area changes size. Every module
// that includes this header gets its own copy of the named anchors.

#include "platform/types/rect.h"

const CSize anchorTopLeft(0, 0);
const CSize anchorTopCenter(50, 0);
const CSize anchorTopRight(100, 0);
const CSize anchorMiddleLeft(0, 50);
const CSize anchorMiddleCenter(50, 50);
const CSize anchorMiddleRight(100, 50);
const CSize anchorBottomLeft(0, 100);
const CSize anchorBottomCenter(50, 100);
const CSize anchorBottomRight(100, 100);
// As the bottom-right anchor: the bottom-right corner follows the top-left anchor too, so the
// control moves and keeps its size.
const CSize anchorNone(-1, -1);

// The point an anchor names in a client area of the size; the divisions truncate toward zero.
inline CPoint anchorPoint(const CSize& client, const CSize& anchor)
{
    return CPoint(client.cx * anchor.cx / 100, client.cy * anchor.cy / 100);
}

// The offset of a corner from the point its anchor names.
inline CSize anchorMargin(const CSize& client, const CSize& anchor, const CPoint& corner)
{
    const CPoint point = anchorPoint(client, anchor);
    return CSize(corner.x - point.x, corner.y - point.y);
}

// Where a corner with the anchor and margin lies in a client area of the size.
inline CPoint anchoredCorner(const CSize& client, const CSize& anchor, const CSize& margin)
{
    const CPoint point = anchorPoint(client, anchor);
    return CPoint(point.x + margin.cx, point.y + margin.cy);
}
