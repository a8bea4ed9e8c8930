// Resampling RGB pixels and drawing them through a device context.

#include "imagingtest.h"

#include "platform/gdi/dc.h"

#include <QtGui/QImage>

namespace {

struct ResizeCase
{
    const char* name;
    UINT width;
    UINT height;
    std::vector<BYTE> pixels;
    UINT newWidth;
    UINT newHeight;
    std::vector<BYTE> expected; // within 2 per channel
};

std::vector<ResizeCase> resizeCases()
{
    const BYTE r[] = {255, 0, 0};
    const BYTE b[] = {0, 0, 255};
    auto row = [](std::initializer_list<const BYTE*> colours) {
        std::vector<BYTE> out;
        for (const BYTE* c : colours)
            out.insert(out.end(), c, c + 3);
        return out;
    };
    auto repeat = [](const BYTE* colour, int count) {
        std::vector<BYTE> out;
        for (int i = 0; i < count; ++i)
            out.insert(out.end(), colour, colour + 3);
        return out;
    };
    return {
        {"HalvesKeepTwoColourBlocks", 4, 1, row({r, r, b, b}), 2, 1, row({r, b})},
        {"OneColourStaysExact", 3, 2, row({r, r, r, r, r, r}), 7, 5, repeat(r, 7 * 5)},
        {"CheckerboardAveragesToGrey", 2, 2, {0, 0, 0, 255, 255, 255, 255, 255, 255, 0, 0, 0}, 1, 1,
            {128, 128, 128}},
        {"SameSizeCopies", 2, 1, row({r, b}), 2, 1, row({r, b})},
    };
}

class Resize : public ImagingTest, public ::testing::WithParamInterface<ResizeCase>
{
};

TEST_P(Resize, ResampledPixels)
{
    const ResizeCase& c = GetParam();
    const std::vector<BYTE>& expected = c.expected;
    std::vector<BYTE> out(std::size_t(c.newWidth) * c.newHeight * 3, 7);
    ASSERT_TRUE(
        _ISResizeRGB(c.pixels.data(), c.width, c.height, out.data(), c.newWidth, c.newHeight));
    EXPECT_EQ(_ISGetLastError(), UINT(eIS_OK));
    for (std::size_t i = 0; i < out.size(); ++i)
        EXPECT_NEAR(out[i], expected[i], 2) << "byte " << i;
}

INSTANTIATE_TEST_SUITE_P(Rgb, Resize, ::testing::ValuesIn(resizeCases()),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(ImagingTest, ResizeRefusesSizeZero)
{
    const BYTE pixel[3] = {1, 2, 3};
    BYTE out[3] = {9, 9, 9};
    EXPECT_FALSE(_ISResizeRGB(pixel, 1, 1, out, 0, 1));
    EXPECT_EQ(_ISGetLastError(), UINT(eIS_ERR_TOO_BIG));
    EXPECT_FALSE(_ISResizeRGB(pixel, 0, 1, out, 1, 1));
    EXPECT_EQ(_ISGetLastError(), UINT(eIS_ERR_TOO_BIG));
    EXPECT_EQ(out[0], 9); // nothing written
}

// 2 x 2 pixels: red, green / blue, white.
const BYTE c_square[] = {255, 0, 0, 0, 255, 0, 0, 0, 255, 255, 255, 255};

QRgb at(const QImage& image, int x, int y)
{
    return image.pixel(x, y) & 0xFFFFFF;
}

struct DrawCase
{
    const char* name;
    void (*prepare)(CDC&); // mapping or clip of the target
    int x;
    int y;
    UINT drawWidth;
    UINT drawHeight;
    std::vector<std::pair<QPoint, QRgb>> expected; // device pixels
};

constexpr QRgb c_red = 0xFF0000;
constexpr QRgb c_green = 0x00FF00;
constexpr QRgb c_blue = 0x0000FF;
constexpr QRgb c_white = 0xFFFFFF;
constexpr QRgb c_grey = 0x808080; // the target's background

std::vector<DrawCase> drawCases()
{
    return {
        {"OwnSize", [](CDC&) {}, 3, 4, 2, 2,
            {{{3, 4}, c_red}, {{4, 4}, c_green}, {{3, 5}, c_blue}, {{4, 5}, c_white},
                {{2, 4}, c_grey}, {{5, 4}, c_grey}, {{3, 3}, c_grey}, {{3, 6}, c_grey}}},
        {"Stretched", [](CDC&) {}, 0, 0, 4, 4,
            {{{0, 0}, c_red}, {{1, 1}, c_red}, {{2, 0}, c_green}, {{3, 1}, c_green},
                {{1, 3}, c_blue}, {{3, 3}, c_white}, {{4, 4}, c_grey}}},
        {"Clipped", [](CDC& dc) { dc.IntersectClipRect(0, 0, 4, 10); }, 3, 4, 2, 2,
            {{{3, 4}, c_red}, {{4, 4}, c_grey}, {{3, 5}, c_blue}, {{4, 5}, c_grey}}},
        {"ViewportMoved", [](CDC& dc) { dc.SetViewportOrg(2, 1); }, 3, 4, 2, 2,
            {{{5, 5}, c_red}, {{6, 6}, c_white}, {{3, 4}, c_grey}}},
        {"PartlyOutside", [](CDC&) {}, -1, -1, 2, 2, {{{0, 0}, c_white}, {{1, 0}, c_grey}}},
    };
}

class Draw : public ImagingTest, public ::testing::WithParamInterface<DrawCase>
{
};

TEST_P(Draw, PixelsThroughTheContext)
{
    const DrawCase& c = GetParam();
    QImage target(10, 10, QImage::Format_RGB32);
    target.fill(qRgb(0x80, 0x80, 0x80));
    CDC dc(&target);
    c.prepare(dc);
    ASSERT_TRUE(_ISDrawRGB(&dc, c_square, 2, 2, c.x, c.y, c.drawWidth, c.drawHeight, nullptr));
    EXPECT_EQ(_ISGetLastError(), UINT(eIS_OK));
    for (const auto& [point, colour] : c.expected)
        EXPECT_EQ(at(target, point.x(), point.y()), colour) << point.x() << "," << point.y();
}

INSTANTIATE_TEST_SUITE_P(Rgb, Draw, ::testing::ValuesIn(drawCases()),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(ImagingTest, DrawWithoutContextFails)
{
    EXPECT_FALSE(_ISDrawRGB(nullptr, c_square, 2, 2, 0, 0, 2, 2, nullptr));
    EXPECT_EQ(_ISGetLastError(), UINT(eIS_ERR_ARGUMENT));
}

} // namespace
