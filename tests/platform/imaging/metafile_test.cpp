// The metafile player through _ISReadMetafileToRGB: enhanced and Windows metafiles written here
// with libUEMF's record writers into a temporary folder, read back at 100 dots per inch on the
// 0x818181 background the picture control asks for, and checked pixel by pixel.

#include "platform/imaging/imaging.h"
#include "platform/imaging/metafile/metafile.h"

#include <uemf.h>
#include <uwmf.h>

#include <QtCore/QFile>
#include <QtCore/QTemporaryDir>
#include <QtGui/QGuiApplication>

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

namespace {

constexpr COLORREF c_background = 0x818181;
constexpr COLORREF c_red = 0x0000FF;
constexpr COLORREF c_blue = 0xFF0000;
constexpr COLORREF c_green = 0x00FF00;
constexpr COLORREF c_black = 0x000000;

// The bytes of a metafile under construction. Records come from libUEMF's writers (which
// allocate them); `raw` adds hand-made bytes for the damaged files.
class CMetafileBytes
{
public:
    explicit CMetafileBytes(bool wmf) : m_wmf(wmf) { }
    CMetafileBytes& add(char* record)
    {
        if (!record) {
            ADD_FAILURE() << "the writer gave no record";
            return *this;
        }
        std::uint32_t size = 0;
        std::memcpy(&size, record + (m_wmf ? 0 : 4), 4);
        if (m_wmf)
            size *= 2;
        m_bytes.insert(m_bytes.end(), record, record + size);
        std::free(record);
        return *this;
    }
    CMetafileBytes& raw(std::initializer_list<std::uint32_t> words)
    {
        for (std::uint32_t w : words)
            put32(w);
        return *this;
    }
    CMetafileBytes& raw16(std::initializer_list<std::uint16_t> words)
    {
        for (std::uint16_t w : words) {
            m_bytes.push_back(char(w & 0xFF));
            m_bytes.push_back(char(w >> 8));
        }
        return *this;
    }
    void put32(std::uint32_t w)
    {
        for (int i = 0; i < 4; ++i)
            m_bytes.push_back(char((w >> (8 * i)) & 0xFF));
    }
    void patch32(std::size_t offset, std::uint32_t w) { std::memcpy(&m_bytes[offset], &w, 4); }
    void patch16(std::size_t offset, std::uint16_t w) { std::memcpy(&m_bytes[offset], &w, 2); }
    std::vector<char>& bytes() { return m_bytes; }

private:
    bool m_wmf;
    std::vector<char> m_bytes;
};

U_RECTL rectl(int l, int t, int r, int b)
{
    return U_RECTL {l, t, r, b};
}

U_COLORREF colour(COLORREF c)
{
    return U_RGB(GetRValue(c), GetGValue(c), GetBValue(c));
}

// An enhanced metafile of width x height pixels at 100 dpi: the frame in 0.01 mm and a
// reference device of 100 dots per inch, so device units are picture pixels.
CMetafileBytes emf(int width, int height, int handles = 8)
{
    CMetafileBytes bytes(false);
    bytes.add(U_EMRHEADER_set(rectl(0, 0, width, height),
        rectl(0, 0, int(std::int64_t(width) * 2540 / 100), int(std::int64_t(height) * 2540 / 100)),
        nullptr, 0, nullptr, U_SIZEL {1000, 1000}, U_SIZEL {254, 254}, 0));
    bytes.patch16(56, std::uint16_t(handles));
    return bytes;
}

// A placeable Windows metafile whose box is width x height logical units, 100 to the inch.
CMetafileBytes wmf(int width, int height, int objects = 8, int inch = 100)
{
    CMetafileBytes bytes(true);
    const std::uint16_t placeable[11] = {0xCDD7, 0x9AC6, 0, 0, 0, std::uint16_t(width),
        std::uint16_t(height), std::uint16_t(inch), 0, 0, 0};
    bytes.raw16({placeable[0], placeable[1], placeable[2], placeable[3], placeable[4], placeable[5],
        placeable[6], placeable[7], placeable[8], placeable[9], placeable[10]});
    // Header: disk metafile, 9 words, version 3, file size (unused), objects, largest record,
    // no parameters.
    bytes.raw16({1, 9, 0x0300, 0, 0, std::uint16_t(objects), 0, 0, 0});
    return bytes;
}

// The end-of-file record: no palette entries, their offset, the record's size.
void emfEnd(CMetafileBytes& f)
{
    f.raw({U_EMR_EOF, 20, 0, 16, 20});
}

U_RECT16 rect16(int l, int t, int r, int b)
{
    return U_RECT16 {std::int16_t(l), std::int16_t(t), std::int16_t(r), std::int16_t(b)};
}

struct Read
{
    bool ok {false};
    UINT width {0};
    UINT height {0};
    UINT error {0};
    std::vector<BYTE> pixels;

