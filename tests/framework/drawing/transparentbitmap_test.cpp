#include "framework/drawing/palettebitmap.h"
#include "framework/drawing/transparentbitmap.h"

#include "platform/gdi/dc.h"
#include "platform/gdi/gdiobjects.h"
#include "platform/gdi/syscolor.h"
#include "platform/module/module.h"
#include "platform/ui/bitmaps.h"

#include <QtCore/QBuffer>
#include <QtGui/QImage>

#include <gtest/gtest.h>

namespace {

// maskimage.bmp, built into this program as bitmap 301: 6 x 4 pixels, 8 bits per pixel with a
// colour table of nine entries; magenta is the transparent colour, next to it a magenta one
// step off, white, black, red, the three standard 3-d greys and an orange.
constexpr UINT maskImageId = 301;
constexpr COLORREF magenta = RGB(255, 0, 255);
constexpr UINT missingId = 7777;

// The pixel indexes of maskimage.bmp, top row first, and its colour table.
constexpr int maskIndexes[4][6]
    = {{0, 1, 2, 0, 3, 4}, {5, 0, 6, 7, 0, 8}, {1, 2, 0, 0, 4, 3}, {0, 8, 7, 6, 5, 0}};
constexpr QRgb maskTable[9] = {0xFFFF00FF, 0xFFFFFFFF, 0xFF000000, 0xFFFE00FF, 0xFFFF0000,
    0xFF808080, 0xFFC0C0C0, 0xFFDFDFDF, 0xFF0080FF};

QRgb maskPixel(int x, int y)
{
    return maskTable[maskIndexes[y][x]];
}

QRgb toQRgb(COLORREF color)
{
    return qRgb(GetRValue(color), GetGValue(color), GetBValue(color));
}

// A target with a different colour in nearly every pixel, so that a pixel changed by mistake
// shows.
QImage patternTarget(int width, int height)
{
    QImage image(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x)
            image.setPixel(x, y, qRgb((x * 37 + 11) & 255, (y * 53 + 7) & 255, (x * y * 11) & 255));
    }
    return image;
}

QByteArray encoded(const QImage& image, const char* format)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, format);
    return bytes;
}

QImage solidImage(int width, int height, QRgb color)
{
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(color);
    return image;
}

HMODULE platformModule()
{
    return GetModuleHandleA("zorplatform.so");
}

class TransparentBitmapTest : public ::testing::Test
{
protected:
    void SetUp() override { zorUseClassicSysColors(true); }
    void TearDown() override { zorUseClassicSysColors(false); }
};

} // namespace

TEST_F(TransparentBitmapTest, LoadsItsSizeFromTheResource)
{
    CTransparentBitmap bitmap;
    EXPECT_EQ(bitmap.getWidth(), 0);
    EXPECT_EQ(bitmap.getHeight(), 0);
    ASSERT_NE(bitmap.loadBitmap(maskImageId), 0);
    EXPECT_EQ(bitmap.getWidth(), 6);
    EXPECT_EQ(bitmap.getHeight(), 4);
    EXPECT_TRUE(bitmap.isCreated());
}

TEST_F(TransparentBitmapTest, FailedLoadKeepsWhatWasThere)
{
    CTransparentBitmap bitmap;
    EXPECT_EQ(bitmap.loadBitmap(missingId), 0);
    EXPECT_EQ(bitmap.getWidth(), 0);
    EXPECT_FALSE(bitmap.isCreated());

    ASSERT_NE(bitmap.loadBitmap(maskImageId), 0);
    EXPECT_EQ(bitmap.loadBitmap(missingId), 0);
    EXPECT_EQ(bitmap.getWidth(), 6);
    EXPECT_EQ(bitmap.getHeight(), 4);
    EXPECT_EQ(bitmap.image().pixel(5, 1), maskPixel(5, 1));
}

