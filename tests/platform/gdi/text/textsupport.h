#pragma once

// What the text tests share: the GUI application fonts need, fonts by face and height, and
// the box around the pixels a drawing changed.

#include "platform/gdi/dc.h"

#include <QtCore/QRect>
#include <QtGui/QImage>

#include <memory>

// The process's GUI application (made on first use, on the platform the test runs with).
void ensureGuiApplication();

// A font of the face with the given lfHeight and weight.
std::unique_ptr<CFont> makeFont(const char* face, int height, int weight = FW_NORMAL);

// A white RGB32 image of the size.
QImage whiteImage(int width, int height);

// The smallest rectangle holding every pixel of `area` that differs from `background`; null
// when there is none.
QRect inkBox(const QImage& image, const QRect& area, QRgb background = 0xFFFFFFFF);

// The number of pixels of `area` equal to `color`.
int countPixels(const QImage& image, const QRect& area, QRgb color);
