#pragma once

// The PCX reader: 1-bit black and white; 1 bit in 2 to 4 planes or 2 or 4 bits in one plane,
// coloured by the 16-entry palette of the header; 8 bits in one plane coloured by the
// 256-entry palette that follows a 0x0C byte at the end of the file; 8 bits in 3 planes (red,
// green, blue; a fourth plane of alpha is ignored). Stored plainly or run-length encoded.
//
// A run may cross from one scan line into the next (some writers do that) but never writes
// outside the line buffer, and a run going past the last line is an error. A scan line may hold
// more bytes than the width needs; the rest is skipped.
//
// Bad data gives false and an eISERROR code, never a read outside `data`: a size of 0 or over
// the limit (eIS_ERR_TOO_BIG, checked before any pixel memory is taken), data or palette that
// end early (eIS_ERR_TRUNCATED), an unknown version, encoding or layout, lines too short for
// the width or a run past the end (eIS_ERR_FORMAT).

#include "platform/imaging/rgbpicture.h"

#include <span>

bool zorDecodePcx(std::span<const BYTE> data, ZorRgbPicture& picture, UINT& error);
