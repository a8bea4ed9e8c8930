// The readers of BMP, JPEG, PNG and TIFF: Qt's image readers, each held to its own format,
// with the size taken from the header and checked before anything is decoded.

#include "platform/imaging/imaging_p.h"

#include <QtCore/QBuffer>
#include <QtGui/QImage>
#include <QtGui/QImageReader>

#include <csetjmp>
#include <cstdio>
#include <cstring>

#include <jpeglib.h>

namespace {

// Qt's own cap on one decoded image, in MiB: the largest picture we accept in its widest
// decoding format (4 bytes a pixel).
constexpr int c_allocationLimitMiB = int(c_nISMaxPixels * 4 / (1024 * 1024));

std::uint32_t littleEndian(std::span<const BYTE> d, std::size_t offset, int bytes)
{
    std::uint32_t value = 0;
    for (int i = bytes - 1; i >= 0; --i)
        value = (value << 8) | d[offset + std::size_t(i)];
    return value;
}

// What Qt's BMP reader does not say rightly: a huge size in the header it calls damaged, and
// plain pixel rows cut short it takes as they are. The info header's width and height are
// signed 32-bit values (a negative height stores the rows top-down), the old core header's
// 16-bit; rows are padded to 4 bytes.
UINT checkBmp(std::span<const BYTE> d)
{
    constexpr std::size_t c_fileHeaderSize = 14;
    constexpr std::uint32_t c_coreHeaderSize = 12;
    constexpr std::uint32_t c_plain = 0;
    constexpr std::uint32_t c_bitFields = 3;
    if (d.size() < c_fileHeaderSize + 16)
        return eIS_OK; // Qt's reader refuses it
    const std::uint32_t pixelsOffset = littleEndian(d, 10, 4);
    const bool core = littleEndian(d, c_fileHeaderSize, 4) == c_coreHeaderSize;
    std::int64_t width = core ? littleEndian(d, 18, 2) : std::int32_t(littleEndian(d, 18, 4));
    std::int64_t height = core ? littleEndian(d, 20, 2) : std::int32_t(littleEndian(d, 22, 4));
    const std::uint32_t bits = littleEndian(d, core ? 24 : 28, 2);
    const std::uint32_t compression = core || d.size() < 34 ? c_plain : littleEndian(d, 30, 4);
    width = width < 0 ? -width : width;
    height = height < 0 ? -height : height;
    if (width == 0 || height == 0 || std::uint64_t(width) * std::uint64_t(height) > c_nISMaxPixels)
        return eIS_ERR_TOO_BIG;
    if (compression == c_plain || compression == c_bitFields) {
        const std::uint64_t rowBytes = (std::uint64_t(width) * bits + 31) / 32 * 4;
        if (std::uint64_t(pixelsOffset) + rowBytes * std::uint64_t(height) > d.size())
            return eIS_ERR_TRUNCATED;
    }
    return eIS_OK;
}

// A TIFF's first directory is often written after the pixels; a file cut short loses it.
UINT checkTiff(std::span<const BYTE> d)
{
    if (d.size() < 8)
        return eIS_ERR_TRUNCATED;
    const bool intel = d[0] == 'I';
    const std::uint32_t offset = intel ? littleEndian(d, 4, 4)
                                       : (std::uint32_t(d[4]) << 24) | (std::uint32_t(d[5]) << 16)
            | (std::uint32_t(d[6]) << 8) | d[7];
    return std::uint64_t(offset) + 2 > d.size() ? eIS_ERR_TRUNCATED : eIS_OK;
}

void keepJpegSegments(const ZorJpegSegments& scanned)
{
    ZorImagingThreadState& state = zorImagingState();
    for (const ZorJpegSegment& segment : scanned.segments) {
        if (segment.marker == c_jpegComment)
            state.jpegTexts.emplace_back(segment.bytes.begin(), segment.bytes.end());
        else
            state.jpegMarkers.push_back(segment);
    }
}

void keepPngTexts(const QImage& image)
{
    ZorImagingThreadState& state = zorImagingState();
    for (const QString& key : image.textKeys())
        state.pngTexts.push_back((key + QLatin1Char('=') + image.text(key)).toStdString());
}

// libjpeg reports a fatal error by calling error_exit, which must not return: it jumps back to
// the decoder's start. Warnings (a damaged stream it can still decode) are not printed.
struct ZorJpegError
{
    jpeg_error_mgr manager;
    std::jmp_buf jump;
};

[[noreturn]] void jpegFailed(j_common_ptr info)
{
    std::longjmp(reinterpret_cast<ZorJpegError*>(info->err)->jump, 1);
}

void jpegQuiet(j_common_ptr) { }

// Decodes a JPEG whose header gave width x height straight into RGB rows without padding, the
// form the readers hand over, so that no 32-bit picture is made and packed; false when libjpeg
// refuses it or its colours are not RGB, YCbCr or grey (Qt's reader then takes it).
bool decodeJpegRgb(const QByteArray& bytes, UINT width, UINT height, BYTE* pixels)
{
    jpeg_decompress_struct info {};
    ZorJpegError error;
    info.err = jpeg_std_error(&error.manager);
    error.manager.error_exit = jpegFailed;
    error.manager.output_message = jpegQuiet;
    if (setjmp(error.jump)) {
        // Destroying a decompressor that was never made does nothing.
        jpeg_destroy_decompress(&info);
        return false;
    }
    jpeg_create_decompress(&info);
    jpeg_mem_src(&info, reinterpret_cast<const unsigned char*>(bytes.constData()),
        static_cast<unsigned long>(bytes.size()));
    if (jpeg_read_header(&info, TRUE) != JPEG_HEADER_OK
        || (info.jpeg_color_space != JCS_YCbCr && info.jpeg_color_space != JCS_GRAYSCALE
            && info.jpeg_color_space != JCS_RGB)) {
        jpeg_destroy_decompress(&info);
        return false;
    }
    info.out_color_space = JCS_RGB;
    jpeg_start_decompress(&info);
    if (info.output_width != width || info.output_height != height || info.output_components != 3) {
        jpeg_destroy_decompress(&info);
        return false;
    }
    while (info.output_scanline < info.output_height) {
        JSAMPROW row = pixels + std::size_t(width) * 3 * info.output_scanline;
        if (jpeg_read_scanlines(&info, &row, 1) != 1)
            break;
    }
    const bool whole = info.output_scanline == info.output_height;
    if (whole)
        jpeg_finish_decompress(&info);
    jpeg_destroy_decompress(&info);
    return whole;
}

HGLOBAL readWithQt(HISSRC source, UINT* width, UINT* height, const char* format)
{
    if (!zorReaderArgumentsValid(source, width, height))
        return nullptr;
    const bool jpeg = std::strcmp(format, "jpeg") == 0;
    const bool png = std::strcmp(format, "png") == 0;
    ZorImagingThreadState& state = zorImagingState();
    if (jpeg || png) {
        state.jpegTexts.clear();
        state.jpegMarkers.clear();
        state.pngTexts.clear();
    }

    QBuffer buffer(&source->bytes);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer, format);
    reader.setDecideFormatFromContent(false);
    reader.setAutoTransform(false);
    reader.setAllocationLimit(c_allocationLimitMiB);
    if (!reader.canRead()) {
        zorImagingResult(eIS_ERR_FORMAT);
        return nullptr;
    }
    const UINT checked = std::strcmp(format, "bmp") == 0 ? checkBmp(source->span())
        : std::strcmp(format, "tiff") == 0               ? checkTiff(source->span())
                                                         : UINT(eIS_OK);
    if (checked != eIS_OK) {
        zorImagingResult(checked);
        return nullptr;
    }

