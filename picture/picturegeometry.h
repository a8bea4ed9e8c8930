#pragma once

// The picture control's geometry as plain functions: the size a picture is fitted to and where
// a picture is drawn in the client rectangle.

#include "platform/types/rect.h"
#include "platform/types/wintypes.h"

// The width of the flat border and of the box border on every side.
constexpr int c_nPictureBorder = 3;

// The size a picture of imageWidth x imageHeight is stretched to in a client area of
// clientWidth x clientHeight, before borders. Without keeping the aspect ratio it is the client
// size. Keeping it, with r = height / width: a tall picture (r > 1) takes the full height and
// the width that goes with it, however wide the client is; any other takes the full width and,
// if it then is too tall, the full height instead. Widths and heights truncate toward zero.
// An empty picture gives (0, 0).
CSize zorPictureFitSize(
    UINT imageWidth, UINT imageHeight, int clientWidth, int clientHeight, bool keepAspectRatio);

// Where a picture is drawn: centred in the client rectangle (the halves truncate toward zero),
// but never at a negative position.
CPoint zorPicturePosition(const CRect& client, UINT imageWidth, UINT imageHeight);
