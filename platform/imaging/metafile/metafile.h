#pragma once

// The metafile player: a Windows metafile (WMF, with or without the placeable header) or an
// enhanced metafile (EMF) played record by record onto a picture through the platform's device
// context, so every shape follows the same pixel rules as the suite's own drawing.
//
// The picture's size:
// - EMF: the header's frame (in 0.01 mm) at xDpi x yDpi dots per inch; the reference device of
//   the header (its size in pixels and in millimetres) maps the records' device units onto it.
// - Placeable WMF: the placeable header's box (in logical units, `Inch` of them to the inch) at
//   xDpi x yDpi; the box is the initial window, the whole picture the viewport.
// - WMF without the placeable header has no physical size: the first SetWindowExt's extent, in
//   logical units taken as pixels (the dots per inch do not apply), made at most
//   c_nMetafilePlainMaxSide on its longer side with the aspect kept; the window is then that
//   extent from the window origin. Without any SetWindowExt the file has no size and is refused.
// The picture is cleared to `background` before playback.
//
// What is played: header and end of file; window and viewport origin and extent, the mapping
// modes (EMF; a WMF plays into the picture's viewport, so its own viewport and mapping mode
// records are skipped); SaveDC/RestoreDC; pens, brushes and fonts created, selected and deleted
// through the object table; background mode and colour, text colour and alignment, fill mode,
// mix mode; MoveTo/LineTo, Rectangle, RoundRect, Ellipse, Arc, Chord, Pie, polylines, polygons
// and poly-polygons (16- and 32-bit EMF forms), SetPixel, TextOut and ExtTextOut; intersecting
// and excluding clip rectangles; device-independent bitmaps stretched to the device (EMF
// StretchDIBits, WMF StretchDIB and DIBStretchBlt) in 1, 4, 8, 24 and 32 bits uncompressed.
// Any other record is skipped.
//
// Bad input stops playback with an error and no picture: a record shorter than its own header
// or running past the end of the data (eIS_ERR_TRUNCATED), data ending without the end-of-file
// record (eIS_ERR_TRUNCATED), a record of size 0, a count beyond its record or an object index
// outside the table (eIS_ERR_FORMAT), a picture of no pixels or more than the pixel limit
// (eIS_ERR_TOO_BIG).

#include "platform/imaging/imaging.h"
#include "platform/imaging/rgbpicture.h"

#include <cstdint>
#include <span>

// The longer side of the picture of a WMF without the placeable header.
constexpr int c_nMetafilePlainMaxSide = 4096;

struct ZorMetafileOptions
{
    UINT xDpi {100};
    UINT yDpi {100};
    COLORREF background {0xFFFFFF};
    std::uint64_t maxPixels {c_nISMaxPixels};
};

// Plays the metafile in `data` onto `picture`; eIS_OK, or the error that stopped playback
// (and then `picture` is empty).
UINT zorPlayMetafile(
    std::span<const BYTE> data, const ZorMetafileOptions& options, ZorRgbPicture& picture);
