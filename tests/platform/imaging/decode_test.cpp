// Every reader against ImageMagick's own decode of the same file, pixel by pixel.

#include "imagingtest.h"

#include <cstdlib>
#include <functional>
#include <utility>

namespace {

// --- files the test writes itself, for kinds `convert` does not write ------------------------

// A header palette of 16 distinct colours.
BYTE paletteByte(int index, int channel)
{
    const int values[3] = {index * 16, 255 - index * 16, (index * 37) % 256};
    return BYTE(values[channel]);
}

void appendWord(QByteArray& bytes, int value)
{
    bytes.append(char(value & 0xFF));
    bytes.append(char((value >> 8) & 0xFF));
}

// Run-length encodes one scan line as PCX does: runs of up to 63 equal bytes, lone bytes below
// 0xC0 as themselves.
QByteArray pcxRunLength(const QByteArray& line)
{
    QByteArray out;
    for (qsizetype i = 0; i < line.size();) {
        qsizetype run = 1;
        while (i + run < line.size() && run < 63 && line[i + run] == line[i])
            ++run;
        if (run > 1 || (BYTE(line[i]) & 0xC0) == 0xC0)
            out.append(char(0xC0 | run));
        out.append(line[i]);
        i += run;
    }
    return out;
}

// A 16-colour PCX of `width` x 3 pixels, colour index (x + 2y) mod 16, either 4 bits packed in
// one plane or 4 planes of 1 bit; lines padded to `bytesPerLine`.
QByteArray pcxSixteenColours(bool planar, int width, int bytesPerLine)
{
    const int height = 3;
    QByteArray bytes(128, '\0');
    bytes[0] = 0x0A;
    bytes[1] = 5;
    bytes[2] = 1;
    bytes[3] = char(planar ? 1 : 4);
    QByteArray size;
    appendWord(size, width - 1);
    appendWord(size, height - 1);
    bytes.replace(8, 4, size);
    for (int i = 0; i < 16; ++i)
        for (int c = 0; c < 3; ++c)
            bytes[16 + i * 3 + c] = char(paletteByte(i, c));
    bytes[65] = char(planar ? 4 : 1);
    bytes[66] = char(bytesPerLine);
    for (int y = 0; y < height; ++y) {
        QByteArray line(bytesPerLine * (planar ? 4 : 1), '\0');
        for (int x = 0; x < width; ++x) {
            const int index = (x + 2 * y) % 16;
            if (planar) {
                for (int plane = 0; plane < 4; ++plane)
                    if (index & (1 << plane))
                        line[plane * bytesPerLine + x / 8] |= char(0x80 >> (x % 8));
            } else {
                line[x / 2] |= char(x % 2 ? index : index << 4);
            }
        }
        bytes += pcxRunLength(line);
    }
    return bytes;
}

// A 6 x 2 true-colour TGA of 16 bits a pixel (5 bits each colour), top row first.
QByteArray tgaSixteenBits()
{
    QByteArray bytes(18, '\0');
    bytes[2] = 2;
    bytes[12] = 6;
    bytes[14] = 2;
    bytes[16] = 16;
    bytes[17] = 0x20 | 1;
    for (int value : {0x7FFF, 0x7C00, 0x03E0, 0x001F, 0x4210, 0x0421, 0x0000, 0x2D6B, 0x56B5,
             0x1234, 0x6543, 0x3DEF})
        appendWord(bytes, value);
    return bytes;
}

// --- the table ------------------------------------------------------------------------------

struct DecodeCase
{
    const char* name;
    const char* file; // its extension chooses ImageMagick's writer
    QStringList convert; // options between the test picture and the output
    ZorReader reader;
    int tolerance {0};
    std::vector<std::pair<int, int>> header {}; // (offset, byte) that make the file its kind
    const char* via {nullptr}; // an intermediate format the picture goes through
    std::function<QByteArray()> handMade {}; // the file's bytes, written by the test itself
    // ImageMagick reads (and writes) a 1-bit PCX with 1 as black; the format's own rule, which
    // we follow, is 0 black and 1 white.
    bool magickInverted {false};
};

std::vector<DecodeCase> decodeCases()
{
    const QStringList top {"-orient", "TopLeft"};
    const QStringList rle {"-compress", "RLE"};
    const QStringList palette {"-type", "palette"};
    const QStringList grey {"-type", "grayscale"};
    return {
        {"Bmp24", "t24.bmp", {"-type", "truecolor"}, _ISReadBMPToRGB, 0, {{28, 24}}},
        {"Bmp8Palette", "t8.bmp", palette, _ISReadBMPToRGB, 0, {{28, 8}}},
        {"PngTrueColour", "tc.png", {"-define", "png:color-type=2"}, _ISReadPNGToRGB, 0, {{25, 2}}},
        {"PngPalette", "pal.png", palette, _ISReadPNGToRGB, 0, {{25, 3}}},
        {"PngGrey", "grey.png", grey, _ISReadPNGToRGB, 0, {{25, 0}}},
        {"TiffPlain", "plain.tif", {"-compress", "none"}, _ISReadTIFFToRGB},
        {"TiffLzw", "lzw.tif", {"-compress", "lzw"}, _ISReadTIFFToRGB},
        {"TiffPalette", "pal.tif", palette, _ISReadTIFFToRGB},
        {"Jpeg", "q90.jpg", {"-quality", "90"}, _ISReadJPGToRGB, 2},
        {"JpegGrey", "grey.jpg", grey, _ISReadJPGToRGB, 2},
        {"Pcx1Bit", "mono.pcx", {"-monochrome"}, _ISReadPCXToRGB, 0, {{3, 1}, {65, 1}}, "gif", {},
            true},
        {"Pcx8Bit", "pal.pcx", palette, _ISReadPCXToRGB, 0, {{3, 8}, {65, 1}}},
        {"Pcx8Bit16Colours", "c16.pcx", {"-colors", "16"}, _ISReadPCXToRGB, 0, {{3, 8}, {65, 1}}},
        {"Pcx24Bit", "tc.pcx", {"-type", "truecolor"}, _ISReadPCXToRGB, 0, {{3, 8}, {65, 3}}},
        {"Pcx4BitPacked", "packed4.pcx", {}, _ISReadPCXToRGB, 0, {{3, 4}, {65, 1}}, nullptr,
            [] { return pcxSixteenColours(false, 13, 8); }},
        {"Pcx4Planes", "planes4.pcx", {}, _ISReadPCXToRGB, 0, {{3, 1}, {65, 4}}, nullptr,
            [] { return pcxSixteenColours(true, 19, 4); }},
        {"TgaTrueColour", "tc.tga", {}, _ISReadTGAToRGB, 0, {{2, 2}, {17, 0x00}}},
        {"TgaTrueColourRle", "tcrle.tga", rle, _ISReadTGAToRGB, 0, {{2, 10}, {17, 0x00}}},
        {"TgaTrueColourTopDown", "tctop.tga", top, _ISReadTGAToRGB, 0, {{2, 2}, {17, 0x20}}},
        {"TgaTrueColourRleTopDown", "tcrletop.tga", top + rle, _ISReadTGAToRGB, 0,
            {{2, 10}, {17, 0x20}}},
        {"TgaColourMapped", "pal.tga", palette, _ISReadTGAToRGB, 0, {{2, 1}, {17, 0x00}}},
        {"TgaColourMappedRle", "palrle.tga", palette + rle, _ISReadTGAToRGB, 0,
            {{2, 9}, {17, 0x00}}},
        {"TgaColourMappedRleTopDown", "palrletop.tga", palette + rle + top, _ISReadTGAToRGB, 0,
            {{2, 9}, {17, 0x20}}},
        {"TgaGrey", "grey.tga", grey, _ISReadTGAToRGB, 0, {{2, 3}, {17, 0x00}}},
        {"TgaGreyRle", "greyrle.tga", grey + rle, _ISReadTGAToRGB, 0, {{2, 11}}},
        {"TgaGreyTopDown", "greytop.tga", grey + top, _ISReadTGAToRGB, 0, {{2, 3}, {17, 0x20}}},
        // 5 bits become 8 rounded to the nearest (16 -> 132); ImageMagick rounds down (131).
        {"Tga16Bits", "t16.tga", {}, _ISReadTGAToRGB, 1, {{2, 2}, {16, 16}}, nullptr,
            tgaSixteenBits},
    };
}

class DecodeAgainstImageMagick : public ImagingTest,
                                 public ::testing::WithParamInterface<DecodeCase>
{
};

TEST_P(DecodeAgainstImageMagick, EveryPixel)
{
    const DecodeCase& c = GetParam();
    const QString path = tempPath(QString::fromLatin1(c.file));
    if (c.handMade) {
        writeBytes(path, c.handMade());
    } else if (c.via) {
        const QString between = path + QLatin1Char('.') + QLatin1String(c.via);
        runConvert(QStringList {basePicture()} + c.convert + QStringList {between});
        runConvert({between, path});
    } else {
        runConvert(QStringList {basePicture()} + c.convert + QStringList {path});
    }
    const QByteArray file = readBytes(path);
    for (const auto& [offset, value] : c.header)
        ASSERT_EQ(BYTE(file.at(offset)), value) << "not the kind of file meant, byte " << offset;

    QByteArray expected = magickRgb(path);
    if (c.magickInverted) {
        for (char& byte : expected)
            byte = char(255 - BYTE(byte));
    }
    const Decoded decoded = decodeFile(path, c.reader);
    ASSERT_TRUE(decoded.ok) << "error " << decoded.error;
    EXPECT_EQ(decoded.error, UINT(eIS_OK));
    if (!c.handMade) {
        EXPECT_EQ(decoded.width, 37u);
        EXPECT_EQ(decoded.height, 23u);
    }
    ASSERT_EQ(decoded.pixels.size(), expected.size());
    int worst = 0;
    qsizetype worstAt = 0;
    for (qsizetype i = 0; i < expected.size(); ++i) {
        const int difference = std::abs(int(BYTE(decoded.pixels[i])) - int(BYTE(expected[i])));
        if (difference > worst) {
            worst = difference;
            worstAt = i;
        }
    }
    EXPECT_LE(worst, c.tolerance) << "at x " << (worstAt / 3) % decoded.width << ", y "
                                  << worstAt / 3 / decoded.width << ", channel " << worstAt % 3;

    const Decoded fromMemory = decodeMemory(file, c.reader);
    ASSERT_TRUE(fromMemory.ok) << "error " << fromMemory.error;
    EXPECT_EQ(fromMemory.pixels, decoded.pixels);
}

INSTANTIATE_TEST_SUITE_P(Formats, DecodeAgainstImageMagick, ::testing::ValuesIn(decodeCases()),
    [](const auto& info) { return std::string(info.param.name); });

} // namespace
