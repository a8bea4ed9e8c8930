// Truncated, malformed and hostile input: no picture and the error that says why.

#include "imagingtest.h"

#include <cstdlib>
#include <functional>

namespace {

void putWord(QByteArray& bytes, int offset, int value)
{
    bytes[offset] = char(value & 0xFF);
    bytes[offset + 1] = char((value >> 8) & 0xFF);
}

void putBigEndian(QByteArray& bytes, int offset, quint32 value)
{
    for (int i = 0; i < 4; ++i)
        bytes[offset + i] = char((value >> (24 - 8 * i)) & 0xFF);
}

quint32 crc32(const QByteArray& bytes)
{
    quint32 crc = 0xFFFFFFFF;
    for (char byte : bytes) {
        crc ^= BYTE(byte);
        for (int bit = 0; bit < 8; ++bit)
            crc = (crc >> 1) ^ (0xEDB88320 & (0u - (crc & 1)));
    }
    return ~crc;
}

// A TGA header; the pixels follow.
QByteArray tgaHeader(int type, int width, int height, int bits, int descriptor = 0x20)
{
    QByteArray bytes(18, '\0');
    bytes[2] = char(type);
    putWord(bytes, 12, width);
    putWord(bytes, 14, height);
    bytes[16] = char(bits);
    bytes[17] = char(descriptor);
    return bytes;
}

// A colour-mapped TGA with a map of `entries` 24-bit colours starting at index `first`.
QByteArray tgaMapped(int first, int entries, const QByteArray& pixels)
{
    QByteArray bytes = tgaHeader(1, pixels.size(), 1, 8);
    bytes[1] = 1;
    putWord(bytes, 3, first);
    putWord(bytes, 5, entries);
    bytes[7] = 24;
    bytes += QByteArray(entries * 3, '\x40');
    return bytes + pixels;
}

// A 4 x 2 PCX of 24 bits in three planes, plain bytes unless `runLength`.
QByteArray pcxHeader(int width, int height, int bytesPerLine, int planes = 3, int bits = 8)
{
    QByteArray bytes(128, '\0');
    bytes[0] = 0x0A;
    bytes[1] = 5;
    bytes[2] = 1;
    bytes[3] = char(bits);
    putWord(bytes, 8, width - 1);
    putWord(bytes, 10, height - 1);
    bytes[65] = char(planes);
    putWord(bytes, 66, bytesPerLine);
    return bytes;
}

QByteArray pictureFile(const char* name, const QStringList& options)
{
    const QString path = tempPath(QString::fromLatin1(name));
    runConvert(QStringList {basePicture()} + options + QStringList {path});
    return readBytes(path);
}

QByteArray cut(const QByteArray& bytes, double share)
{
    return bytes.left(qsizetype(bytes.size() * share));
}

// A BMP header claiming 100000 x 100000 pixels of 24 bits, with no pixels.
QByteArray hugeBmp()
{
    QByteArray bytes(54, '\0');
    bytes[0] = 'B';
    bytes[1] = 'M';
    putWord(bytes, 10, 54);
    putWord(bytes, 14, 40);
    putWord(bytes, 18, 100000 & 0xFFFF);
    bytes[20] = char(100000 >> 16);
    putWord(bytes, 22, 100000 & 0xFFFF);
    bytes[24] = char(100000 >> 16);
    putWord(bytes, 26, 1);
    putWord(bytes, 28, 24);
    return bytes;
}

// A PNG whose header (with a right checksum) claims 100000 x 100000 pixels.
QByteArray hugePng()
{
    QByteArray header("IHDR", 4);
    header += QByteArray(13, '\0');
    putBigEndian(header, 4, 100000);
    putBigEndian(header, 8, 100000);
    header[12] = 8;
    header[13] = 2;
    QByteArray bytes("\x89PNG\r\n\x1a\n", 8);
    bytes += QByteArray(4, '\0');
    putBigEndian(bytes, 8, 13);
    bytes += header;
    QByteArray crc(4, '\0');
    putBigEndian(crc, 0, crc32(header));
    // An empty data chunk ends the header for the reader.
    QByteArray data("\0\0\0\0IDAT", 8);
    QByteArray dataCrc(4, '\0');
    putBigEndian(dataCrc, 0, crc32("IDAT"));
    return bytes + crc + data + dataCrc;
}

struct BadCase
{
    const char* name;
    std::function<QByteArray()> bytes;
    ZorReader reader;
    UINT error;
};

std::vector<BadCase> badCases()
{
    const auto tga24 = [] { return tgaHeader(2, 4, 4, 24) + QByteArray(48, '\x11'); };
    const auto pcx24 = [] { return pcxHeader(4, 2, 4) + QByteArray(24, '\x22'); };
    return {
        {"TgaHeaderCut", [] { return tgaHeader(2, 4, 4, 24).left(10); }, _ISReadTGAToRGB,
            eIS_ERR_TRUNCATED},
        {"TgaPixelsCut", [=] { return tga24().left(18 + 47); }, _ISReadTGAToRGB, eIS_ERR_TRUNCATED},
        {"TgaImageIdCut",
            [] {
                QByteArray b = tgaHeader(2, 1, 1, 24);
                b[0] = 100;
                return b + QByteArray(20, '\0');
            },
            _ISReadTGAToRGB, eIS_ERR_TRUNCATED},
        {"TgaColourMapCut", [] { return tgaMapped(0, 200, "\x01").left(18 + 100); },
            _ISReadTGAToRGB, eIS_ERR_TRUNCATED},
        {"TgaRlePacketCut", [] { return tgaHeader(10, 4, 1, 24) + QByteArray("\x83\x01\x02", 3); },
            _ISReadTGAToRGB, eIS_ERR_TRUNCATED},
        {"TgaHuge", [] { return tgaHeader(2, 65535, 65535, 24) + QByteArray(4096, '\0'); },
            _ISReadTGAToRGB, eIS_ERR_TOO_BIG},
        {"TgaZeroWidth", [] { return tgaHeader(2, 0, 4, 24) + QByteArray(48, '\0'); },
            _ISReadTGAToRGB, eIS_ERR_TOO_BIG},
        {"TgaRunPastEnd",
            [] {
                return tgaHeader(10, 2, 2, 24) + QByteArray("\xFF\x01\x02\x03", 4)
                    + QByteArray(16, '\0');
            },
            _ISReadTGAToRGB, eIS_ERR_FORMAT},
        {"TgaIndexBeyondMap", [] { return tgaMapped(0, 2, QByteArray("\x00\x01\x05", 3)); },
            _ISReadTGAToRGB, eIS_ERR_FORMAT},
        {"TgaIndexBelowFirst", [] { return tgaMapped(4, 2, QByteArray("\x04\x02", 2)); },
            _ISReadTGAToRGB, eIS_ERR_FORMAT},
        {"TgaUnknownType", [] { return tgaHeader(5, 1, 1, 24) + QByteArray(3, '\0'); },
            _ISReadTGAToRGB, eIS_ERR_FORMAT},
        {"TgaOddDepth", [] { return tgaHeader(2, 1, 1, 12) + QByteArray(3, '\0'); },
            _ISReadTGAToRGB, eIS_ERR_FORMAT},
        {"PcxHeaderCut", [=] { return pcx24().left(100); }, _ISReadPCXToRGB, eIS_ERR_TRUNCATED},
        {"PcxPixelsCut", [=] { return pcx24().left(128 + 23); }, _ISReadPCXToRGB,
            eIS_ERR_TRUNCATED},
        {"PcxRunCut", [] { return pcxHeader(4, 2, 4) + QByteArray("\xC5", 1); }, _ISReadPCXToRGB,
            eIS_ERR_TRUNCATED},
        {"PcxPaletteMissing",
            [] {
                return pictureFile("cut.pcx", {"-type", "palette"}).chopped(1);
            },
            _ISReadPCXToRGB, eIS_ERR_TRUNCATED},
        {"PcxHuge", [] { return pcxHeader(65535, 65535, 65535) + QByteArray(65536, '\xFF'); },
            _ISReadPCXToRGB, eIS_ERR_TOO_BIG},
        {"PcxRunPastEnd", [] { return pcxHeader(4, 1, 4) + QByteArray("\xCF\x33", 2); },
            _ISReadPCXToRGB, eIS_ERR_FORMAT},
        {"PcxLineShorterThanWidth", [] { return pcxHeader(40, 1, 4) + QByteArray(12, '\0'); },
            _ISReadPCXToRGB, eIS_ERR_FORMAT},
        {"PcxUnknownVersion",
            [=] {
                QByteArray b = pcx24();
                b[1] = 1;
                return b;
            },
            _ISReadPCXToRGB, eIS_ERR_FORMAT},
        {"PcxTwoBitsThreePlanes", [] { return pcxHeader(4, 1, 1, 3, 2) + QByteArray(3, '\0'); },
            _ISReadPCXToRGB, eIS_ERR_FORMAT},
        {"BmpHuge", hugeBmp, _ISReadBMPToRGB, eIS_ERR_TOO_BIG},
        {"BmpCut", [] { return cut(pictureFile("cut.bmp", {}), 0.5); }, _ISReadBMPToRGB,
            eIS_ERR_TRUNCATED},
        {"PngHuge", hugePng, _ISReadPNGToRGB, eIS_ERR_TOO_BIG},
        {"PngCut", [] { return cut(pictureFile("cut.png", {}), 0.6); }, _ISReadPNGToRGB,
            eIS_ERR_TRUNCATED},
        {"JpegCutInScan", [] { return cut(pictureFile("cut.jpg", {}), 0.7); }, _ISReadJPGToRGB,
            eIS_ERR_TRUNCATED},
        {"JpegCutInHeader", [] { return pictureFile("cuth.jpg", {}).left(30); }, _ISReadJPGToRGB,
            eIS_ERR_FORMAT},
        {"TiffCut",
            [] {
                return cut(pictureFile("cut.tif", {"-compress", "none"}), 0.5);
            },
            _ISReadTIFFToRGB, eIS_ERR_TRUNCATED},
        {"PngToJpegReader", [] { return pictureFile("other.png", {}); }, _ISReadJPGToRGB,
            eIS_ERR_FORMAT},
        {"JpegToPngReader", [] { return pictureFile("other.jpg", {}); }, _ISReadPNGToRGB,
            eIS_ERR_FORMAT},
        {"BmpToTiffReader", [] { return pictureFile("other.bmp", {}); }, _ISReadTIFFToRGB,
            eIS_ERR_FORMAT},
    };
}

class BadInput : public ImagingTest, public ::testing::WithParamInterface<BadCase>
{
};

TEST_P(BadInput, NoPictureAndTheError)
{
    const BadCase& c = GetParam();
    const QByteArray bytes = c.bytes();
    ASSERT_FALSE(bytes.isEmpty());
    const Decoded fromMemory = decodeMemory(bytes, c.reader);
    EXPECT_FALSE(fromMemory.ok);
    EXPECT_EQ(fromMemory.error, c.error);
    const QString path = tempPath(QStringLiteral("bad.bin"));
    writeBytes(path, bytes);
    const Decoded fromFile = decodeFile(path, c.reader);
    EXPECT_FALSE(fromFile.ok);
    EXPECT_EQ(fromFile.error, c.error);
}

INSTANTIATE_TEST_SUITE_P(Readers, BadInput, ::testing::ValuesIn(badCases()),
    [](const auto& info) { return std::string(info.param.name); });

// Calls without what they need fail with eIS_ERR_ARGUMENT or eIS_ERR_OPEN, and a good call
// after them reports success again.
TEST_F(ImagingTest, MissingArgumentsAndFiles)
{
    UINT width = 7;
    UINT height = 7;
    const BYTE byte = 0;
    EXPECT_EQ(_ISOpenMemorySource(&byte, 0), nullptr);
    EXPECT_EQ(_ISGetLastError(), UINT(eIS_ERR_ARGUMENT));
    EXPECT_EQ(_ISOpenMemorySource(nullptr, 10), nullptr);
    EXPECT_EQ(_ISGetLastError(), UINT(eIS_ERR_ARGUMENT));
    EXPECT_EQ(_ISReadTGAToRGB(nullptr, &width, &height), nullptr);
    EXPECT_EQ(_ISGetLastError(), UINT(eIS_ERR_ARGUMENT));
    EXPECT_EQ(_ISOpenFileSource(tempPath("no such file.png").toUtf8().constData()), nullptr);
    EXPECT_EQ(_ISGetLastError(), UINT(eIS_ERR_OPEN));
    EXPECT_EQ(_ISOpenFileSource(tempPath(QString()).toUtf8().constData()), nullptr); // a folder
    EXPECT_EQ(_ISGetLastError(), UINT(eIS_ERR_OPEN));

    HISSRC source = _ISOpenMemorySource(&byte, 1);
    ASSERT_NE(source, nullptr);
    EXPECT_EQ(_ISGetLastError(), UINT(eIS_OK));
    EXPECT_EQ(_ISReadPCXToRGB(source, &width, &height), nullptr);
    EXPECT_EQ(_ISGetLastError(), UINT(eIS_ERR_TRUNCATED));
    EXPECT_EQ(width, 0u); // no stale size is left behind
    EXPECT_TRUE(_ISCloseSource(source));
    EXPECT_EQ(_ISGetLastError(), UINT(eIS_OK));
}

// Before _ISInitialize every call fails; after it the same call succeeds. Ends the process
// with 0 when both hold.
[[noreturn]] void checkStartUp()
{
    const BYTE bytes[] = {'B', 'M'};
    const bool refused
        = _ISOpenMemorySource(bytes, 2) == nullptr && _ISGetLastError() == eIS_ERR_NOT_INITIALIZED;
    const bool started = _ISInitialize("late") && _ISGetLastError() == eIS_OK;
    HISSRC source = _ISOpenMemorySource(bytes, 2);
    const bool guessed = source && _ISGuessFileType(source) == eIS_BMP;
    _ISCloseSource(source);
    std::exit(refused && started && guessed ? 0 : 1);
}

// Run in a fresh process, where the library has not been started.
TEST(ImagingStart, CallsBeforeInitializeFail)
{
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(checkStartUp(), ::testing::ExitedWithCode(0), "");
}

} // namespace
