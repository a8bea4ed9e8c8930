#include "framework/drawing/transparentbitmap.h"

#include "platform/gdi/dc.h"
#include "platform/ui/bitmaps.h"

namespace {

constexpr COLORREF white = RGB(255, 255, 255);
constexpr COLORREF black = RGB(0, 0, 0);

} // namespace

int CTransparentBitmap::loadBitmap(UINT nIDResource)
{
    const HMODULE module = zorFindBitmapModule(nIDResource);
    if (!module)
        return 0;
    const QImage image = zorLoadBitmapImage(module, nIDResource);
    if (image.isNull() || !attachImage(image))
        return 0;
    m_width = image.width();
    m_height = image.height();
    return 1;
}

void CTransparentBitmap::draw(CDC* pDC, int x, int y)
{
    if (!pDC || !isCreated())
        return;
    // Monochrome bitmaps take the target's text and background colours, so those are pinned to
    // black and white for the copy.
    const COLORREF oldBkColor = pDC->SetBkColor(white);
    const COLORREF oldTextColor = pDC->SetTextColor(black);

    CDC imageDC;
    imageDC.CreateCompatibleDC(pDC);
    CBitmap* oldBitmap = imageDC.SelectObject(this);
    pDC->BitBlt(x, y, m_width, m_height, &imageDC, 0, 0, SRCCOPY);
    imageDC.SelectObject(oldBitmap);

    pDC->SetBkColor(oldBkColor);
    pDC->SetTextColor(oldTextColor);
}

void CTransparentBitmap::drawTransparent(CDC* pDC, int x, int y, COLORREF crTransparent)
{
    if (!pDC || !isCreated())
        return;
    // The mask's white and black bits arrive in the target as these two colours.
    const COLORREF oldBkColor = pDC->SetBkColor(white);
    const COLORREF oldTextColor = pDC->SetTextColor(black);

    CDC imageDC;
    CDC maskDC;
    imageDC.CreateCompatibleDC(pDC);
    maskDC.CreateCompatibleDC(pDC);
    CBitmap* oldImageBitmap = imageDC.SelectObject(this);

    CBitmap mask;
    mask.CreateBitmap(m_width, m_height, 1, 1, nullptr);
    CBitmap* oldMaskBitmap = maskDC.SelectObject(&mask);

    // Copying colour to monochrome gives white where the source has the source context's
    // background colour: the mask is white exactly on the transparent pixels.
    imageDC.SetBkColor(crTransparent);
    maskDC.BitBlt(0, 0, m_width, m_height, &imageDC, 0, 0, SRCCOPY);

    pDC->BitBlt(x, y, m_width, m_height, &imageDC, 0, 0, SRCINVERT);
    pDC->BitBlt(x, y, m_width, m_height, &maskDC, 0, 0, SRCAND);
    pDC->BitBlt(x, y, m_width, m_height, &imageDC, 0, 0, SRCINVERT);

    maskDC.SelectObject(oldMaskBitmap);
    imageDC.SelectObject(oldImageBitmap);
    pDC->SetBkColor(oldBkColor);
    pDC->SetTextColor(oldTextColor);
    mask.DeleteObject();
    maskDC.DeleteDC();
    imageDC.DeleteDC();
}
