#pragma once

// What the parts of the imaging library share: the source, the per-thread state (last error,
// texts and markers of the last JPEG or PNG read), the start-up check and the hand-over of a
// decoded picture as a movable memory block.

#include "platform/imaging/imaging.h"
#include "platform/imaging/jpegsegments.h"
#include "platform/imaging/rgbpicture.h"

#include <QtCore/QByteArray>
#include <QtGui/QImage>

#include <span>
#include <string>
#include <vector>

// The largest file or memory block a source takes: more than any picture under the pixel
// limit needs, so a huge file is refused before it is read.
constexpr qsizetype c_nISMaxSourceBytes = 256 * 1024 * 1024;

struct ZorImageSource
{
    QByteArray bytes;

    std::span<const BYTE> span() const
    {
        return {reinterpret_cast<const BYTE*>(bytes.constData()), std::size_t(bytes.size())};
    }
};

struct ZorImagingThreadState
{
    UINT lastError {eIS_OK};
    std::vector<std::string> jpegTexts;
    std::vector<ZorJpegSegment> jpegMarkers;
    std::vector<std::string> pngTexts;
};

ZorImagingThreadState& zorImagingState();

// Records the error of this call and returns whether it is eIS_OK.
bool zorImagingResult(UINT error);

// True when _ISInitialize has been called; otherwise records eIS_ERR_NOT_INITIALIZED.
bool zorImagingStarted();

// The picture's pixels as a new movable block (size in *width, *height), recording the
// result; null and eIS_ERR_MEMORY when there is no memory for it.
HGLOBAL zorPictureToGlobal(const ZorRgbPicture& picture, UINT* width, UINT* height);

// The checks every reader makes first: started, a source and places for the size.
bool zorReaderArgumentsValid(HISSRC source, UINT* width, UINT* height);

// Packs the rows of a 32-bit picture (Format_RGB32 or Format_ARGB32, alpha dropped) into
// `destination` as red, green, blue without padding, in one pass.
void zorPackRgb32(const QImage& picture, BYTE* destination);
// Shrinks RGB rows to a size no larger in either direction by averaging the source pixels each
// new pixel covers.
void zorShrinkRgb(
    const BYTE* source, UINT width, UINT height, BYTE* destination, UINT newWidth, UINT newHeight);
