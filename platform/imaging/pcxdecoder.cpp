#include "platform/imaging/pcxdecoder.h"

#include "platform/imaging/bytereader_p.h"
#include "platform/imaging/imaging.h"

#include <array>

namespace {

constexpr std::size_t c_headerSize = 128;
constexpr std::size_t c_headerPaletteOffset = 16;
constexpr std::size_t c_paletteSize = 256 * 3;
constexpr BYTE c_manufacturer = 0x0A;
constexpr BYTE c_paletteMarker = 0x0C;
// Two bytes of run-length data give at most 63 bytes; one plain byte gives one.
constexpr std::uint64_t c_mostBytesPerDataByte = 32;

using Rgb = std::array<BYTE, 3>;

bool fail(UINT& error, UINT code)
{
    error = code;
    return false;
}

WORD word(std::span<const BYTE> data, std::size_t offset)
{
    return WORD(data[offset] | (data[offset + 1] << 8));
}

// Decodes the run-length (or plain) stream into lines of a fixed size; a run that does not fit
// the rest of a line carries on into the next one.
class ZorPcxLines
{
public:
    ZorPcxLines(std::span<const BYTE> data, bool runLength) : m_reader(data), m_runLength(runLength)
    { }

    // Fills `line`; the error when the data ends first.
    bool next(std::span<BYTE> line, UINT& error)
    {
        std::size_t filled = 0;
        while (filled < line.size()) {
            if (m_pending == 0) {
                BYTE byte = 0;
                if (!m_reader.read8(byte))
                    return fail(error, eIS_ERR_TRUNCATED);
                m_pending = 1;
                m_value = byte;
                if (m_runLength && (byte & 0xC0) == 0xC0) {
                    m_pending = byte & 0x3F;
                    if (!m_reader.read8(m_value))
                        return fail(error, eIS_ERR_TRUNCATED);
                }
            }
            const std::size_t count = std::min<std::size_t>(m_pending, line.size() - filled);
            std::fill_n(line.begin() + std::ptrdiff_t(filled), count, m_value);
            filled += count;
            m_pending -= count;
        }
        return true;
    }
    // Bytes of a run that reach past the last line.
    std::size_t pending() const { return m_pending; }

private:
    ZorByteReader m_reader;
    bool m_runLength;
    std::size_t m_pending {0};
    BYTE m_value {0};
};

// The colour index of pixel x of a line of `planes` planes of `bits` bits each.
unsigned colourIndex(std::span<const BYTE> line, std::size_t bytesPerLine, unsigned planes,
    unsigned bits, std::size_t x)
{
    unsigned index = 0;
    for (unsigned plane = 0; plane < planes; ++plane) {
        const std::size_t bit = x * bits;
        const BYTE byte = line[plane * bytesPerLine + bit / 8];
        const unsigned value = (byte >> (8 - bits - bit % 8)) & ((1u << bits) - 1);
        index |= value << (plane * bits);
    }
    return index;
}

} // namespace

bool zorDecodePcx(std::span<const BYTE> data, ZorRgbPicture& picture, UINT& error)
{
    picture = ZorRgbPicture();
    if (data.size() < c_headerSize)
        return fail(error, eIS_ERR_TRUNCATED);
    const BYTE version = data[1];
    const BYTE encoding = data[2];
    const unsigned bits = data[3];
    if (data[0] != c_manufacturer || !(version == 0 || (version >= 2 && version <= 5))
        || encoding > 1)
        return fail(error, eIS_ERR_FORMAT);
    const WORD xMin = word(data, 4);
    const WORD yMin = word(data, 6);
    const WORD xMax = word(data, 8);
    const WORD yMax = word(data, 10);
    const unsigned planes = data[65];
    const std::size_t bytesPerLine = word(data, 66);

    const bool trueColour = bits == 8 && (planes == 3 || planes == 4);
    const bool fullPalette = bits == 8 && planes == 1;
    const bool planar = bits == 1 && planes >= 1 && planes <= 4;
    const bool packed = (bits == 2 || bits == 4) && planes == 1;
    if (!(trueColour || fullPalette || planar || packed))
        return fail(error, eIS_ERR_FORMAT);
    if (xMax < xMin || yMax < yMin)
        return fail(error, eIS_ERR_FORMAT);
    const std::uint64_t width = std::uint64_t(xMax) - xMin + 1;
    const std::uint64_t height = std::uint64_t(yMax) - yMin + 1;
    if (bytesPerLine * 8 < width * bits)
        return fail(error, eIS_ERR_FORMAT);
    if (width * height > c_nISMaxPixels)
        return fail(error, eIS_ERR_TOO_BIG);

    // The colours: black and white, the header's 16 or the 256 after the pixel data.
    std::array<Rgb, 256> palette {};
    std::size_t dataEnd = data.size();
    if (fullPalette) {
        if (data.size() < c_headerSize + 1 + c_paletteSize
            || data[data.size() - c_paletteSize - 1] != c_paletteMarker)
            return fail(error, eIS_ERR_TRUNCATED);
        dataEnd = data.size() - c_paletteSize - 1;
        for (std::size_t i = 0; i < 256; ++i) {
            const BYTE* entry = data.data() + dataEnd + 1 + i * 3;
            palette[i] = {entry[0], entry[1], entry[2]};
        }
    } else if (planar && planes == 1) {
        palette[1] = {255, 255, 255};
    } else {
        for (std::size_t i = 0; i < 16; ++i) {
            const BYTE* entry = data.data() + c_headerPaletteOffset + i * 3;
            palette[i] = {entry[0], entry[1], entry[2]};
        }
    }

    // Refuse data that cannot hold the picture before taking memory for it.
    const std::span<const BYTE> stream = data.subspan(c_headerSize, dataEnd - c_headerSize);
    const std::size_t lineSize = bytesPerLine * planes;
    const std::uint64_t most
        = encoding == 1 ? stream.size() * c_mostBytesPerDataByte : stream.size();
    if (most < std::uint64_t(lineSize) * height)
        return fail(error, eIS_ERR_TRUNCATED);
    if (!zorAllocatePicture(picture, width, height, error))
        return false;

    std::vector<BYTE> line(lineSize);
    ZorPcxLines lines(stream, encoding == 1);
    for (UINT y = 0; y < picture.height; ++y) {
        if (!lines.next(line, error)) {
            picture = ZorRgbPicture();
            return false;
        }
        BYTE* out = picture.pixel(0, y);
        for (std::size_t x = 0; x < width; ++x, out += 3) {
            Rgb rgb;
            if (trueColour)
                rgb = {line[x], line[bytesPerLine + x], line[2 * bytesPerLine + x]};
            else
                rgb = palette[colourIndex(line, bytesPerLine, planes, bits, x)];
            out[0] = rgb[0];
            out[1] = rgb[1];
            out[2] = rgb[2];
        }
    }
    if (lines.pending() != 0) {
        picture = ZorRgbPicture();
        return fail(error, eIS_ERR_FORMAT);
    }
    error = eIS_OK;
    return true;
}
