#pragma once

// Loading a bitmap resource together with a palette that fits it.

#include "platform/types/wintypes.h"

class CBitmap;
class CPalette;
class CDC;

// Loads bitmap resource nIDResource of the current resource module, with the standard 3-d greys
// of its colour table replaced by the current 3-d colours, and attaches it to bitmap. On a
// device with palettes it also creates the palette: a half-tone palette for images of more than
// 256 colours, else one entry per colour of the image's colour table. A device without palette
// capability (every true-colour device, and no device at all) gets no palette. False when the
// resource does not load.
bool createPaletteAndBitmap(CBitmap& bitmap, CPalette& pal, CDC* pDC, UINT nIDResource);
