// Start-up, sources, guessing, the last error, our own readers (TGA, PCX) and the texts kept
// from the last JPEG or PNG read.

#include "platform/imaging/imaging_p.h"
#include "platform/imaging/pcxdecoder.h"
#include "platform/imaging/tgadecoder.h"

#include <QtCore/QFile>

#include <algorithm>
#include <array>
#include <atomic>
#include <cstring>
#include <new>

namespace {

// Set once by _ISInitialize for the whole process, as the library is started once when the
// module that uses it starts, whatever thread later calls it.
std::atomic<bool> s_started {false};

constexpr std::array<BYTE, 8> c_pngSignature {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A};
constexpr DWORD c_placeableMetafileKey = 0x9AC6CDD7;
constexpr DWORD c_emfHeaderRecord = 1;
constexpr DWORD c_emfSignature = 0x464D4520; // " EMF"
constexpr std::size_t c_emfSignatureOffset = 40;

DWORD dword(std::span<const BYTE> data, std::size_t offset)
{
    return DWORD(data[offset]) | (DWORD(data[offset + 1]) << 8) | (DWORD(data[offset + 2]) << 16)
        | (DWORD(data[offset + 3]) << 24);
}

WORD word(std::span<const BYTE> data, std::size_t offset)
{
    return WORD(data[offset] | (data[offset + 1] << 8));
}

bool startsWith(std::span<const BYTE> data, std::span<const BYTE> prefix)
{
    return data.size() >= prefix.size() && std::equal(prefix.begin(), prefix.end(), data.begin());
}

UINT guessType(std::span<const BYTE> d)
{
    static constexpr std::array<BYTE, 2> bmp {'B', 'M'};
    static constexpr std::array<BYTE, 3> jpeg {0xFF, 0xD8, 0xFF};
    static constexpr std::array<BYTE, 4> tiffIntel {'I', 'I', '*', 0};
    static constexpr std::array<BYTE, 4> tiffMotorola {'M', 'M', 0, '*'};
    if (startsWith(d, bmp))
        return eIS_BMP;
    if (startsWith(d, jpeg))
        return eIS_JPG;
    if (startsWith(d, c_pngSignature))
        return eIS_PNG;
    if (d.size() >= 4 && d[0] == 0x0A && (d[1] == 0 || (d[1] >= 2 && d[1] <= 5)) && d[2] <= 1
        && (d[3] == 1 || d[3] == 2 || d[3] == 4 || d[3] == 8))
        return eIS_PCX;
    if (startsWith(d, tiffIntel) || startsWith(d, tiffMotorola))
        return eIS_TIFF;
    if (d.size() >= 4 && dword(d, 0) == c_placeableMetafileKey)
        return eIS_WMF;
    // A metafile without the placeable header starts with its own: memory or disk (1 or 2),
    // a header of 9 words and version 1 or 3.
    if (d.size() >= 6 && (word(d, 0) == 1 || word(d, 0) == 2) && word(d, 2) == 9
        && (word(d, 4) == 0x0100 || word(d, 4) == 0x0300))
        return eIS_WMF;
    if (d.size() >= c_emfSignatureOffset + 4 && dword(d, 0) == c_emfHeaderRecord
        && dword(d, c_emfSignatureOffset) == c_emfSignature)
        return eIS_EMF;
    return eIS_UNKNOWN;
}

using Decoder = bool (*)(std::span<const BYTE>, ZorRgbPicture&, UINT&);

HGLOBAL readWith(Decoder decode, HISSRC source, UINT* width, UINT* height)
{
    if (!zorReaderArgumentsValid(source, width, height))
        return nullptr;
    ZorRgbPicture picture;
    UINT error = eIS_OK;
    if (!decode(source->span(), picture, error)) {
        zorImagingResult(error);
        return nullptr;
    }
    return zorPictureToGlobal(picture, width, height);
}

// A fresh block holding `size` bytes from `data`, and `extra` zero bytes after them.
HGLOBAL copyToGlobal(const void* data, std::size_t size, std::size_t extra)
{
    // A block of size 0 has no address: an empty segment still gets one byte.
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, std::max<std::size_t>(size + extra, 1));
    void* address = block ? GlobalLock(block) : nullptr;
    if (!address) {
        if (block)
            GlobalFree(block);
        zorImagingResult(eIS_ERR_MEMORY);
        return nullptr;
    }
    if (size)
        std::memcpy(address, data, size);
    GlobalUnlock(block);
    zorImagingResult(eIS_OK);
    return block;
}

HGLOBAL textBlock(const std::vector<std::string>& texts, UINT index)
{
    if (!zorImagingStarted())
        return nullptr;
    if (index >= texts.size()) {
        zorImagingResult(eIS_ERR_ARGUMENT);
        return nullptr;
    }
    // Texts end with a zero byte, so the block reads as a C string.
    return copyToGlobal(texts[index].data(), texts[index].size(), 1);
}

UINT countOf(std::size_t count)
{
    if (!zorImagingStarted())
        return 0;
    zorImagingResult(eIS_OK);
    return UINT(count);
}

} // namespace

ZorImagingThreadState& zorImagingState()
{
    thread_local ZorImagingThreadState state;
    return state;
}

bool zorImagingResult(UINT error)
{
    zorImagingState().lastError = error;
    return error == eIS_OK;
}

