#pragma once

// The TGA reader: colour-mapped (types 1 and 9), true-colour of 15, 16, 24 or 32 bits (types 2
// and 10) and grey of 8 bits, or 16 with alpha (types 3 and 11), each stored plainly or
// run-length encoded, rows bottom-up or top-down and pixels left-to-right or right-to-left as
// the image descriptor says. The image ID field is skipped and alpha is ignored.
//
// Bad data gives false and an eISERROR code, never a read outside `data`: a size of 0 or over
// the limit (eIS_ERR_TOO_BIG, checked before any pixel memory is taken), data that ends early
// (eIS_ERR_TRUNCATED), an unknown type or depth, a colour index outside the colour map or a
// run going past the last pixel (eIS_ERR_FORMAT).

#include "platform/imaging/rgbpicture.h"

#include <span>

bool zorDecodeTga(std::span<const BYTE> data, ZorRgbPicture& picture, UINT& error);