TEST_F(TransparentBitmapTest, DrawTransparentLeavesTransparentPixelsAndCopiesTheRest)
{
    CTransparentBitmap bitmap;
    ASSERT_NE(bitmap.loadBitmap(maskImageId), 0);
    const QImage before = patternTarget(12, 9);
    QImage target = before;
    CDC dc(&target);
    dc.SetTextColor(RGB(10, 20, 30));
    dc.SetBkColor(RGB(40, 50, 60));

    bitmap.drawTransparent(&dc, 3, 2, magenta);

    for (int y = 0; y < target.height(); ++y) {
        for (int x = 0; x < target.width(); ++x) {
            QRgb expected = before.pixel(x, y);
            if (x >= 3 && x < 9 && y >= 2 && y < 6 && maskPixel(x - 3, y - 2) != 0xFFFF00FF)
                expected = maskPixel(x - 3, y - 2);
            EXPECT_EQ(QColor(target.pixel(x, y)), QColor(expected)) << "at " << x << ", " << y;
        }
    }
    EXPECT_EQ(dc.GetTextColor(), RGB(10, 20, 30));
    EXPECT_EQ(dc.GetBkColor(), RGB(40, 50, 60));
}

TEST_F(TransparentBitmapTest, AnotherTransparentColourMasksOnlyThatColour)
{
    CTransparentBitmap bitmap;
    ASSERT_NE(bitmap.loadBitmap(maskImageId), 0);
    const QImage before = patternTarget(6, 4);
    QImage target = before;
    CDC dc(&target);

    bitmap.drawTransparent(&dc, 0, 0, RGB(255, 255, 255));

    for (int y = 0; y < 4; ++y) {
        for (int x = 0; x < 6; ++x) {
            const QRgb expected
                = maskPixel(x, y) == 0xFFFFFFFF ? before.pixel(x, y) : maskPixel(x, y);
            EXPECT_EQ(QColor(target.pixel(x, y)), QColor(expected)) << "at " << x << ", " << y;
        }
    }
}

TEST_F(TransparentBitmapTest, DrawCopiesEveryPixelAndRestoresTheColours)
{
    CTransparentBitmap bitmap;
    ASSERT_NE(bitmap.loadBitmap(maskImageId), 0);
    const QImage before = patternTarget(10, 8);
    QImage target = before;
    CDC dc(&target);
    dc.SetTextColor(RGB(1, 2, 3));
    dc.SetBkColor(RGB(4, 5, 6));

    bitmap.draw(&dc, 4, 3);

    for (int y = 0; y < target.height(); ++y) {
        for (int x = 0; x < target.width(); ++x) {
            const bool inside = x >= 4 && y >= 3 && y < 7;
            const QRgb expected = inside ? maskPixel(x - 4, y - 3) : before.pixel(x, y);
            EXPECT_EQ(QColor(target.pixel(x, y)), QColor(expected)) << "at " << x << ", " << y;
        }
    }
    EXPECT_EQ(dc.GetTextColor(), RGB(1, 2, 3));
    EXPECT_EQ(dc.GetBkColor(), RGB(4, 5, 6));
}

TEST_F(TransparentBitmapTest, UnloadedBitmapDrawsNothing)
{
    CTransparentBitmap bitmap;
    const QImage before = patternTarget(6, 4);
    QImage target = before;
    CDC dc(&target);
    bitmap.draw(&dc, 0, 0);
    bitmap.drawTransparent(&dc, 0, 0, magenta);
    EXPECT_EQ(target, before);
}