bool zorImagingStarted()
{
    if (s_started.load())
        return true;
    zorImagingResult(eIS_ERR_NOT_INITIALIZED);
    return false;
}

bool zorReaderArgumentsValid(HISSRC source, UINT* width, UINT* height)
{
    if (!zorImagingStarted())
        return false;
    if (!source || !width || !height)
        return zorImagingResult(eIS_ERR_ARGUMENT);
    *width = 0;
    *height = 0;
    return true;
}

HGLOBAL zorPictureToGlobal(const ZorRgbPicture& picture, UINT* width, UINT* height)
{
    HGLOBAL block = copyToGlobal(picture.pixels.data(), picture.pixels.size(), 0);
    if (block) {
        *width = picture.width;
        *height = picture.height;
    }
    return block;
}

BOOL _ISInitialize(const char*)
{
    s_started.store(true);
    zorImagingResult(eIS_OK);
    return TRUE;
}

UINT _ISGetLastError()
{
    return zorImagingState().lastError;
}

HISSRC _ISOpenFileSource(const char* path)
{
    if (!zorImagingStarted())
        return nullptr;
    if (!path || !*path) {
        zorImagingResult(eIS_ERR_ARGUMENT);
        return nullptr;
    }
    QFile file(QFile::decodeName(path));
    if (!file.open(QIODevice::ReadOnly)) {
        zorImagingResult(eIS_ERR_OPEN);
        return nullptr;
    }
    if (file.size() > c_nISMaxSourceBytes) {
        zorImagingResult(eIS_ERR_TOO_BIG);
        return nullptr;
    }
    // Read no more than the limit even when the file grows meanwhile or reports no size.
    QByteArray bytes = file.read(c_nISMaxSourceBytes + 1);
    if (file.error() != QFileDevice::NoError) {
        zorImagingResult(eIS_ERR_OPEN);
        return nullptr;
    }
    if (bytes.size() > c_nISMaxSourceBytes) {
        zorImagingResult(eIS_ERR_TOO_BIG);
        return nullptr;
    }
    auto* source = new (std::nothrow) ZorImageSource {std::move(bytes)};
    zorImagingResult(source ? eIS_OK : eIS_ERR_MEMORY);
    return source;
}

HISSRC _ISOpenMemorySource(const BYTE* data, UINT length)
{
    if (!zorImagingStarted())
        return nullptr;
    if (!data || length == 0) {
        zorImagingResult(eIS_ERR_ARGUMENT);
        return nullptr;
    }
    if (length > UINT(c_nISMaxSourceBytes)) {
        zorImagingResult(eIS_ERR_TOO_BIG);
        return nullptr;
    }
    try {
        auto* source = new ZorImageSource {
            QByteArray(reinterpret_cast<const char*>(data), qsizetype(length))};
        zorImagingResult(eIS_OK);
        return source;
    } catch (const std::bad_alloc&) {
        zorImagingResult(eIS_ERR_MEMORY);
        return nullptr;
    }
}

UINT _ISGuessFileType(HISSRC source)
{
    if (!zorImagingStarted())
        return eIS_UNKNOWN;
    if (!source) {
        zorImagingResult(eIS_ERR_ARGUMENT);
        return eIS_UNKNOWN;
    }
    // Sources are read whole from memory, so there is no position to rewind.
    zorImagingResult(eIS_OK);
    return guessType(source->span());
}

BOOL _ISCloseSource(HISSRC source)
{
    if (!zorImagingStarted())
        return FALSE;
    if (!source)
        return zorImagingResult(eIS_ERR_ARGUMENT);
    delete source;
    return zorImagingResult(eIS_OK);
}

HGLOBAL _ISReadPCXToRGB(HISSRC source, UINT* width, UINT* height)
{
    return readWith(zorDecodePcx, source, width, height);
}

HGLOBAL _ISReadTGAToRGB(HISSRC source, UINT* width, UINT* height)
{
    return readWith(zorDecodeTga, source, width, height);
}

UINT _ISGetJPGInputTextCount()
{
    return countOf(zorImagingState().jpegTexts.size());
}

HGLOBAL _ISGetJPGInputText(UINT index)
{
    return textBlock(zorImagingState().jpegTexts, index);
}

UINT _ISGetJPGInputMarkerCount()
{
    return countOf(zorImagingState().jpegMarkers.size());
}

HGLOBAL _ISGetJPGInputMarker(UINT index, UINT* length, UINT* markerType)
{
    if (!zorImagingStarted())
        return nullptr;
    const std::vector<ZorJpegSegment>& markers = zorImagingState().jpegMarkers;
    if (index >= markers.size() || !length || !markerType) {
        zorImagingResult(eIS_ERR_ARGUMENT);
        return nullptr;
    }
    const ZorJpegSegment& marker = markers[index];
    HGLOBAL block = copyToGlobal(marker.bytes.data(), marker.bytes.size(), 0);
    if (block) {
        *length = UINT(marker.bytes.size());
        *markerType = marker.marker;
    }
    return block;
}

UINT _ISGetPNGInputTextCount()
{
    return countOf(zorImagingState().pngTexts.size());
}

HGLOBAL _ISGetPNGInputText(UINT index)
{
    return textBlock(zorImagingState().pngTexts, index);
}