    const QSize size = reader.size();
    if (!size.isValid()) {
        zorImagingResult(eIS_ERR_FORMAT);
        return nullptr;
    }
    if (size.isEmpty()
        || std::uint64_t(size.width()) * std::uint64_t(size.height()) > c_nISMaxPixels) {
        zorImagingResult(eIS_ERR_TOO_BIG);
        return nullptr;
    }
    // Qt's JPEG reader fills a picture cut short with grey and calls it a success.
    ZorJpegSegments segments;
    if (jpeg) {
        segments = zorScanJpegSegments(source->span());
        if (!segments.complete) {
            zorImagingResult(eIS_ERR_TRUNCATED);
            return nullptr;
        }
    }

    if (jpeg) {
        const std::size_t bytes = std::size_t(size.width()) * std::size_t(size.height()) * 3;
        HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, bytes);
        auto* pixels = static_cast<BYTE*>(block ? GlobalLock(block) : nullptr);
        if (pixels
            && decodeJpegRgb(source->bytes, UINT(size.width()), UINT(size.height()), pixels)) {
            GlobalUnlock(block);
            *width = UINT(size.width());
            *height = UINT(size.height());
            keepJpegSegments(segments);
            zorImagingResult(eIS_OK);
            return block;
        }
        if (block) {
            GlobalUnlock(block);
            GlobalFree(block);
        }
    }

    const QImage image = reader.read();
    if (image.isNull()) {
        // The header was sound, so the pixels are what failed: the data stops early or is
        // damaged, which Qt's readers do not tell apart.
        zorImagingResult(eIS_ERR_TRUNCATED);
        return nullptr;
    }
    // The usual 32-bit result is packed straight into the block; other forms are widened first.
    const QImage rgb
        = image.format() == QImage::Format_RGB32 || image.format() == QImage::Format_ARGB32
        ? image
        : image.convertToFormat(QImage::Format_RGB32);
    if (rgb.isNull()) {
        zorImagingResult(eIS_ERR_MEMORY);
        return nullptr;
    }
    // The block holds the rows without padding.
    const std::size_t rowBytes = std::size_t(rgb.width()) * 3;
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, rowBytes * std::size_t(rgb.height()));
    auto* pixels = static_cast<BYTE*>(block ? GlobalLock(block) : nullptr);
    if (!pixels) {
        if (block)
            GlobalFree(block);
        zorImagingResult(eIS_ERR_MEMORY);
        return nullptr;
    }
    zorPackRgb32(rgb, pixels);
    GlobalUnlock(block);
    *width = UINT(rgb.width());
    *height = UINT(rgb.height());

    if (jpeg)
        keepJpegSegments(segments);
    if (png)
        keepPngTexts(image);
    zorImagingResult(eIS_OK);
    return block;
}

} // namespace

HGLOBAL _ISReadBMPToRGB(HISSRC source, UINT* width, UINT* height)
{
    return readWithQt(source, width, height, "bmp");
}

HGLOBAL _ISReadJPGToRGB(HISSRC source, UINT* width, UINT* height)
{
    return readWithQt(source, width, height, "jpeg");
}

HGLOBAL _ISReadPNGToRGB(HISSRC source, UINT* width, UINT* height)
{
    return readWithQt(source, width, height, "png");
}

HGLOBAL _ISReadTIFFToRGB(HISSRC source, UINT* width, UINT* height)
{
    return readWithQt(source, width, height, "tiff");
}
