// The kind of a source from its first bytes, the same from a file as from memory.

#include "imagingtest.h"

#include <QtCore/QFile>

namespace {

struct GuessCase
{
    const char* name;
    QByteArray bytes;
    UINT kind;
};

QByteArray bytesOf(std::initializer_list<int> values)
{
    QByteArray bytes;
    for (int value : values)
        bytes.append(char(value));
    return bytes;
}

QByteArray emfHeader(bool signature)
{
    QByteArray bytes(88, '\0');
    bytes[0] = 1;
    bytes[4] = 88;
    if (signature)
        bytes.replace(40, 4, " EMF");
    return bytes;
}

std::vector<GuessCase> guessCases()
{
    const QByteArray padding(64, '\0');
    return {
        {"Bmp", "BM" + padding, eIS_BMP},
        {"Jpeg", bytesOf({0xFF, 0xD8, 0xFF, 0xE0}) + padding, eIS_JPG},
        {"JpegWithoutThirdByte", bytesOf({0xFF, 0xD8, 0x00}) + padding, eIS_UNKNOWN},
        {"Png", bytesOf({0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A}) + padding, eIS_PNG},
        {"PngSignatureCut", bytesOf({0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A}), eIS_UNKNOWN},
        {"Pcx", bytesOf({0x0A, 5, 1, 8}) + padding, eIS_PCX},
        {"PcxVersion0Plain1Bit", bytesOf({0x0A, 0, 0, 1}) + padding, eIS_PCX},
        {"PcxVersion1", bytesOf({0x0A, 1, 1, 8}) + padding, eIS_UNKNOWN},
        {"PcxEncoding2", bytesOf({0x0A, 5, 2, 8}) + padding, eIS_UNKNOWN},
        {"PcxBits3", bytesOf({0x0A, 5, 1, 3}) + padding, eIS_UNKNOWN},
        {"TiffIntel", bytesOf({'I', 'I', '*', 0}) + padding, eIS_TIFF},
        {"TiffMotorola", bytesOf({'M', 'M', 0, '*'}) + padding, eIS_TIFF},
        {"TiffWrongOrder", bytesOf({'I', 'I', 0, '*'}) + padding, eIS_UNKNOWN},
        {"WmfPlaceable", bytesOf({0xD7, 0xCD, 0xC6, 0x9A}) + padding, eIS_WMF},
        {"WmfStandardDisk", bytesOf({2, 0, 9, 0, 0, 3}) + padding, eIS_WMF},
        {"WmfStandardMemory", bytesOf({1, 0, 9, 0, 0, 1}) + padding, eIS_WMF},
        {"WmfHeaderSize8", bytesOf({1, 0, 8, 0, 0, 3}) + padding, eIS_UNKNOWN},
        {"Emf", emfHeader(true), eIS_EMF},
        {"EmfWithoutSignature", emfHeader(false), eIS_UNKNOWN},
        {"TgaIsNeverGuessed",
            bytesOf({0, 0, 2, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1, 0, 1, 0, 24, 0x20, 1, 2, 3}),
            eIS_UNKNOWN},
        {"OneByte", "B", eIS_UNKNOWN},
        {"Text", "hello, world", eIS_UNKNOWN},
    };
}

class Guess : public ImagingTest, public ::testing::WithParamInterface<GuessCase>
{
};

TEST_P(Guess, KindFromMemoryAndFile)
{
    const GuessCase& c = GetParam();
    HISSRC memory
        = _ISOpenMemorySource(reinterpret_cast<const BYTE*>(c.bytes.constData()), c.bytes.size());
    ASSERT_NE(memory, nullptr);
    EXPECT_EQ(_ISGuessFileType(memory), c.kind);
    EXPECT_EQ(_ISGuessFileType(memory), c.kind); // guessing leaves the source as it was
    EXPECT_TRUE(_ISCloseSource(memory));

    const QString path = tempPath(QStringLiteral("guess.bin"));
    writeBytes(path, c.bytes);
    HISSRC file = _ISOpenFileSource(QFile::encodeName(path).constData());
    ASSERT_NE(file, nullptr);
    EXPECT_EQ(_ISGuessFileType(file), c.kind);
    EXPECT_TRUE(_ISCloseSource(file));
}

INSTANTIATE_TEST_SUITE_P(Signatures, Guess, ::testing::ValuesIn(guessCases()),
    [](const auto& info) { return std::string(info.param.name); });

// A picture written by ImageMagick is guessed as its kind, and read after the guess.
TEST_F(ImagingTest, GuessThenReadTheSameSource)
{
    const QString path = tempPath(QStringLiteral("guessed.png"));
    runConvert({basePicture(), path});
    HISSRC source = _ISOpenFileSource(QFile::encodeName(path).constData());
    ASSERT_NE(source, nullptr);
    EXPECT_EQ(_ISGuessFileType(source), UINT(eIS_PNG));
    UINT width = 0;
    UINT height = 0;
    HGLOBAL pixels = _ISReadPNGToRGB(source, &width, &height);
    EXPECT_NE(pixels, nullptr);
    EXPECT_EQ(width, 37u);
    EXPECT_EQ(height, 23u);
    GlobalFree(pixels);
    _ISCloseSource(source);
}

} // namespace
