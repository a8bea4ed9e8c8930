#pragma once

// Where the link's text goes and where a click reaches it, as plain functions.

#include "platform/types/rect.h"
#include "platform/types/wintypes.h"

// The text rectangle for a text of `text` size in the bounds `bounds` (already shrunk by the
// frame when there is one): dx and dy are half the space left (0 when the text is larger);
// Justify 0 puts the text at the left, 1 offsets it by dx, 2 by twice dx, anything else at the
// left. The rectangle is measured from the client origin; *format receives the DrawText
// alignment (DT_LEFT, DT_CENTER or DT_RIGHT).
CRect zorUrlTextRect(const CRect& bounds, const CSize& text, LONG justify, UINT* format);
// A click opens the address within 4 pixels of the text rectangle.
bool zorUrlHit(const CRect& textRect, const CPoint& point);
