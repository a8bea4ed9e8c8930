#pragma once

// A decoded picture as the readers build it before handing it over: 24-bit RGB rows without
// padding, top row first. Plain data without Qt, so the readers of our own can run alone
// (the fuzz targets call them on raw bytes).

#include "platform/types/wintypes.h"

#include <cstdint>
#include <vector>

struct ZorRgbPicture
{
    UINT width {0};
    UINT height {0};
    std::vector<BYTE> pixels; // width x height x 3 bytes: red, green, blue

    BYTE* pixel(UINT x, UINT y) { return pixels.data() + (std::size_t(y) * width + x) * 3; }
};

// Makes `picture` width x height pixels of black. Fails with eIS_ERR_TOO_BIG for a size of 0
// or more than c_nISMaxPixels pixels and with eIS_ERR_MEMORY when the memory is not there.
bool zorAllocatePicture(
    ZorRgbPicture& picture, std::uint64_t width, std::uint64_t height, UINT& error);
