// The texts and markers kept from the last JPEG or PNG read.

#include "imagingtest.h"

#include "platform/types/globalmemory.h"

#include <QtCore/QFile>

namespace {

// The text block's string; the block is freed.
std::string takeText(HGLOBAL block)
{
    if (!block)
        return "<null>";
    const std::string text(static_cast<const char*>(GlobalLock(block)));
    GlobalUnlock(block);
    GlobalFree(block);
    return text;
}

void read(const QString& path, ZorReader reader)
{
    const Decoded decoded = decodeFile(path, reader);
    ASSERT_TRUE(decoded.ok) << decoded.error;
}

TEST_F(ImagingTest, JpegCommentsAndMarkersThenPngTexts)
{
    const QString jpeg = tempPath(QStringLiteral("comment.jpg"));
    runConvert({basePicture(), "-set", "comment", "A comment: with a colon", jpeg});
    read(jpeg, _ISReadJPGToRGB);
    ASSERT_EQ(_ISGetJPGInputTextCount(), 1u);
    EXPECT_EQ(takeText(_ISGetJPGInputText(0)), "A comment: with a colon");
    EXPECT_EQ(_ISGetJPGInputText(1), nullptr);
    EXPECT_EQ(_ISGetLastError(), UINT(eIS_ERR_ARGUMENT));

    // ImageMagick writes the JFIF segment (APP0) first.
    ASSERT_GE(_ISGetJPGInputMarkerCount(), 1u);
    UINT length = 0;
    UINT type = 0;
    HGLOBAL marker = _ISGetJPGInputMarker(0, &length, &type);
    ASSERT_NE(marker, nullptr);
    EXPECT_EQ(type, 0xE0u);
    EXPECT_EQ(length, 14u);
    EXPECT_EQ(GlobalSize(marker), 14u);
    EXPECT_EQ(
        std::string(static_cast<const char*>(GlobalLock(marker)), 5), std::string("JFIF\0", 5));
    GlobalUnlock(marker);
    GlobalFree(marker);
    EXPECT_EQ(_ISGetJPGInputMarker(_ISGetJPGInputMarkerCount(), &length, &type), nullptr);
    EXPECT_EQ(_ISGetPNGInputTextCount(), 0u);

    // The texts come after the pixels in ImageMagick's PNG files; a PNG read replaces the
    // JPEG's texts.
    const QString png = tempPath(QStringLiteral("comment.png"));
    runConvert({basePicture(), "-set", "comment", "Hello PNG", png});
    read(png, _ISReadPNGToRGB);
    EXPECT_EQ(_ISGetJPGInputTextCount(), 0u);
    EXPECT_EQ(_ISGetJPGInputMarkerCount(), 0u);
    std::vector<std::string> texts;
    for (UINT i = 0; i < _ISGetPNGInputTextCount(); ++i)
        texts.push_back(takeText(_ISGetPNGInputText(i)));
    EXPECT_NE(std::find(texts.begin(), texts.end(), "comment=Hello PNG"), texts.end());

    // A failed read keeps nothing.
    const Decoded failed = decodeMemory(QByteArray("\x89PNG\r\n\x1a\n", 8), _ISReadPNGToRGB);
    EXPECT_FALSE(failed.ok);
    EXPECT_EQ(_ISGetPNGInputTextCount(), 0u);
}

} // namespace
