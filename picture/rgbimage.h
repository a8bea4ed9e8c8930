#pragma once

// CRGBImage: one decoded picture as 24-bit RGB rows without padding (red, green, blue; top row
// first), width x height x 3 bytes in a movable memory block that the image owns and frees.
// Every operation goes through the imaging library and returns 0 on success, else an error
// code (eISERROR); a failed load leaves the image empty.

#include "platform/imaging/imaging.h"

#include <cstddef>
#include <string>

class CDC;

class CRGBImage
{
public:
    CRGBImage() = default;
    ~CRGBImage();
    CRGBImage(const CRGBImage&) = delete;
    CRGBImage& operator=(const CRGBImage&) = delete;

    UINT width() const { return m_width; }
    UINT height() const { return m_height; }
    bool hasPixels() const { return m_pixels != nullptr; }
    // The size of the pixels' block in bytes (0 when empty).
    std::size_t byteCount() const;

    // Frees the pixels; the size becomes 0 x 0.
    void clear();
    // The picture of a file: its type guessed from the content, else from the extension, then
    // read with the type's reader (metafiles by path).
    UINT loadFile(const std::string& path);
    // The picture of an encoded file image in memory, its type guessed from the content only.
    // Metafiles and TGA data are not read from memory.
    UINT loadMemory(const BYTE* data, UINT length);
    // Copies another image's size and pixels; 1 when the other has no pixels or there is no
    // memory for them, and the image ends empty.
    UINT copy(const CRGBImage& other);
    // The same from width x height x 3 bytes of RGB.
    UINT copy(UINT width, UINT height, const BYTE* pixels);
    // Resamples the picture to width x height. On any failure (no pixels, a size of 0, too
    // many pixels, no memory, the library's error) the image stays as it was.
    UINT resample(UINT width, UINT height);
    // Draws the picture at its own size with its top-left corner at (x, y).
    UINT draw(CDC* pDC, int x, int y) const;

private:
    // Makes a block the library returned, with its size, the picture; refuses a missing block
    // and one smaller than the size says.
    UINT take(HGLOBAL block, UINT width, UINT height, UINT error);

    UINT m_width {0};
    UINT m_height {0};
    HGLOBAL m_pixels {nullptr};
};