TEST(BitmapResources, ModuleTableGivesItsImages)
{
    ASSERT_NE(platformModule(), nullptr);
    const QByteArray png = encoded(solidImage(3, 2, 0xFF123456), "PNG");
    const CBitmapTableRegistrar other(platformModule(),
        {{901, reinterpret_cast<const unsigned char*>(png.constData()),
            static_cast<std::size_t>(png.size())}});

    const QImage image = zorLoadBitmapImage(platformModule(), 901);
    ASSERT_FALSE(image.isNull());
    EXPECT_EQ(image.size(), QSize(3, 2));
    EXPECT_EQ(QColor(image.pixel(2, 1)), QColor(0xFF123456));
    // The program's table does not hold it, nor does the platform's hold the program's.
    EXPECT_TRUE(zorLoadBitmapImage(nullptr, 901).isNull());
    EXPECT_TRUE(zorLoadBitmapImage(platformModule(), maskImageId).isNull());
    EXPECT_FALSE(zorLoadBitmapImage(nullptr, maskImageId).isNull());
}

TEST(BitmapResources, TableIsGoneWithItsModule)
{
    const QByteArray png = encoded(solidImage(2, 2, 0xFF00FF00), "PNG");
    {
        const CBitmapTableRegistrar table(platformModule(),
            {{902, reinterpret_cast<const unsigned char*>(png.constData()),
                static_cast<std::size_t>(png.size())}});
        EXPECT_EQ(zorFindBitmapModule(902), platformModule());
    }
    EXPECT_EQ(zorFindBitmapModule(902), nullptr);
    EXPECT_TRUE(zorLoadBitmapImage(platformModule(), 902).isNull());
}

TEST(BitmapResources, HeaderValuesOfTheBitmapFile)
{
    ZorBitmapInfo info;
    ASSERT_FALSE(zorLoadBitmapImage(nullptr, maskImageId, LR_DEFAULTCOLOR, &info).isNull());
    EXPECT_EQ(info.width, 6);
    EXPECT_EQ(info.height, 4);
    EXPECT_EQ(info.bitsPerPixel, 8);
    EXPECT_EQ(info.colorsUsed, 9);
}

TEST(BitmapResources, UndecodableBytesLoadNothing)
{
    const unsigned char junk[] = {'B', 'M', 1, 2, 3, 4, 5, 6, 7, 8};
    const CBitmapTableRegistrar table(platformModule(), {{903, junk, sizeof junk}});
    EXPECT_EQ(zorFindBitmapModule(903), platformModule());
    EXPECT_TRUE(zorLoadBitmapImage(platformModule(), 903).isNull());
    CTransparentBitmap bitmap;
    EXPECT_EQ(bitmap.loadBitmap(903), 0);
    EXPECT_EQ(bitmap.getWidth(), 0);
}

TEST_F(TransparentBitmapTest, LoadFindsTheBitmapInAnyLoadedModule)
{
    const QByteArray png = encoded(solidImage(5, 7, 0xFF336699), "PNG");
    const CBitmapTableRegistrar table(platformModule(),
        {{904, reinterpret_cast<const unsigned char*>(png.constData()),
            static_cast<std::size_t>(png.size())}});
    CTransparentBitmap bitmap;
    ASSERT_NE(bitmap.loadBitmap(904), 0);
    EXPECT_EQ(bitmap.getWidth(), 5);
    EXPECT_EQ(bitmap.getHeight(), 7);
    EXPECT_EQ(QColor(bitmap.image().pixel(4, 6)), QColor(0xFF336699));
}

TEST_F(TransparentBitmapTest, CurrentResourceModuleComesFirst)
{
    const QByteArray programPng = encoded(solidImage(2, 3, 0xFF111111), "PNG");
    const QByteArray platformPng = encoded(solidImage(4, 5, 0xFF222222), "PNG");
    const CBitmapTableRegistrar programTable(GetModuleHandleA(nullptr),
        {{905, reinterpret_cast<const unsigned char*>(programPng.constData()),
            static_cast<std::size_t>(programPng.size())}});
    const CBitmapTableRegistrar platformTable(platformModule(),
        {{905, reinterpret_cast<const unsigned char*>(platformPng.constData()),
            static_cast<std::size_t>(platformPng.size())}});

    EXPECT_EQ(zorFindBitmapModule(905), GetModuleHandleA(nullptr));
    {
        const ZorModuleState state(platformModule());
        EXPECT_EQ(zorFindBitmapModule(905), platformModule());
        CTransparentBitmap bitmap;
        ASSERT_NE(bitmap.loadBitmap(905), 0);
        EXPECT_EQ(bitmap.getWidth(), 4);
    }
    CTransparentBitmap bitmap;
    ASSERT_NE(bitmap.loadBitmap(905), 0);
    EXPECT_EQ(bitmap.getWidth(), 2);
}

