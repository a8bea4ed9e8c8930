#include "picture/rgbimage.h"

#include "picture/picturefiletype.h"

#include <cstdint>
#include <cstring>

namespace {

// The metafile player's resolution and background.
constexpr UINT c_nMetafileDpi = 100;
constexpr COLORREF c_clrMetafileBackground = 0x818181;

// The bytes of a picture, or 0 when its size is 0 or past what the library decodes.
std::size_t rgbBytes(UINT width, UINT height)
{
    const std::uint64_t pixels = std::uint64_t {width} * height;
    if (pixels == 0 || pixels > c_nISMaxPixels)
        return 0;
    return static_cast<std::size_t>(pixels) * 3;
}

// The library keeps the texts and markers of a JPEG or PNG read; none is used, each is freed.
void dropInputTexts(int type)
{
    if (type == ePICTURE_JPEG) {
        const UINT texts = _ISGetJPGInputTextCount();
        for (UINT i = 0; i < texts; ++i)
            GlobalFree(_ISGetJPGInputText(i));
        const UINT markers = _ISGetJPGInputMarkerCount();
        for (UINT i = 0; i < markers; ++i) {
            UINT length = 0;
            UINT markerType = 0;
            GlobalFree(_ISGetJPGInputMarker(i, &length, &markerType));
        }
    } else if (type == ePICTURE_PNG) {
        const UINT texts = _ISGetPNGInputTextCount();
        for (UINT i = 0; i < texts; ++i)
            GlobalFree(_ISGetPNGInputText(i));
    }
}

int guessType(HISSRC source)
{
    if (!source)
        return ePICTURE_NONE;
    const int type = zorPictureTypeOfGuess(_ISGuessFileType(source));
    _ISCloseSource(source);
    return type;
}

// Reads a source of a known type; the error is the library's right after the read.
HGLOBAL readSource(HISSRC source, int type, UINT* width, UINT* height, UINT* error)
{
    const ZorPictureReader reader = zorPictureReaderOf(type);
    HGLOBAL block = reader ? reader(source, width, height) : nullptr;
    *error = reader ? _ISGetLastError() : UINT {eIS_ERR_FORMAT};
    _ISCloseSource(source);
    dropInputTexts(type);
    return block;
}

} // namespace

CRGBImage::~CRGBImage()
{
    clear();
}

std::size_t CRGBImage::byteCount() const
{
    return m_pixels ? GlobalSize(m_pixels) : 0;
}

void CRGBImage::clear()
{
    if (m_pixels)
        GlobalFree(m_pixels);
    m_pixels = nullptr;
    m_width = 0;
    m_height = 0;
}

UINT CRGBImage::take(HGLOBAL block, UINT width, UINT height, UINT error)
{
    // A load that leaves no pixels is a failure whatever the library's error says; a block
    // smaller than its size says is refused rather than read past its end.
    const std::size_t bytes = rgbBytes(width, height);
    if (!block || bytes == 0 || GlobalSize(block) < bytes) {
        if (block)
            GlobalFree(block);
        return error != eIS_OK ? error : UINT {eIS_ERR_FORMAT};
    }
    m_pixels = block;
    m_width = width;
    m_height = height;
    return error;
}

UINT CRGBImage::loadFile(const std::string& path)
{
    int type = guessType(_ISOpenFileSource(path.c_str()));
    if (type == ePICTURE_NONE)
        type = zorPictureTypeOfExtension(path);
    clear();
    UINT width = 0;
    UINT height = 0;
    if (zorPictureIsMetafile(type)) {
        HGLOBAL block = _ISReadMetafileToRGB(
            path.c_str(), &width, &height, c_nMetafileDpi, c_nMetafileDpi, c_clrMetafileBackground);
        return take(block, width, height, _ISGetLastError());
    }
    if (type == ePICTURE_NONE)
        return eIS_ERR_FORMAT;
    HISSRC source = _ISOpenFileSource(path.c_str());
    if (!source) {
        const UINT error = _ISGetLastError();
        return error != eIS_OK ? error : UINT {eIS_ERR_OPEN};
    }
    UINT error = eIS_OK;
    HGLOBAL block = readSource(source, type, &width, &height, &error);
    return take(block, width, height, error);
}

