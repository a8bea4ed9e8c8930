#include "tests/platform/gdi/text/textsupport.h"

#include <QtGui/QGuiApplication>

#include <cstring>

void ensureGuiApplication()
{
    static int argc = 1;
    static char name[] = "platform_gdi_text_tests";
    static char* argv[] = {name, nullptr};
    static QGuiApplication* app = new QGuiApplication(argc, argv);
    (void)app;
}

std::unique_ptr<CFont> makeFont(const char* face, int height, int weight)
{
    LOGFONT logFont;
    logFont.lfHeight = height;
    logFont.lfWeight = weight;
    std::strncpy(logFont.lfFaceName, face, LF_FACESIZE - 1);
    auto font = std::make_unique<CFont>();
    font->CreateFontIndirect(&logFont);
    return font;
}

QImage whiteImage(int width, int height)
{
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(0xFFFFFFFF);
    return image;
}

QRect inkBox(const QImage& image, const QRect& area, QRgb background)
{
    QRect box;
    const QRect clipped = area.intersected(image.rect());
    for (int y = clipped.top(); y <= clipped.bottom(); ++y) {
        for (int x = clipped.left(); x <= clipped.right(); ++x) {
            if (image.pixel(x, y) != background)
                box |= QRect(x, y, 1, 1);
        }
    }
    return box;
}

int countPixels(const QImage& image, const QRect& area, QRgb color)
{
    int n = 0;
    const QRect clipped = area.intersected(image.rect());
    for (int y = clipped.top(); y <= clipped.bottom(); ++y) {
        for (int x = clipped.left(); x <= clipped.right(); ++x)
            n += image.pixel(x, y) == color ? 1 : 0;
    }
    return n;
}