TEST_F(TransparentBitmapTest, LoadMap3dColorsReplacesTheStandardGreys)
{
    const QImage plain = zorLoadBitmapImage(nullptr, maskImageId);
    const QImage mapped = zorLoadBitmapImage(nullptr, maskImageId, LR_LOADMAP3DCOLORS);
    ASSERT_FALSE(plain.isNull());
    ASSERT_FALSE(mapped.isNull());
    EXPECT_EQ(QColor(plain.pixel(0, 1)), QColor(0xFF808080));
    EXPECT_EQ(QColor(mapped.pixel(0, 1)), QColor(toQRgb(GetSysColor(COLOR_3DSHADOW))));
    EXPECT_EQ(QColor(mapped.pixel(2, 1)), QColor(toQRgb(GetSysColor(COLOR_3DFACE))));
    EXPECT_EQ(QColor(mapped.pixel(3, 1)), QColor(toQRgb(GetSysColor(COLOR_3DLIGHT))));
    EXPECT_EQ(QColor(mapped.pixel(5, 1)), QColor(maskPixel(5, 1)));
    EXPECT_EQ(QColor(mapped.pixel(1, 0)), QColor(maskPixel(1, 0)));
}

TEST_F(TransparentBitmapTest, PaletteAndBitmapOnATrueColourDeviceAttachesWithoutPalette)
{
    QImage target(16, 16, QImage::Format_RGB32);
    CDC dc(&target);
    ASSERT_EQ(dc.GetDeviceCaps(RASTERCAPS) & RC_PALETTE, 0);

    CBitmap bitmap;
    CPalette palette;
    EXPECT_TRUE(createPaletteAndBitmap(bitmap, palette, &dc, maskImageId));
    ASSERT_TRUE(bitmap.isCreated());
    EXPECT_EQ(bitmap.GetBitmapDimension(), CSize(6, 4));
    EXPECT_FALSE(palette.isCreated());
    EXPECT_EQ(QColor(bitmap.image().pixel(5, 1)), QColor(maskPixel(5, 1)));
    EXPECT_EQ(QColor(bitmap.image().pixel(0, 1)), QColor(toQRgb(GetSysColor(COLOR_3DSHADOW))));
    EXPECT_EQ(QColor(bitmap.image().pixel(2, 1)), QColor(toQRgb(GetSysColor(COLOR_3DFACE))));
}

TEST_F(TransparentBitmapTest, PaletteAndBitmapLooksOnlyInTheCurrentResourceModule)
{
    const QByteArray png = encoded(solidImage(3, 3, 0xFF445566), "PNG");
    const CBitmapTableRegistrar table(platformModule(),
        {{906, reinterpret_cast<const unsigned char*>(png.constData()),
            static_cast<std::size_t>(png.size())}});
    QImage target(4, 4, QImage::Format_RGB32);
    CDC dc(&target);
    CBitmap bitmap;
    CPalette palette;

    EXPECT_FALSE(createPaletteAndBitmap(bitmap, palette, &dc, 906));
    EXPECT_FALSE(bitmap.isCreated());
    EXPECT_FALSE(createPaletteAndBitmap(bitmap, palette, &dc, missingId));

    const ZorModuleState state(platformModule());
    EXPECT_TRUE(createPaletteAndBitmap(bitmap, palette, &dc, 906));
    EXPECT_EQ(bitmap.GetBitmapDimension(), CSize(3, 3));
}
