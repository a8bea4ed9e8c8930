#pragma once

// A bitmap resource that draws itself 1:1, either as it is or with one colour transparent.
//
// The transparent drawing uses the three-pass mask method, which works on any device context
// with bit blits alone: the image is combined into the target by exclusive-or, a monochrome
// mask (white where the image has the transparent colour) is and-ed in, and the image is
// combined by exclusive-or again. Where the mask is white the two exclusive-ors cancel and the
// target keeps its pixel; where it is black the target ends as the image.

#include "platform/gdi/gdiobjects.h"
#include "platform/types/wintypes.h"

class CDC;

class CTransparentBitmap : public CBitmap
{
public:
    CTransparentBitmap() = default;
    ~CTransparentBitmap() override = default;

    // Loads the bitmap resource of the identifier from whichever loaded module holds one (the
    // current resource module first). Non-zero on success; on failure the bitmap, width and
    // height stay as they were.
    int loadBitmap(UINT nIDResource);

    int getWidth() const { return m_width; }
    int getHeight() const { return m_height; }

    // Copies the bitmap to (x, y) at its full size.
    void draw(CDC* pDC, int x, int y);
    // Draws the bitmap at (x, y), leaving the target's pixels where the bitmap has the colour
    // crTransparent.
    void drawTransparent(CDC* pDC, int x, int y, COLORREF crTransparent);

private:
    int m_width {0};
    int m_height {0};
};