    COLORREF at(int x, int y) const
    {
        const BYTE* p = pixels.data() + (std::size_t(y) * width + std::size_t(x)) * 3;
        return RGB(p[0], p[1], p[2]);
    }
};

class MetafileFile : public ::testing::Test
{
protected:
    // Text needs the fonts of a GUI application, as in the modules that read metafiles.
    static void SetUpTestSuite()
    {
        if (!QCoreApplication::instance()) {
            static int argc = 1;
            static char name[] = "platform_metafile_test";
            static char* argv[] = {name, nullptr};
            new QGuiApplication(argc, argv);
        }
    }

    void SetUp() override
    {
        ASSERT_TRUE(_ISInitialize("metafile tests"));
        ASSERT_TRUE(m_folder.isValid());
    }

    Read read(const std::vector<char>& bytes, UINT dpi = 100)
    {
        const QString path = m_folder.filePath("picture.mf");
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(bytes.data(), qint64(bytes.size()));
        file.close();
        return readPath(path.toLocal8Bit().toStdString(), dpi);
    }

    static Read readPath(const std::string& path, UINT dpi = 100)
    {
        Read result;
        HGLOBAL block = _ISReadMetafileToRGB(
            path.c_str(), &result.width, &result.height, dpi, dpi, c_background);
        result.error = _ISGetLastError();
        result.ok = block != nullptr;
        if (block) {
            const auto* p = static_cast<const BYTE*>(GlobalLock(block));
            result.pixels.assign(p, p + GlobalSize(block));
            GlobalUnlock(block);
            GlobalFree(block);
        }
        return result;
    }