UINT CRGBImage::loadMemory(const BYTE* data, UINT length)
{
    const int type = guessType(_ISOpenMemorySource(data, length));
    clear();
    if (type == ePICTURE_NONE || zorPictureIsMetafile(type))
        return eIS_ERR_FORMAT;
    HISSRC source = _ISOpenMemorySource(data, length);
    if (!source) {
        const UINT error = _ISGetLastError();
        return error != eIS_OK ? error : UINT {eIS_ERR_ARGUMENT};
    }
    UINT width = 0;
    UINT height = 0;
    UINT error = eIS_OK;
    HGLOBAL block = readSource(source, type, &width, &height, &error);
    return take(block, width, height, error);
}

UINT CRGBImage::copy(const CRGBImage& other)
{
    if (&other == this)
        return hasPixels() ? UINT {eIS_OK} : UINT {eIS_ERR_ARGUMENT};
    const BYTE* pixels
        = other.m_pixels ? static_cast<const BYTE*>(GlobalLock(other.m_pixels)) : nullptr;
    const UINT result = copy(other.m_width, other.m_height, pixels);
    if (pixels)
        GlobalUnlock(other.m_pixels);
    return result;
}

UINT CRGBImage::copy(UINT width, UINT height, const BYTE* pixels)
{
    clear();
    const std::size_t bytes = rgbBytes(width, height);
    if (!pixels || bytes == 0)
        return eIS_ERR_ARGUMENT;
    HGLOBAL block = GlobalAlloc(GHND, bytes);
    BYTE* target = block ? static_cast<BYTE*>(GlobalLock(block)) : nullptr;
    if (!target) {
        if (block)
            GlobalFree(block);
        return eIS_ERR_ARGUMENT;
    }
    std::memcpy(target, pixels, bytes);
    GlobalUnlock(block);
    m_pixels = block;
    m_width = width;
    m_height = height;
    return eIS_OK;
}

UINT CRGBImage::resample(UINT width, UINT height)
{
    if (!m_pixels)
        return eIS_ERR_ARGUMENT;
    const std::size_t bytes = rgbBytes(width, height);
    if (bytes == 0)
        return width == 0 || height == 0 ? UINT {eIS_ERR_ARGUMENT} : UINT {eIS_ERR_TOO_BIG};
    HGLOBAL block = GlobalAlloc(GHND, bytes);
    if (!block)
        return eIS_ERR_MEMORY;
    const BYTE* source = static_cast<const BYTE*>(GlobalLock(m_pixels));
    BYTE* target = static_cast<BYTE*>(GlobalLock(block));
    UINT error = eIS_ERR_MEMORY;
    if (source && target) {
        const BOOL resized = _ISResizeRGB(source, m_width, m_height, target, width, height);
        error = _ISGetLastError();
        if (!resized && error == eIS_OK)
            error = eIS_ERR_ARGUMENT;
    }
    if (source)
        GlobalUnlock(m_pixels);
    if (target)
        GlobalUnlock(block);
    if (error != eIS_OK) {
        GlobalFree(block);
        return error;
    }
    GlobalFree(m_pixels);
    m_pixels = block;
    m_width = width;
    m_height = height;
    return eIS_OK;
}

UINT CRGBImage::draw(CDC* pDC, int x, int y) const
{
    if (!m_pixels || !pDC)
        return eIS_ERR_ARGUMENT;
    const BYTE* pixels = static_cast<const BYTE*>(GlobalLock(m_pixels));
    if (!pixels)
        return eIS_ERR_ARGUMENT;
    _ISDrawRGB(pDC, pixels, m_width, m_height, x, y, m_width, m_height, nullptr);
    const UINT error = _ISGetLastError();
    GlobalUnlock(m_pixels);
    return error;
}
