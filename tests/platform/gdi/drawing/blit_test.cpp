#include "drawingtest.h"

#include "platform/gdi/gdiobjects.h"

#include <gtest/gtest.h>

namespace {

constexpr COLORREF c_magenta = RGB(255, 0, 255);

// A 4 x 1 colour bitmap: transparent colour, red, transparent colour, blue.
void makeImageBitmap(CBitmap& bitmap)
{
    QImage image(4, 1, QImage::Format_RGB32);
    image.setPixel(0, 0, qRgb(255, 0, 255));
    image.setPixel(1, 0, qRgb(255, 0, 0));
    image.setPixel(2, 0, qRgb(255, 0, 255));
    image.setPixel(3, 0, qRgb(0, 0, 255));
    ASSERT_TRUE(bitmap.attachImage(image));
}

TEST(MemoryContext, StartsWithOneMonochromePixel)
{
    CDC memory;
    ASSERT_TRUE(memory.CreateCompatibleDC(nullptr));
    ASSERT_NE(memory.GetCurrentBitmap(), nullptr);
    EXPECT_TRUE(memory.GetCurrentBitmap()->isMonochrome());
    EXPECT_EQ(memory.GetCurrentBitmap()->GetBitmapDimension(), CSize(1, 1));
    CBitmap compatible;
    ASSERT_TRUE(compatible.CreateCompatibleBitmap(&memory, 5, 5));
    EXPECT_TRUE(compatible.isMonochrome());

    CDC window;
    CBitmap colour;
    ASSERT_TRUE(colour.CreateCompatibleBitmap(&window, 5, 5));
    EXPECT_FALSE(colour.isMonochrome());
    EXPECT_EQ(window.SelectObject(&colour), nullptr); // only a memory context holds a bitmap
    CBitmap* old = memory.SelectObject(&colour);
    EXPECT_TRUE(old && old->isMonochrome());
    EXPECT_EQ(memory.GetDeviceCaps(HORZRES), 5);
    EXPECT_EQ(memory.SelectObject(old), &colour);
}

TEST(MonochromeBitmap, ColourPensBecomeBlackOrWhite)
{
    CDC memory;
    memory.CreateCompatibleDC(nullptr);
    CBitmap mono;
    ASSERT_TRUE(mono.CreateBitmap(4, 1, 1, 1, nullptr));
    memory.SelectObject(&mono);
    EXPECT_EQ(memory.SetPixel(0, 0, RGB(200, 200, 100)), c_white);
    EXPECT_EQ(memory.SetPixel(1, 0, RGB(100, 50, 200)), c_black);
    EXPECT_EQ(memory.GetDeviceCaps(NUMCOLORS), 2);
}

TEST(MonochromeBitmap, BitsArePaddedRowsOfBits)
{
    const unsigned char bits[] = {0xA0, 0x00, 0x40, 0x00}; // two rows of 16 bits
    CBitmap mono;
    ASSERT_TRUE(mono.CreateBitmap(3, 2, 1, 1, bits));
    const QImage& image = mono.image();
    EXPECT_EQ(pixelAt(image, 0, 0), c_white);
    EXPECT_EQ(pixelAt(image, 1, 0), c_black);
    EXPECT_EQ(pixelAt(image, 2, 0), c_white);
    EXPECT_EQ(pixelAt(image, 1, 1), c_white);
    EXPECT_EQ(pixelAt(image, 0, 1), c_black);
}

// Colour to monochrome: white where the source has its context's background colour.
// Monochrome to colour: black takes the target's text colour, white its background colour.
TEST(MaskBlits, ConversionRules)
{
    CDC target0;
    CDC imageDC;
    imageDC.CreateCompatibleDC(&target0);
    CBitmap picture;
    makeImageBitmap(picture);
    imageDC.SelectObject(&picture);

    CDC maskDC;
    maskDC.CreateCompatibleDC(&target0);
    CBitmap mask;
    ASSERT_TRUE(mask.CreateBitmap(4, 1, 1, 1, nullptr));
    maskDC.SelectObject(&mask);
    imageDC.SetBkColor(c_magenta);
    ASSERT_TRUE(maskDC.BitBlt(0, 0, 4, 1, &imageDC, 0, 0, SRCCOPY));
    EXPECT_EQ(pixelAt(mask.image(), 0, 0), c_white);
    EXPECT_EQ(pixelAt(mask.image(), 1, 0), c_black);
    EXPECT_EQ(pixelAt(mask.image(), 2, 0), c_white);
    EXPECT_EQ(pixelAt(mask.image(), 3, 0), c_black);

    QImage screen = whiteImage(6, 2);
    CDC target(&screen);
    target.SetTextColor(c_red);
    target.SetBkColor(c_blue);
    ASSERT_TRUE(target.BitBlt(1, 1, 4, 1, &maskDC, 0, 0, SRCCOPY));
    EXPECT_EQ(pixelAt(screen, 1, 1), c_blue);
    EXPECT_EQ(pixelAt(screen, 2, 1), c_red);
    EXPECT_EQ(pixelAt(screen, 5, 1), c_white);
    EXPECT_EQ(pixelAt(screen, 1, 0), c_white);
}

// The three-pass transparent draw: invert, mask with "and", invert again.
TEST(MaskBlits, TransparentDrawKeepsBackgroundUnderTransparentColour)
{
    QImage screen(4, 1, QImage::Format_RGB32);
    screen.fill(qRgb(0, 255, 0));
    CDC target(&screen);
    target.SetBkColor(c_white);
    target.SetTextColor(c_black);

    CDC imageDC;
    imageDC.CreateCompatibleDC(&target);
    CBitmap picture;
    makeImageBitmap(picture);
    imageDC.SelectObject(&picture);
    CDC maskDC;
    maskDC.CreateCompatibleDC(&target);
    CBitmap mask;
    mask.CreateBitmap(4, 1, 1, 1, nullptr);
    maskDC.SelectObject(&mask);
    imageDC.SetBkColor(c_magenta);
    maskDC.BitBlt(0, 0, 4, 1, &imageDC, 0, 0, SRCCOPY);

    target.BitBlt(0, 0, 4, 1, &imageDC, 0, 0, SRCINVERT);
    target.BitBlt(0, 0, 4, 1, &maskDC, 0, 0, SRCAND);
    target.BitBlt(0, 0, 4, 1, &imageDC, 0, 0, SRCINVERT);
    EXPECT_EQ(pixelAt(screen, 0, 0), c_green);
    EXPECT_EQ(pixelAt(screen, 1, 0), c_red);
    EXPECT_EQ(pixelAt(screen, 2, 0), c_green);
    EXPECT_EQ(pixelAt(screen, 3, 0), c_blue);
}

TEST(BlitOperations, PaintNotCopyAndPattern)
{
    QImage screen = whiteImage(4, 1);
    screen.setPixel(0, 0, qRgb(0, 0, 0));
    screen.setPixel(1, 0, qRgb(0, 0, 0));
    CDC target(&screen);
    CDC imageDC;
    imageDC.CreateCompatibleDC(&target);
    CBitmap picture;
    makeImageBitmap(picture);
    imageDC.SelectObject(&picture);

    target.BitBlt(0, 0, 1, 1, &imageDC, 1, 0, SRCPAINT);
    EXPECT_EQ(pixelAt(screen, 0, 0), c_red);
    target.BitBlt(1, 0, 1, 1, &imageDC, 3, 0, NOTSRCCOPY);
    EXPECT_EQ(pixelAt(screen, 1, 0), RGB(255, 255, 0));
    CBrush green(c_green);
    target.SelectObject(&green);
    EXPECT_TRUE(target.PatBlt(2, 0, 2, 1, PATCOPY));
    EXPECT_EQ(pixelAt(screen, 3, 0), c_green);
    EXPECT_FALSE(target.PatBlt(0, 0, 1, 1, SRCCOPY));
    EXPECT_FALSE(target.BitBlt(0, 0, 1, 1, nullptr, 0, 0, SRCCOPY));
}

TEST(BlitOperations, OverlappingCopyWithinOneImage)
{
    QImage screen = whiteImage(6, 1);
    for (int x = 0; x < 6; ++x)
        screen.setPixel(x, 0, qRgb(x * 40, 0, 0));
    CDC dc(&screen);
    dc.BitBlt(1, 0, 5, 1, &dc, 0, 0, SRCCOPY);
    for (int x = 1; x < 6; ++x)
        EXPECT_EQ(pixelAt(screen, x, 0), RGB((x - 1) * 40, 0, 0)) << x;
}

TEST(StretchBlit, NearestNeighbourAndMirror)
{
    QImage source(2, 2, QImage::Format_RGB32);
    source.setPixel(0, 0, qRgb(255, 0, 0));
    source.setPixel(1, 0, qRgb(0, 255, 0));
    source.setPixel(0, 1, qRgb(0, 0, 255));
    source.setPixel(1, 1, qRgb(0, 0, 0));
    CDC srcDC;
    srcDC.CreateCompatibleDC(nullptr);
    CBitmap bitmap;
    bitmap.attachImage(source);
    srcDC.SelectObject(&bitmap);

    QImage screen = whiteImage(8, 4);
    CDC dc(&screen);
    EXPECT_EQ(dc.SetStretchBltMode(COLORONCOLOR), BLACKONWHITE);
    ASSERT_TRUE(dc.StretchBlt(0, 0, 4, 4, &srcDC, 0, 0, 2, 2, SRCCOPY));
    EXPECT_EQ(pixelAt(screen, 1, 1), c_red);
    EXPECT_EQ(pixelAt(screen, 2, 1), c_green);
    EXPECT_EQ(pixelAt(screen, 1, 2), c_blue);
    EXPECT_EQ(pixelAt(screen, 3, 3), c_black);
    // A negative width mirrors: the destination spans [x + width, x).
    ASSERT_TRUE(dc.StretchBlt(8, 0, -4, 4, &srcDC, 0, 0, 2, 2, SRCCOPY));
    EXPECT_EQ(pixelAt(screen, 7, 0), c_red);
    EXPECT_EQ(pixelAt(screen, 4, 0), c_green);

    dc.SetStretchBltMode(HALFTONE);
    ASSERT_TRUE(dc.StretchBlt(0, 0, 8, 4, &srcDC, 0, 0, 2, 2, SRCCOPY));
    EXPECT_EQ(GetRValue(pixelAt(screen, 0, 0)) > 200, true);
    EXPECT_EQ(GetGValue(pixelAt(screen, 7, 0)) > 200, true);
}

} // namespace