    QTemporaryDir m_folder;
};

struct Probe
{
    int x;
    int y;
    COLORREF color;
};

struct ShapeCase
{
    const char* name;
    std::function<void(CMetafileBytes&)> records;
    std::vector<Probe> probes;
};

std::ostream& operator<<(std::ostream& os, const ShapeCase& c)
{
    return os << c.name;
}

void emfPenAndBrush(CMetafileBytes& f, COLORREF pen, COLORREF brush)
{
    f.add(U_EMRCREATEPEN_set(1, U_LOGPEN {U_PS_SOLID, U_POINT {0, 0}, colour(pen)}));
    f.add(U_EMRCREATEBRUSHINDIRECT_set(2, U_LOGBRUSH {U_BS_SOLID, colour(brush), 0}));
    f.add(U_EMRSELECTOBJECT_set(1));
    f.add(U_EMRSELECTOBJECT_set(2));
}

// Two nested squares drawn the same way round: the inner one is a hole in ALTERNATE mode and
// filled in WINDING mode.
void emfNestedSquares(CMetafileBytes& f, int mode)
{
    emfPenAndBrush(f, c_blue, c_blue);
    f.add(U_EMRSETPOLYFILLMODE_set(std::uint32_t(mode)));
    const U_POINT16 points[8]
        = {{10, 10}, {60, 10}, {60, 40}, {10, 40}, {25, 20}, {45, 20}, {45, 30}, {25, 30}};
    const std::uint32_t counts[2] = {4, 4};
    f.add(U_EMRPOLYPOLYGON16_set(rectl(10, 10, 60, 40), 2, counts, 8, points));
}

class EmfShapes : public MetafileFile, public ::testing::WithParamInterface<ShapeCase>
{
};

TEST_P(EmfShapes, PixelsFollowTheDrawingRules)
{
    CMetafileBytes file = emf(100, 50);
    GetParam().records(file);
    emfEnd(file);
    const Read r = read(file.bytes());
    ASSERT_TRUE(r.ok) << "error " << r.error;
    ASSERT_EQ(r.width, 100u);
    ASSERT_EQ(r.height, 50u);
    for (const Probe& p : GetParam().probes)
        EXPECT_EQ(r.at(p.x, p.y), p.color) << "at " << p.x << ", " << p.y;
}

INSTANTIATE_TEST_SUITE_P(Metafile, EmfShapes,
    ::testing::Values(
        ShapeCase {"LineHasItsStartNotItsEnd",
            [](CMetafileBytes& f) {
                f.add(U_EMRMOVETOEX_set(U_POINTL {10, 10}));
                f.add(U_EMRLINETO_set(U_POINTL {30, 10}));
            },
            {{10, 10, c_black}, {29, 10, c_black}, {30, 10, c_background}, {9, 10, c_background}}},
        ShapeCase {"RectangleFramedByPenFilledByBrush",
            [](CMetafileBytes& f) {
                emfPenAndBrush(f, c_red, c_blue);
                f.add(U_EMRRECTANGLE_set(rectl(20, 10, 40, 30)));
            },
            {{20, 10, c_red}, {39, 29, c_red}, {21, 11, c_blue}, {30, 20, c_blue},
                {40, 30, c_background}, {19, 10, c_background}}},
        ShapeCase {"EllipseFilledAtItsCentre",
            [](CMetafileBytes& f) {
                emfPenAndBrush(f, c_black, c_green);
                f.add(U_EMRELLIPSE_set(rectl(10, 10, 50, 40)));
            },
            {{30, 25, c_green}, {10, 10, c_background}, {49, 39, c_background}}},
        ShapeCase {"AlternateFillLeavesAHole",
            [](CMetafileBytes& f) { emfNestedSquares(f, U_ALTERNATE); },
            {{15, 15, c_blue}, {35, 25, c_background}, {70, 25, c_background}}},
        ShapeCase {"WindingFillCoversTheInside",
            [](CMetafileBytes& f) { emfNestedSquares(f, U_WINDING); },
            {{15, 15, c_blue}, {35, 25, c_blue}, {70, 25, c_background}}},
        ShapeCase {"AnisotropicWindowScalesToThePicture",
            [](CMetafileBytes& f) {
                // 10 logical units per pixel: the rectangle lands on 20..40 x 10..30.
                f.add(U_EMRSETMAPMODE_set(U_MM_ANISOTROPIC));
                f.add(U_EMRSETWINDOWEXTEX_set(U_SIZEL {1000, 500}));
                f.add(U_EMRSETVIEWPORTEXTEX_set(U_SIZEL {100, 50}));
                emfPenAndBrush(f, c_red, c_green);
                f.add(U_EMRRECTANGLE_set(rectl(200, 100, 400, 300)));
            },
            {{20, 10, c_red}, {39, 29, c_red}, {30, 20, c_green}, {41, 31, c_background}}},
        ShapeCase {"PieCoversItsQuarterOnly",
            [](CMetafileBytes& f) {
                // Counter-clockwise from the ray to the east to the ray to the north.
                emfPenAndBrush(f, c_red, c_green);
                f.add(U_EMRPIE_set(rectl(10, 10, 50, 50), U_POINTL {60, 30}, U_POINTL {30, 0}));
            },
            {{38, 22, c_green}, {22, 38, c_background}, {22, 22, c_background},
                {38, 38, c_background}}},
        ShapeCase {"RoundRectLeavesItsCornersOut",
            [](CMetafileBytes& f) {
                emfPenAndBrush(f, c_red, c_green);
                f.add(U_EMRROUNDRECT_set(rectl(20, 10, 60, 40), U_SIZEL {20, 20}));
            },
            {{20, 10, c_background}, {59, 39, c_background}, {40, 25, c_green}, {40, 10, c_red}}},
        ShapeCase {"ClipRectangleStopsTheFill",
            [](CMetafileBytes& f) {
                emfPenAndBrush(f, c_red, c_green);
                f.add(U_EMRINTERSECTCLIPRECT_set(rectl(0, 0, 30, 50)));
                f.add(U_EMRRECTANGLE_set(rectl(20, 10, 40, 30)));
            },
            {{25, 20, c_green}, {29, 20, c_green}, {30, 20, c_background}}},
        ShapeCase {"RestoredStateDropsTheClip",
            [](CMetafileBytes& f) {
                emfPenAndBrush(f, c_red, c_green);
                f.add(U_EMRSAVEDC_set());
                f.add(U_EMRINTERSECTCLIPRECT_set(rectl(0, 0, 5, 5)));
                f.add(U_EMRRESTOREDC_set(-1));
                f.add(U_EMRRECTANGLE_set(rectl(20, 10, 40, 30)));
            },
            {{30, 20, c_green}}}),
    [](const ::testing::TestParamInfo<ShapeCase>& info) { return std::string(info.param.name); });

class WmfShapes : public MetafileFile, public ::testing::WithParamInterface<ShapeCase>
{
};

void wmfPenAndBrush(CMetafileBytes& f, COLORREF pen, COLORREF brush)
{
    f.add(U_WMRCREATEPENINDIRECT_set(U_PEN_set(U_PS_SOLID, 0, colour(pen))));
    f.add(U_WMRCREATEBRUSHINDIRECT_set(U_WLOGBRUSH_set(U_BS_SOLID, colour(brush), 0)));
    f.add(U_WMRSELECTOBJECT_set(0));
    f.add(U_WMRSELECTOBJECT_set(1));
}

void wmfNestedSquares(CMetafileBytes& f, int mode)
{
    wmfPenAndBrush(f, c_blue, c_blue);
    f.add(U_WMRSETPOLYFILLMODE_set(std::uint16_t(mode)));
    const U_POINT16 points[8]
        = {{10, 10}, {60, 10}, {60, 40}, {10, 40}, {25, 20}, {45, 20}, {45, 30}, {25, 30}};
    const std::uint16_t counts[2] = {4, 4};
    f.add(U_WMRPOLYPOLYGON_set(2, counts, points));
}

TEST_P(WmfShapes, PixelsFollowTheDrawingRules)
{
    CMetafileBytes file = wmf(100, 50);
    GetParam().records(file);
    file.add(U_WMREOF_set());
    const Read r = read(file.bytes());
    ASSERT_TRUE(r.ok) << "error " << r.error;
    ASSERT_EQ(r.width, 100u);
    ASSERT_EQ(r.height, 50u);
    for (const Probe& p : GetParam().probes)
        EXPECT_EQ(r.at(p.x, p.y), p.color) << "at " << p.x << ", " << p.y;
}

INSTANTIATE_TEST_SUITE_P(Metafile, WmfShapes,
    ::testing::Values(ShapeCase {"LineHasItsStartNotItsEnd",
                          [](CMetafileBytes& f) {
                              f.add(U_WMRMOVETO_set(U_POINT16 {10, 10}));
                              f.add(U_WMRLINETO_set(U_POINT16 {10, 30}));
                          },
                          {{10, 10, c_black}, {10, 29, c_black}, {10, 30, c_background}}},
        ShapeCase {"RectangleFramedByPenFilledByBrush",
            [](CMetafileBytes& f) {
                wmfPenAndBrush(f, c_red, c_blue);
                f.add(U_WMRRECTANGLE_set(rect16(20, 10, 40, 30)));
            },
            {{20, 10, c_red}, {39, 29, c_red}, {30, 20, c_blue}, {40, 30, c_background}}},
        ShapeCase {"EllipseFilledAtItsCentre",
            [](CMetafileBytes& f) {
                wmfPenAndBrush(f, c_black, c_green);
                f.add(U_WMRELLIPSE_set(rect16(10, 10, 50, 40)));
            },
            {{30, 25, c_green}, {10, 10, c_background}}},
        ShapeCase {"AlternateFillLeavesAHole",
            [](CMetafileBytes& f) { wmfNestedSquares(f, U_ALTERNATE); },
            {{15, 15, c_blue}, {35, 25, c_background}}},
        ShapeCase {"WindingFillCoversTheInside",
            [](CMetafileBytes& f) { wmfNestedSquares(f, U_WINDING); },
            {{15, 15, c_blue}, {35, 25, c_blue}}},
        ShapeCase {"DeletedObjectFreesItsPlace",
            [](CMetafileBytes& f) {
                // The pen at 0 is deleted; the next brush takes place 0, the red one 2.
                wmfPenAndBrush(f, c_black, c_blue);
                f.add(U_WMRDELETEOBJECT_set(0));
                f.add(
                    U_WMRCREATEBRUSHINDIRECT_set(U_WLOGBRUSH_set(U_BS_SOLID, colour(c_green), 0)));
                f.add(U_WMRCREATEBRUSHINDIRECT_set(U_WLOGBRUSH_set(U_BS_SOLID, colour(c_red), 0)));
                f.add(U_WMRSELECTOBJECT_set(0));
                f.add(U_WMRRECTANGLE_set(rect16(20, 10, 40, 30)));
                f.add(U_WMRSELECTOBJECT_set(2));
                f.add(U_WMRRECTANGLE_set(rect16(60, 10, 80, 30)));
            },
            {{30, 20, c_green}, {70, 20, c_red}}},
        ShapeCase {"WindowMapsOntoThePicture",
            [](CMetafileBytes& f) {
                // A window of 1000 x 500 units over the 100 x 50 picture.
                f.add(U_WMRSETWINDOWORG_set(U_POINT16 {0, 0}));
                f.add(U_WMRSETWINDOWEXT_set(U_POINT16 {1000, 500}));
                wmfPenAndBrush(f, c_red, c_green);
                f.add(U_WMRRECTANGLE_set(rect16(200, 100, 400, 300)));
            },
            {{20, 10, c_red}, {30, 20, c_green}, {41, 31, c_background}}}),
    [](const ::testing::TestParamInfo<ShapeCase>& info) { return std::string(info.param.name); });

// --- the picture's size -----------------------------------------------------------------

struct SizeCase
{
    const char* name;
    std::function<CMetafileBytes()> file;
    UINT dpi;
    UINT width;
    UINT height;
};

std::ostream& operator<<(std::ostream& os, const SizeCase& c)
{
    return os << c.name;
}

CMetafileBytes plainWmf(int extentX, int extentY)
{
    CMetafileBytes f(true);
    f.raw16({1, 9, 0x0300, 0, 0, 4, 0, 0, 0});
    f.add(U_WMRSETWINDOWEXT_set(U_POINT16 {std::int16_t(extentX), std::int16_t(extentY)}));
    f.add(U_WMREOF_set());
    return f;
}

class MetafileSize : public MetafileFile, public ::testing::WithParamInterface<SizeCase>
{
};

TEST_P(MetafileSize, ComesFromTheHeader)
{
    CMetafileBytes file = GetParam().file();
    const Read r = read(file.bytes(), GetParam().dpi);
    ASSERT_TRUE(r.ok) << "error " << r.error;
    EXPECT_EQ(r.error, UINT(eIS_OK));
    EXPECT_EQ(r.width, GetParam().width);
    EXPECT_EQ(r.height, GetParam().height);
    ASSERT_EQ(r.pixels.size(), std::size_t(r.width) * r.height * 3);
    // Nothing drawn: the background everywhere.
    EXPECT_EQ(r.at(0, 0), c_background);
    EXPECT_EQ(r.at(int(r.width) - 1, int(r.height) - 1), c_background);
}

INSTANTIATE_TEST_SUITE_P(Metafile, MetafileSize,
    ::testing::Values(SizeCase {"EmfFrameAt100Dpi",
                          [] {
                              CMetafileBytes f = emf(120, 40);
                              emfEnd(f);
                              return f;
                          },
                          100, 120, 40},
        SizeCase {"EmfFrameAt200Dpi",
            [] {
                CMetafileBytes f = emf(120, 40);
                emfEnd(f);
                return f;
            },
            200, 240, 80},
        SizeCase {"PlaceableBoxInItsInches",
            [] {
                // 300 x 150 units at 300 to the inch: 1 x 0.5 inch.
                CMetafileBytes f = wmf(300, 150, 4, 300);
                f.add(U_WMREOF_set());
                return f;
            },
            100, 100, 50},
        SizeCase {"PlainWmfTakesItsWindowExtent", [] { return plainWmf(120, -80); }, 100, 120, 80},
        SizeCase {
            "PlainWmfLongerSideCapped", [] { return plainWmf(16000, 8000); }, 100, 4096, 2048}),
    [](const ::testing::TestParamInfo<SizeCase>& info) { return std::string(info.param.name); });

// --- text -------------------------------------------------------------------------------

struct TextCase
{
    const char* name;
    UINT align;
    // Where the text may lie around the reference point (60, 25): x from, x to, y from, y to.
    int left, right, top, bottom;
};

std::ostream& operator<<(std::ostream& os, const TextCase& c)
{
    return os << c.name;
}

class MetafileText : public MetafileFile, public ::testing::WithParamInterface<TextCase>
{
};

TEST_P(MetafileText, LiesOnItsSideOfTheReferencePoint)
{
    const TextCase& c = GetParam();
    CMetafileBytes file = emf(120, 50);
    std::uint16_t* face = U_Utf8ToUtf16le("Arial", 0, nullptr);
    const U_LOGFONT font = logfont_set(-16, 0, 0, 0, 700, 0, 0, 0, 0, 0, 0, 0, 0, face);
    std::free(face);
    file.add(U_EMREXTCREATEFONTINDIRECTW_set(1, reinterpret_cast<const char*>(&font), nullptr));
    file.add(U_EMRSELECTOBJECT_set(1));
    file.add(U_EMRSETTEXTCOLOR_set(colour(c_red)));
    file.add(U_EMRSETBKMODE_set(U_TRANSPARENT));
    file.add(U_EMRSETTEXTALIGN_set(c.align));
    std::size_t length = 0;
    std::uint16_t* text = U_Utf8ToUtf16le("HH", 0, &length);
    std::uint32_t advances[2] = {10, 10};
    char* emrtext = emrtext_set(U_POINTL {60, 25}, std::uint32_t(length), 2, text, U_ETO_NONE,
        rectl(0, 0, -1, -1), advances);
    file.add(U_EMREXTTEXTOUTW_set(
        rectl(0, 0, -1, -1), U_GM_COMPATIBLE, 1, 1, reinterpret_cast<PU_EMRTEXT>(emrtext)));
    std::free(emrtext);
    std::free(text);
    emfEnd(file);

    const Read r = read(file.bytes());
    ASSERT_TRUE(r.ok) << "error " << r.error;
    int inside = 0;
    int outside = 0;
    int other = 0;
    for (int y = 0; y < int(r.height); ++y) {
        for (int x = 0; x < int(r.width); ++x) {
            const COLORREF p = r.at(x, y);
            if (p == c_background)
                continue;
            const bool within
                = x >= 60 + c.left && x < 60 + c.right && y >= 25 + c.top && y < 25 + c.bottom;
            if (!within)
                ++outside;
            else if (p == c_red)
                ++inside;
            else
                ++other;
        }
    }
    EXPECT_GT(inside, 0) << other;
    EXPECT_EQ(outside, 0);
}

INSTANTIATE_TEST_SUITE_P(Metafile, MetafileText,
    ::testing::Values(TextCase {"LeftTop", U_TA_LEFT | U_TA_TOP, 0, 40, 0, 22},
        TextCase {"RightBottom", U_TA_RIGHT | U_TA_BOTTOM, -40, 0, -22, 0},
        TextCase {"CentreBaseline", U_TA_CENTER | U_TA_BASELINE, -20, 20, -18, 5}),
    [](const ::testing::TestParamInfo<TextCase>& info) { return std::string(info.param.name); });

TEST_F(MetafileFile, WmfTextOutAtItsPoint)
{
    CMetafileBytes file = wmf(100, 50);
    U_FONT* font
        = U_FONT_set(-16, 0, 0, 0, 700, 0, 0, 0, 0, 0, 0, 0, 0, const_cast<char*>("Arial"));
    file.add(U_WMRCREATEFONTINDIRECT_set(font));
    std::free(font);
    file.add(U_WMRSELECTOBJECT_set(0));
    file.add(U_WMRSETTEXTCOLOR_set(colour(c_red)));
    file.add(U_WMRSETBKMODE_set(U_TRANSPARENT));
    file.add(U_WMRTEXTOUT_set(U_POINT16 {30, 20}, const_cast<char*>("HH")));
    file.add(U_WMREOF_set());
    const Read r = read(file.bytes());
    ASSERT_TRUE(r.ok) << "error " << r.error;
    int inside = 0;
    int outside = 0;
    for (int y = 0; y < int(r.height); ++y) {
        for (int x = 0; x < int(r.width); ++x) {
            const COLORREF p = r.at(x, y);
            const bool within = x >= 30 && x < 70 && y >= 20 && y < 42;
            if (p != c_background && !within)
                ++outside;
            if (p == c_red && within)
                ++inside;
        }
    }
    EXPECT_GT(inside, 0);
    EXPECT_EQ(outside, 0);
}

// --- bad input --------------------------------------------------------------------------

struct BadCase
{
    const char* name;
    std::function<std::vector<char>()> bytes;
    UINT error;
};

std::ostream& operator<<(std::ostream& os, const BadCase& c)
{
    return os << c.name;
}

std::vector<char> goodEmf()
{
    CMetafileBytes f = emf(100, 50);
    emfPenAndBrush(f, c_red, c_blue);
    f.add(U_EMRRECTANGLE_set(rectl(20, 10, 40, 30)));
    emfEnd(f);
    return f.bytes();
}

class MetafileBadInput : public MetafileFile, public ::testing::WithParamInterface<BadCase>
{
};

TEST_P(MetafileBadInput, GivesNoPictureAndAnError)
{
    const Read r = read(GetParam().bytes());
    EXPECT_FALSE(r.ok);
    EXPECT_EQ(r.error, GetParam().error);
}

INSTANTIATE_TEST_SUITE_P(Metafile, MetafileBadInput,
    ::testing::Values(BadCase {"EmptyFile", [] { return std::vector<char>(); }, eIS_ERR_TRUNCATED},
        BadCase {"TruncatedInARecord",
            [] {
                std::vector<char> b = goodEmf();
                b.erase(b.end() - 30, b.end());
                return b;
            },
            eIS_ERR_TRUNCATED},
        BadCase {"EndsWithoutEndRecord",
            [] {
                std::vector<char> b = goodEmf();
                b.erase(b.end() - 20, b.end()); // the end-of-file record is 20 bytes
                return b;
            },
            eIS_ERR_TRUNCATED},
        BadCase {"RecordOfSizeZero",
            [] {
                CMetafileBytes f = emf(100, 50);
                f.raw({U_EMR_SAVEDC, 0});
                emfEnd(f);
                return f.bytes();
            },
            eIS_ERR_FORMAT},
        BadCase {"RecordRunsPastTheEnd",
            [] {
                CMetafileBytes f = emf(100, 50);
                f.raw({U_EMR_RECTANGLE, 0x1000, 1, 2, 3, 4});
                return f.bytes();
            },
            eIS_ERR_TRUNCATED},
        BadCase {"ObjectIndexOutOfTheTable",
            [] {
                CMetafileBytes f = emf(100, 50, 4);
                f.add(U_EMRSELECTOBJECT_set(4));
                emfEnd(f);
                return f.bytes();
            },
            eIS_ERR_FORMAT},
        BadCase {"PolygonCountBeyondItsRecord",
            [] {
                CMetafileBytes f = emf(100, 50);
                // Bounds, then 1000 points announced and 2 given.
                f.raw({U_EMR_POLYGON16, 36, 0, 0, 10, 10, 1000, 0x00010001, 0x00050005});
                emfEnd(f);
                return f.bytes();
            },
            eIS_ERR_FORMAT},
        BadCase {"TextStringOutsideItsRecord",
            [] {
                CMetafileBytes f = emf(100, 50);
                // Bounds, mode, scales; text at (1, 1), 4 characters at offset 0x7FFFFFF0,
                // no rectangle, advances at 76.
                f.raw({U_EMR_EXTTEXTOUTW, 92, 0, 0, 0, 0, 1, 0x3F800000, 0x3F800000, 1, 1, 4,
                    0x7FFFFFF0, U_ETO_NO_RECT, 76, 0, 0, 0, 0, 0, 0, 0, 0});
                emfEnd(f);
                return f.bytes();
            },
            eIS_ERR_FORMAT},
        BadCase {"HugeFrame",
            [] {
                CMetafileBytes f = emf(1000000, 1000000);
                emfEnd(f);
                return f.bytes();
            },
            eIS_ERR_TOO_BIG},
        BadCase {"WmfObjectIndexOutOfTheTable",
            [] {
                CMetafileBytes f = wmf(100, 50, 2);
                f.add(U_WMRSELECTOBJECT_set(2));
                f.add(U_WMREOF_set());
                return f.bytes();
            },
            eIS_ERR_FORMAT},
        BadCase {"WmfObjectTableFull",
            [] {
                CMetafileBytes f = wmf(100, 50, 1);
                wmfPenAndBrush(f, c_red, c_blue);
                f.add(U_WMREOF_set());
                return f.bytes();
            },
            eIS_ERR_FORMAT},
        BadCase {"WmfRecordOfSizeZero",
            [] {
                CMetafileBytes f = wmf(100, 50);
                f.raw16({0, 0, 0x001E});
                f.add(U_WMREOF_set());
                return f.bytes();
            },
            eIS_ERR_FORMAT},
        BadCase {"WmfPolygonCountBeyondItsRecord",
            [] {
                CMetafileBytes f = wmf(100, 50);
                f.raw16({6, 0, 0x0324, 500, 1, 1});
                f.add(U_WMREOF_set());
                return f.bytes();
            },
            eIS_ERR_FORMAT},
        BadCase {"PlainWmfWithoutExtent",
            [] {
                CMetafileBytes f(true);
                f.raw16({1, 9, 0x0300, 0, 0, 4, 0, 0, 0});
                f.add(U_WMREOF_set());
                return f.bytes();
            },
            eIS_ERR_FORMAT},
        BadCase {"NotAMetafile", [] { return std::vector<char>(64, 'x'); }, eIS_ERR_FORMAT}),
    [](const ::testing::TestParamInfo<BadCase>& info) { return std::string(info.param.name); });

TEST_F(MetafileFile, MissingFileCannotBeOpened)
{
    const Read r = readPath(m_folder.filePath("none.emf").toLocal8Bit().toStdString());
    EXPECT_FALSE(r.ok);
    EXPECT_EQ(r.error, UINT(eIS_ERR_OPEN));
}

} // namespace
