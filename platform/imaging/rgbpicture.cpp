#include "platform/imaging/rgbpicture.h"

#include "platform/imaging/imaging.h"

#include <new>

bool zorAllocatePicture(
    ZorRgbPicture& picture, std::uint64_t width, std::uint64_t height, UINT& error)
{
    picture = ZorRgbPicture();
    // Each side is at most 2^32 - 1 here, so the product cannot wrap when either is checked
    // against the limit first.
    if (width == 0 || height == 0 || width > c_nISMaxPixels || height > c_nISMaxPixels
        || width * height > c_nISMaxPixels) {
        error = eIS_ERR_TOO_BIG;
        return false;
    }
    try {
        picture.pixels.assign(width * height * 3, 0);
    } catch (const std::bad_alloc&) {
        error = eIS_ERR_MEMORY;
        return false;
    }
    picture.width = UINT(width);
    picture.height = UINT(height);
    return true;
}
