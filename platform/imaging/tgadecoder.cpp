#include "platform/imaging/tgadecoder.h"

#include "platform/imaging/bytereader_p.h"
#include "platform/imaging/imaging.h"

#include <array>

namespace {

constexpr std::size_t c_headerSize = 18;
constexpr BYTE c_descriptorRightToLeft = 0x10;
constexpr BYTE c_descriptorTopDown = 0x20;

using Rgb = std::array<BYTE, 3>;

enum class Kind { ColourMapped, TrueColour, Grey };

// 5 bits to 8, rounded to the nearest value.
BYTE scale5(unsigned value)
{
    return BYTE((value * 255 + 15) / 31);
}

// A true-colour value of `bits` bits (15, 16, 24 or 32) stored little-endian: blue first.
Rgb trueColour(const BYTE* bytes, unsigned bits)
{
    if (bits <= 16) {
        const unsigned value = bytes[0] | (bytes[1] << 8);
        return {scale5((value >> 10) & 31), scale5((value >> 5) & 31), scale5(value & 31)};
    }
    return {bytes[2], bytes[1], bytes[0]};
}

bool fail(UINT& error, UINT code)
{
    error = code;
    return false;
}

struct Header
{
    BYTE idLength {0};
    BYTE mapType {0};
    BYTE imageType {0};
    WORD mapFirst {0};
    WORD mapLength {0};
    BYTE mapEntryBits {0};
    WORD width {0};
    WORD height {0};
    BYTE pixelBits {0};
    BYTE descriptor {0};
};

bool readHeader(ZorByteReader& reader, Header& h)
{
    WORD origin = 0;
    return reader.read8(h.idLength) && reader.read8(h.mapType) && reader.read8(h.imageType)
        && reader.read16(h.mapFirst) && reader.read16(h.mapLength) && reader.read8(h.mapEntryBits)
        && reader.read16(origin) && reader.read16(origin) && reader.read16(h.width)
        && reader.read16(h.height) && reader.read8(h.pixelBits) && reader.read8(h.descriptor);
}

bool isTrueColourDepth(unsigned bits)
{
    return bits == 15 || bits == 16 || bits == 24 || bits == 32;
}

} // namespace

bool zorDecodeTga(std::span<const BYTE> data, ZorRgbPicture& picture, UINT& error)
{
    picture = ZorRgbPicture();
    ZorByteReader reader(data);
    Header h;
    if (data.size() < c_headerSize || !readHeader(reader, h))
        return fail(error, eIS_ERR_TRUNCATED);

    Kind kind;
    switch (h.imageType) {
    case 1:
    case 9:
        kind = Kind::ColourMapped;
        break;
    case 2:
    case 10:
        kind = Kind::TrueColour;
        break;
    case 3:
    case 11:
        kind = Kind::Grey;
        break;
    default:
        return fail(error, eIS_ERR_FORMAT);
    }
    const bool runLength = h.imageType >= 9;
    if (h.mapType > 1)
        return fail(error, eIS_ERR_FORMAT);
    const unsigned bits = h.pixelBits;
    const bool depthFits
        = kind == Kind::TrueColour ? isTrueColourDepth(bits) : (bits == 8 || bits == 16);
    if (!depthFits || (kind == Kind::ColourMapped && h.mapType != 1))
        return fail(error, eIS_ERR_FORMAT);
    if (h.mapType == 1 && !isTrueColourDepth(h.mapEntryBits))
        return fail(error, eIS_ERR_FORMAT);
    const std::uint64_t count = std::uint64_t(h.width) * h.height;
    if (count == 0 || count > c_nISMaxPixels)
        return fail(error, eIS_ERR_TOO_BIG);

    if (!reader.skip(h.idLength))
        return fail(error, eIS_ERR_TRUNCATED);
    // The colour map comes before the pixels even when a true-colour picture does not use it.
    std::vector<Rgb> map;
    if (h.mapType == 1) {
        const unsigned entryBytes = (h.mapEntryBits + 7) / 8;
        const std::span<const BYTE> bytes = reader.take(std::size_t(h.mapLength) * entryBytes);
        if (bytes.size() != std::size_t(h.mapLength) * entryBytes)
            return fail(error, eIS_ERR_TRUNCATED);
        if (kind == Kind::ColourMapped) {
            map.reserve(h.mapLength);
            for (std::size_t i = 0; i < h.mapLength; ++i)
                map.push_back(trueColour(bytes.data() + i * entryBytes, h.mapEntryBits));
        }
    }

    // Refuse data that cannot hold the picture before taking memory for it: a plain picture
    // needs every pixel's bytes, a run-length one at least one packet of 1 + pixel bytes for
    // every 128 pixels.
    const unsigned pixelBytes = (bits + 7) / 8;
    const std::uint64_t most = runLength
        ? std::uint64_t(reader.remaining() / (1 + pixelBytes)) * 128
        : std::uint64_t(reader.remaining() / pixelBytes);
    if (most < count)
        return fail(error, eIS_ERR_TRUNCATED);
    if (!zorAllocatePicture(picture, h.width, h.height, error))
        return false;

    const bool topDown = (h.descriptor & c_descriptorTopDown) != 0;
    const bool rightToLeft = (h.descriptor & c_descriptorRightToLeft) != 0;
    // Stores the n-th pixel of the file (from `bytes`) where the descriptor places it.
    auto store = [&](std::uint64_t n, const BYTE* bytes) {
        const UINT row = UINT(n / h.width);
        const UINT column = UINT(n % h.width);
        Rgb rgb;
        if (kind == Kind::TrueColour) {
            rgb = trueColour(bytes, bits);
        } else if (kind == Kind::Grey) {
            rgb = {bytes[0], bytes[0], bytes[0]};
        } else {
            const unsigned value = bits == 8 ? bytes[0] : unsigned(bytes[0] | (bytes[1] << 8));
            if (value < h.mapFirst || value - h.mapFirst >= map.size())
                return false;
            rgb = map[value - h.mapFirst];
        }
        BYTE* out = picture.pixel(
            rightToLeft ? h.width - 1 - column : column, topDown ? row : h.height - 1 - row);
        out[0] = rgb[0];
        out[1] = rgb[1];
        out[2] = rgb[2];
        return true;
    };

    std::uint64_t n = 0;
    while (n < count) {
        std::uint64_t run = 1;
        bool repeated = true;
        if (runLength) {
            BYTE packet = 0;
            if (!reader.read8(packet)) {
                picture = ZorRgbPicture();
                return fail(error, eIS_ERR_TRUNCATED);
            }
            run = (packet & 0x7F) + 1u;
            repeated = (packet & 0x80) != 0;
            if (run > count - n) {
                picture = ZorRgbPicture();
                return fail(error, eIS_ERR_FORMAT);
            }
        }
        const std::span<const BYTE> bytes = reader.take((repeated ? 1 : run) * pixelBytes);
        if (bytes.empty()) {
            picture = ZorRgbPicture();
            return fail(error, eIS_ERR_TRUNCATED);
        }
        for (std::uint64_t i = 0; i < run; ++i, ++n) {
            if (!store(n, bytes.data() + (repeated ? 0 : i * pixelBytes))) {
                picture = ZorRgbPicture();
                return fail(error, eIS_ERR_FORMAT);
            }
        }
    }
    error = eIS_OK;
    return true;
}
