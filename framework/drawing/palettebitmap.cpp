#include "framework/drawing/palettebitmap.h"

#include "platform/gdi/dc.h"
#include "platform/gdi/gdiobjects.h"
#include "platform/module/module.h"
#include "platform/ui/bitmaps.h"

namespace {

constexpr int maxPaletteColors = 256;

// A logical palette with room for every entry a bitmap's colour table can have.
struct LogPalette256
{
    LOGPALETTE header;
    PALETTEENTRY more[maxPaletteColors - 1];
};

} // namespace

bool createPaletteAndBitmap(CBitmap& bitmap, CPalette& pal, CDC* pDC, UINT nIDResource)
{
    ZorBitmapInfo info;
    const QImage image = zorLoadBitmapImage(
        AfxGetResourceHandle(), nIDResource, LR_CREATEDIBSECTION | LR_LOADMAP3DCOLORS, &info);
    if (image.isNull() || !bitmap.attachImage(image))
        return false;
    if (!pDC || !(pDC->GetDeviceCaps(RASTERCAPS) & RC_PALETTE))
        return true;

    // The used-colour count of the header, or all colours the pixel depth can hold.
    long long colors = info.colorsUsed;
    if (colors == 0)
        colors = info.bitsPerPixel >= 32 ? (1LL << 32) : (1LL << info.bitsPerPixel);
    if (colors > maxPaletteColors) {
        pal.CreateHalftonePalette(pDC);
        return true;
    }

    // The attached bitmap holds true-colour pixels; the colour table comes from the image as
    // it was loaded, with the 3-d colours already mapped. Entries the table lacks stay black.
    const QList<QRgb> table = image.colorTable();
    LogPalette256 logPalette {};
    logPalette.header.palVersion = 0x300;
    logPalette.header.palNumEntries = static_cast<WORD>(colors);
    PALETTEENTRY* entries = logPalette.header.palPalEntry;
    for (int i = 0; i < static_cast<int>(colors) && i < table.size(); ++i) {
        entries[i].peRed = static_cast<BYTE>(qRed(table[i]));
        entries[i].peGreen = static_cast<BYTE>(qGreen(table[i]));
        entries[i].peBlue = static_cast<BYTE>(qBlue(table[i]));
        entries[i].peFlags = 0;
    }
    pal.CreatePalette(&logPalette.header);
    return true;
}
