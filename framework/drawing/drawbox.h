#pragma once

// The bevelled box every control draws as its three-dimensional border.
//
// The box is a one-pixel frame in the window-frame colour on the rectangle's outermost pixels,
// `depth` rings of highlight and shadow lines inside it (highlight on the top and left when
// raised, on the bottom and right when sunken), and the rest filled with the fill colour.
// A depth of 0 or less draws only the frame and the fill.

#include "platform/types/rect.h"
#include "platform/types/wintypes.h"

class CDC;

void drawBox(CDC* pDC, CRect rect, int depth, bool raised, COLORREF fill);
// The same, filled with the current window background colour.
void drawBox(CDC* pDC, CRect rect, int depth, bool raised);
