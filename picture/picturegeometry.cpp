#include "picture/picturegeometry.h"

CSize zorPictureFitSize(
    UINT imageWidth, UINT imageHeight, int clientWidth, int clientHeight, bool keepAspectRatio)
{
    if (imageWidth == 0 || imageHeight == 0)
        return CSize(0, 0);
    int w = clientWidth;
    int h = clientHeight;
    if (!keepAspectRatio)
        return CSize(w, h);
    const double r = static_cast<double>(imageHeight) / static_cast<double>(imageWidth);
    if (r > 1) {
        h = clientHeight;
        w = static_cast<int>(clientHeight / r);
    } else {
        w = clientWidth;
        h = static_cast<int>(clientWidth * r);
        if (h > clientHeight) {
            h = clientHeight;
            w = static_cast<int>(clientHeight / r);
        }
    }
    return CSize(w, h);
}

CPoint zorPicturePosition(const CRect& client, UINT imageWidth, UINT imageHeight)
{
    // Sizes beyond the int range are far past any picture the library decodes.
    int x = client.left + (client.Width() - static_cast<int>(imageWidth)) / 2;
    int y = client.top + (client.Height() - static_cast<int>(imageHeight)) / 2;
    if (x < 0)
        x = 0;
    if (y < 0)
        y = 0;
    return CPoint(x, y);
}
