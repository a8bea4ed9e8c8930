// The picture control created by class id from its registered module: fitting with and without
// the aspect ratio and the size request, borders, loading by content and by extension from files
// and memory, reloading on size and property changes, picture records, persistence and the page.

#include "tests/picture/picturetestsupport.h"

#include "picture/picturefiletype.h"
#include "picture/picturegeometry.h"
#include "picture/pictureids.h"
#include "picture/picturerecord.h"
#include "picture/picturetypelib.h"
#include "platform/gdi/syscolor.h"
#include "platform/ole/dispatchimpl.h"
#include "platform/ole/proppage.h"
#include "platform/registry/registry.h"
#include "platform/ui/button.h"

#include <gtest/gtest.h>

#include <QtCore/QFile>
#include <QtCore/QStandardPaths>

#include <optional>

namespace {

constexpr COLORREF c_clrBack = 0x00FF00;
constexpr COLORREF c_clrYellow = 0x00FFFF;
constexpr COLORREF c_clrRed = 0x0000FF;
constexpr COLORREF c_clrBlue = 0xFF0000;
// Marks the window background colour in a table, which is the desktop's.
constexpr COLORREF c_clrWindowMark = 0xFFFFFFFE;

COLORREF expected(COLORREF colour)
{
    return colour == c_clrWindowMark ? GetSysColor(COLOR_WINDOW) : colour;
}

COleVariant flag(bool on)
{
    return COleVariant(static_cast<long>(on ? 1 : 0));
}

std::string fileBag(const std::string& path)
{
    return "File=" + path + "\n";
}

} // namespace

// --- geometry and file types as plain functions -------------------------------------------------

TEST(PictureGeometry, FitsTheClientWithOrWithoutTheAspectRatio)
{
    const struct
    {
        UINT width, height;
        int clientWidth, clientHeight;
        bool keep;
        CSize fitted;
    } rows[] = {
        {400, 300, 200, 200, true, {200, 150}}, // r = 0.75: the full width
        {300, 600, 100, 300, true, {150, 300}}, // r = 2: the full height, wider than the client
        {400, 100, 200, 20, true, {80, 20}}, // too tall at the full width: the full height
        {300, 200, 100, 100, true, {100, 66}}, // truncated, not rounded (66.67)
        {100, 300, 100, 100, true, {33, 100}}, // 33.33
        {400, 300, 160, 200, false, {160, 200}}, // distorted to the client
        {0, 0, 100, 100, true, {0, 0}},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(testing::Message() << row.width << " x " << row.height);
        const CSize fitted
            = zorPictureFitSize(row.width, row.height, row.clientWidth, row.clientHeight, row.keep);
        EXPECT_EQ(fitted.cx, row.fitted.cx);
        EXPECT_EQ(fitted.cy, row.fitted.cy);
    }
}

TEST(PictureFileTypes, ContentKindsAndExtensionsMapThroughTheTable)
{
    const std::pair<UINT, int> guesses[] = {{eIS_BMP, 6}, {eIS_JPG, 1}, {eIS_PNG, 3}, {eIS_PCX, 9},
        {eIS_TIFF, 12}, {eIS_WMF, 19}, {eIS_EMF, 20}, {eIS_UNKNOWN, 0}, {2, 0}, {99, 0}};
    for (const auto& [kind, type] : guesses)
        EXPECT_EQ(zorPictureTypeOfGuess(kind), type) << "kind " << kind;
    const std::pair<const char*, int> names[] = {{"a.jpeg", 1}, {"a.JPG", 1}, {"a.Tiff", 12},
        {"a.tif  ", 12}, {"a.tga", 16}, {"a.emf", 20}, {"a.gif", 0}, {"a.jpg.gif", 0},
        {"noextension", 0}, {"dir.bmp/file", 0}, {"a. png", 0}};
    for (const auto& [path, type] : names)
        EXPECT_EQ(zorPictureTypeOfExtension(path), type) << path;
    EXPECT_EQ(zorPictureReaderOf(ePICTURE_WMF), nullptr) << "metafiles are read by path";
    EXPECT_EQ(zorPictureReaderOf(ePICTURE_TGA), &_ISReadTGAToRGB);
}

// --- fitting, borders and where the picture shows -----------------------------------------------

namespace {

struct Probe
{
    int x, y;
    COLORREF colour;
};

struct LayoutRow
{
    const char* name;
    QSize picture;
    QSize control;
    const char* bag;
    std::vector<std::pair<DISPID, long>> puts;
    CSize size; // the control's size afterwards
    CRect area; // where the picture shows
    std::vector<Probe> probes;
};

std::ostream& operator<<(std::ostream& os, const LayoutRow& row)
{
    return os << row.name;
}

class PictureLayout : public testing::TestWithParam<LayoutRow>
{
};

} // namespace

TEST_P(PictureLayout, FitsDrawsAndBordersAsItsPropertiesSay)
{
    const LayoutRow& row = GetParam();
    CPictureFolder folder;
    const std::string path
        = folder.write("halves.png", halvesPicture(row.picture.width(), row.picture.height()));
    CHostedPicture picture(fileBag(path) + "BackColor=0x0000FF00\n" + row.bag, row.control.width(),
        row.control.height());
    ASSERT_NE(picture.control(), nullptr);
    for (const auto& [dispid, value] : row.puts)
        ASSERT_EQ(picture.put(dispid, COleVariant(value)), S_OK);
    const QImage image = picture.grab();
    EXPECT_EQ(picture.size().cx, row.size.cx);
    EXPECT_EQ(picture.size().cy, row.size.cy);
    const CRect area = pictureArea(image);
    EXPECT_EQ(area, row.area) << "shown at (" << area.left << ", " << area.top << ", " << area.right
                              << ", " << area.bottom << ")";
    for (const Probe& probe : row.probes)
        EXPECT_EQ(pixel(image, probe.x, probe.y), expected(probe.colour))
            << "at (" << probe.x << ", " << probe.y << ")";
}

INSTANTIATE_TEST_SUITE_P(Picture, PictureLayout,
    testing::Values(
        // r = 0.75: 200 x 150 asked for, 194 x 144 inside the box border.
        LayoutRow {"LandscapeAsksForItsFittedSizeInsideTheBox", {400, 300}, {200, 200}, "", {},
            {200, 150}, {3, 3, 197, 147}, {{50, 75, c_clrRed}, {150, 75, c_clrBlue}}},
        // r = 2: 150 x 300 in a control 100 wide, drawn from x = 0 and cut at the right edge
        // (its halves meet at 75).
        LayoutRow {"TallPictureWithoutResizeStartsAtTheLeftAndIsCut", {300, 600}, {100, 300},
            "ResizeWindow=0\nBoxBorder=0\n", {}, {100, 300}, {0, 0, 100, 300},
            {{70, 150, c_clrRed}, {80, 150, c_clrBlue}}},
        LayoutRow {"StretchWithoutAspectFillsTheControlLessTheBorder", {400, 300}, {160, 200},
            "KeepAspectRatio=0\n", {}, {160, 200}, {3, 3, 157, 197}, {}},
        // Drawn at (0, 0) at its own size: the box's inside shows only the left, red half.
        LayoutRow {"NoStretchLargePictureFromTheTopLeftClippedToTheBox", {400, 300}, {200, 100},
            "Stretch=0\n", {}, {200, 100}, {3, 3, 197, 97}, {{190, 50, c_clrRed}}},
        LayoutRow {"NoStretchSmallPictureCentredOnBackColor", {40, 30}, {200, 100},
            "Stretch=0\nBoxBorder=0\n", {}, {200, 100}, {80, 35, 120, 65},
            {{0, 0, c_clrBack}, {20, 20, c_clrBack}}},
        LayoutRow {"BoxBorderShowsTheWindowColourNotBackColor", {40, 30}, {200, 100}, "Stretch=0\n",
            {}, {200, 100}, {80, 35, 120, 65}, {{20, 20, c_clrWindowMark}}},
        LayoutRow {"FlatBorderInBorderColorAroundBackColor", {40, 30}, {200, 100},
            "Stretch=0\nBoxBorder=0\nBorder=1\nBorderColor=0x0000FFFF\n", {}, {200, 100},
            {80, 35, 120, 65}, {{0, 0, c_clrYellow}, {2, 50, c_clrYellow}, {3, 50, c_clrBack}}},
        // Both set through automation: the flat border is drawn, not the box, and the picture
        // is still reduced by 6.
        LayoutRow {"BothBordersDrawTheFlatOneAndReduceTheFit", {400, 300}, {200, 200},
            "BorderColor=0x0000FFFF\n", {{eJPEG_BORDER, 1}}, {200, 150}, {3, 3, 197, 147},
            {{1, 1, c_clrYellow}, {199, 149, c_clrYellow}}}),
    [](const testing::TestParamInfo<LayoutRow>& info) { return info.param.name; });

// --- loading by content, by extension, from files and from memory -------------------------------

namespace {

enum eSOURCE { eSOURCE_FILE, eSOURCE_MEMORY };

struct SourceRow
{
    const char* name;
    const char* file;
    const char* format; // ImageMagick's name of the file's format; null: a copy of a PNG
    eSOURCE source;
    long extraLength; // setImageData's a_nLen less the number of bytes given
    std::optional<long> fixedLength; // a_nLen instead
    bool loads;
};

std::ostream& operator<<(std::ostream& os, const SourceRow& row)
{
    return os << row.name;
}

class PictureSources : public testing::TestWithParam<SourceRow>
{
};

} // namespace

TEST_P(PictureSources, LoadByContentThenByExtensionAndNotPastTheData)
{
    const SourceRow& row = GetParam();
    CPictureFolder folder;
    const std::string png = folder.write("source.png", halvesPicture(120, 90));
    std::string path = folder.file(row.file);
    if (row.format) {
        path = folder.convert(png, row.file, row.format);
    } else if (std::string(row.file) != "missing.png") {
        ASSERT_TRUE(QFile::copy(QString::fromStdString(png), QString::fromStdString(path)));
    }
    // A picture first, from a record, so that a failed load must take it away.
    CHostedPicture picture("ResizeWindow=0\nStretch=0\nBoxBorder=0\n", 200, 200);
    const QImage blue
        = solidPicture(10, 10, qRgb(0, 0, 255)).convertToFormat(QImage::Format_RGB888);
    ASSERT_EQ(
        picture.call(eJPEG_SETIMAGE, {COleVariant(zorPictureRecord(10, 10, blue.constBits()))}),
        S_OK);
    ASSERT_EQ(pictureArea(picture.grab()), CRect(95, 95, 105, 105));

    if (row.source == eSOURCE_FILE) {
        COleVariant result;
        ASSERT_EQ(picture.call(eJPEG_SELECTFILE, {COleVariant(path)}, &result), S_OK);
        ASSERT_EQ(result.vt, VT_BOOL);
        EXPECT_EQ(result.boolVal != 0, row.loads);
    } else {
        const std::string bytes = CPictureFolder::bytesOf(path);
        const long length
            = row.fixedLength.value_or(static_cast<long>(bytes.size()) + row.extraLength);
        ASSERT_EQ(
            picture.call(eJPEG_SETIMAGEDATA, {COleVariant(length), COleVariant(bytes)}), S_OK);
        EXPECT_EQ(picture.get(eJPEG_FILE).bstrVal, "") << "File stays as it was";
    }
    // Unstretched, a loaded picture shows at its own 120 x 90 in the middle.
    EXPECT_EQ(pictureArea(picture.grab()), row.loads ? CRect(40, 55, 160, 145) : CRect());
}

INSTANTIATE_TEST_SUITE_P(Picture, PictureSources,
    testing::Values(SourceRow {"PngFile", "a.png", nullptr, eSOURCE_FILE, 0, {}, true},
        SourceRow {"BmpNamedJpgLoadsByItsContent", "a.jpg", "BMP3", eSOURCE_FILE, 0, {}, true},
        SourceRow {"TgaFileLoadsByItsExtension", "a.tga", "TGA", eSOURCE_FILE, 0, {}, true},
        SourceRow {"GifFileIsRefused", "a.gif", "GIF", eSOURCE_FILE, 0, {}, false},
        SourceRow {"MissingFileIsRefused", "missing.png", nullptr, eSOURCE_FILE, 0, {}, false},
        SourceRow {"PngBytes", "a.png", nullptr, eSOURCE_MEMORY, 0, {}, true},
        SourceRow {"LengthBeyondTheBytesReadsOnlyThem", "a.png", nullptr, eSOURCE_MEMORY, 100000,
            {}, true},
        SourceRow {
            "LengthShortOfTheBytesCutsThePicture", "a.png", nullptr, eSOURCE_MEMORY, 0, 40, false},
        SourceRow {"NegativeLengthReadsNothing", "a.png", nullptr, eSOURCE_MEMORY, 0, -1, false},
        SourceRow {"TgaBytesDoNotLoadFromMemory", "a.tga", "TGA", eSOURCE_MEMORY, 0, {}, false}),
    [](const testing::TestParamInfo<SourceRow>& info) { return info.param.name; });

// --- reloading on size and property changes -----------------------------------------------------

namespace {

enum eSTEP {
    eSTEP_SELECT_RED,
    eSTEP_MEMORY_BLUE,
    eSTEP_GROW,
    eSTEP_FILE_EMPTY,
    eSTEP_FILE_MISSING
};

struct ReloadRow
{
    const char* name;
    std::vector<eSTEP> steps;
    COLORREF colour; // at the area's centre; CLR_INVALID: no picture
    CRect area;
};

std::ostream& operator<<(std::ostream& os, const ReloadRow& row)
{
    return os << row.name;
}

class PictureReload : public testing::TestWithParam<ReloadRow>
{
};

} // namespace

TEST_P(PictureReload, SizeAndFileChangesLoadFileAfresh)
{
    const ReloadRow& row = GetParam();
    CPictureFolder folder;
    const std::string red = folder.write("red.png", solidPicture(400, 300, qRgb(255, 0, 0)));
    const std::string blue = CPictureFolder::bytesOf(
        folder.write("blue.png", solidPicture(400, 300, qRgb(0, 0, 255))));
    // Stretched without the aspect ratio into 200 x 100, the picture fills (3, 3, 197, 97).
    CHostedPicture picture("ResizeWindow=0\nKeepAspectRatio=0\n", 200, 100);
    for (const eSTEP step : row.steps) {
        switch (step) {
        case eSTEP_SELECT_RED:
            ASSERT_EQ(picture.call(eJPEG_SELECTFILE, {COleVariant(red)}), S_OK);
            break;
        case eSTEP_MEMORY_BLUE:
            ASSERT_EQ(picture.call(eJPEG_SETIMAGEDATA,
                          {COleVariant(static_cast<long>(blue.size())), COleVariant(blue)}),
                S_OK);
            break;
        case eSTEP_GROW:
            picture.control()->MoveWindow(0, 0, 300, 200);
            break;
        case eSTEP_FILE_EMPTY:
            ASSERT_EQ(picture.put(eJPEG_FILE, COleVariant("")), S_OK);
            break;
        case eSTEP_FILE_MISSING:
            ASSERT_EQ(picture.put(eJPEG_FILE, COleVariant(folder.file("missing.png"))), S_OK);
            break;
        }
    }
    const QImage image = picture.grab();
    const CRect area = pictureArea(image);
    EXPECT_EQ(area, row.area) << "shown at (" << area.left << ", " << area.top << ", " << area.right
                              << ", " << area.bottom << ")";
    if (row.colour != CLR_INVALID) {
        EXPECT_EQ(pixel(image, area.CenterPoint().x, area.CenterPoint().y), row.colour);
    }
}

INSTANTIATE_TEST_SUITE_P(Picture, PictureReload,
    testing::Values(ReloadRow {"MemoryPictureReplacesTheFiles",
                        {eSTEP_SELECT_RED, eSTEP_MEMORY_BLUE}, c_clrBlue, {3, 3, 197, 97}},
        ReloadRow {"SizeChangeBringsBackTheFilesPicture",
            {eSTEP_SELECT_RED, eSTEP_MEMORY_BLUE, eSTEP_GROW}, c_clrRed, {3, 3, 297, 197}},
        // Without File nothing is reloaded: the picture keeps its 194 x 94, centred.
        ReloadRow {"SizeChangeKeepsTheMemoryPictureWithoutFile", {eSTEP_MEMORY_BLUE, eSTEP_GROW},
            c_clrBlue, {53, 53, 247, 147}},
        ReloadRow {"EmptyFileKeepsThePicture", {eSTEP_SELECT_RED, eSTEP_FILE_EMPTY}, c_clrRed,
            {3, 3, 197, 97}},
        ReloadRow {"EmptyFileKeepsThePictureThroughASizeChange",
            {eSTEP_SELECT_RED, eSTEP_FILE_EMPTY, eSTEP_GROW}, c_clrRed, {53, 53, 247, 147}},
        ReloadRow {"MissingFileClearsThePicture", {eSTEP_SELECT_RED, eSTEP_FILE_MISSING},
            CLR_INVALID, {}}),
    [](const testing::TestParamInfo<ReloadRow>& info) { return info.param.name; });

// --- picture records
// ------------------------------------------------------------------------------

TEST(PictureRecord, OnlyAWholeRecordIsCopiedAtItsOwnSize)
{
    CPictureFolder folder;
    const std::string red = folder.write("red.png", solidPicture(400, 300, qRgb(255, 0, 0)));
    CHostedPicture picture(fileBag(red) + "ResizeWindow=0\nKeepAspectRatio=0\n", 200, 100);
    const CRect fitted(3, 3, 197, 97);
    ASSERT_EQ(pictureArea(picture.grab()), fitted);

    const QImage blue
        = solidPicture(40, 30, qRgb(0, 0, 255)).convertToFormat(QImage::Format_RGB888);
    const std::string record = zorPictureRecord(40, 30, blue.constBits());
    std::string huge = zorPictureRecord(0x10000, 0x10000, nullptr);
    huge += "abc";
    const struct
    {
        const char* name;
        COleVariant argument;
        HRESULT result;
        CRect area;
    } rows[] = {
        {"one byte short", COleVariant(record.substr(0, record.size() - 1)), E_INVALIDARG, fitted},
        {"one byte over", COleVariant(record + "x"), E_INVALIDARG, fitted},
        {"size past every picture", COleVariant(huge), E_INVALIDARG, fitted},
        {"no pixels", COleVariant(zorPictureRecord(0, 0, nullptr)), E_INVALIDARG, fitted},
        {"an address", COleVariant(0x12345678L), E_INVALIDARG, fitted},
        // Copied unchanged in size (no fit), centred.
        {"whole", COleVariant(record), S_OK, {80, 35, 120, 65}},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(picture.call(eJPEG_SETIMAGE, {row.argument}), row.result);
        EXPECT_EQ(pictureArea(picture.grab()), row.area);
    }
}

// --- persistence --------------------------------------------------------------------------------

TEST(PicturePersistence, SavesInOrderAndTheBoxBorderWinsOverTheFlatOne)
{
    {
        CHostedPicture picture("", 100, 100);
        std::string bag;
        ASSERT_EQ(picture.control()->saveToBag(&bag), S_OK);
        std::size_t at = 0;
        for (const char* line :
            {"Border=0", "BoxBorder=1", "BorderColor=0x00000000", "File=\n", "Stretch=1",
                "KeepAspectRatio=1", "ResizeWindow=1", "BackColor=0x05000000", "_ExtentX="}) {
            at = bag.find(line, at);
            ASSERT_NE(at, std::string::npos) << line << " in order in\n" << bag;
        }
    }
    const struct
    {
        const char* bag;
        bool putBorder; // Border set through automation after loading
        long border; // read back after loading (and the put)
        const char* saved;
        long borderAfterSaving;
    } rows[] = {
        {"Border=1\nBoxBorder=1\n", false, 0, "Border=0\n", 0},
        {"Border=1\nBoxBorder=0\n", false, 1, "Border=1\n", 1},
        {"", true, 1, "Border=1\n", 0},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.bag);
        CHostedPicture picture(row.bag, 100, 100);
        if (row.putBorder) {
            ASSERT_EQ(picture.put(eJPEG_BORDER, flag(true)), S_OK);
        }
        COleVariant border = picture.get(eJPEG_BORDER);
        ASSERT_TRUE(border.ChangeType(VT_I4));
        EXPECT_EQ(border.lVal, row.border);
        std::string bag;
        ASSERT_EQ(picture.control()->saveToBag(&bag), S_OK);
        EXPECT_NE(bag.find(row.saved), std::string::npos) << bag;
        border = picture.get(eJPEG_BORDER);
        ASSERT_TRUE(border.ChangeType(VT_I4));
        EXPECT_EQ(border.lVal, row.borderAfterSaving);
    }
}

// --- registration and the page ------------------------------------------------------------------

TEST(PictureRegistration, NotInsertableWithItsPageUnderItsOwnClassId)
{
    registerPicture();
    const struct
    {
        const char* key;
        bool exists;
    } rows[] = {
        {"CLSID\\{01540154-0123-0000-0029-000000000004}\\Control", true},
        {"CLSID\\{01540154-0123-0000-0029-000000000004}\\Insertable", false},
        {"zorJPEGControl.29\\Insertable", false},
        {"CLSID\\{F8A4B6BC-9129-11D3-85C2-00609717A9E3}\\InprocServer32", true},
        {"CLSID\\{01540154-0123-0000-0029-000000000005}", false},
    };
    for (const auto& row : rows) {
        HKEY key = nullptr;
        const bool exists
            = RegOpenKeyExA(HKEY_CLASSES_ROOT, row.key, 0, KEY_READ, &key) == ERROR_SUCCESS;
        if (key)
            RegCloseKey(key);
        EXPECT_EQ(exists, row.exists) << row.key;
    }
}

namespace {

struct PageRow
{
    const char* name;
    const char* bag;
    std::vector<int> clicks;
    bool keepEnabled;
    bool boxChecked;
    bool borderChecked;
    bool colourEnabled;
};

std::ostream& operator<<(std::ostream& os, const PageRow& row)
{
    return os << row.name;
}

class PicturePage : public testing::TestWithParam<PageRow>
{
};

} // namespace

TEST_P(PicturePage, EnablesAndUnchecksAsTheBordersAndStretchSay)
{
    const PageRow& row = GetParam();
    CHostedPicture picture(row.bag, 100, 100);
    CPropertyFrame frame("Picture", {picture.dispatch()}, picture.control()->GetPropPageIDs());
    ASSERT_TRUE(frame.createFrame(nullptr));
    ASSERT_EQ(frame.pageCount(), 1);
    EXPECT_EQ(frame.pageCaption(0), "General");
    COlePropertyPage* page = frame.page(0);
    for (const int id : row.clicks)
        static_cast<CButton*>(page->GetDlgItem(id))->click();
    EXPECT_EQ(page->GetDlgItem(IDC_KEEPASPECT)->IsWindowEnabled() != 0, row.keepEnabled);
    EXPECT_EQ(page->IsDlgButtonChecked(IDC_BOXBORDER) != 0, row.boxChecked);
    EXPECT_EQ(page->IsDlgButtonChecked(IDC_BORDER) != 0, row.borderChecked);
    for (const int id : {IDC_BORDERCOLOR, IDC_BORDERCOLOR_LABEL})
        EXPECT_EQ(page->GetDlgItem(id)->IsWindowEnabled() != 0, row.colourEnabled) << id;
    // What the page shows is what Apply writes.
    if (!row.clicks.empty()) {
        ASSERT_TRUE(frame.apply());
        COleVariant border = picture.get(eJPEG_BORDER);
        ASSERT_TRUE(border.ChangeType(VT_I4));
        EXPECT_EQ(border.lVal != 0, row.borderChecked);
    }
    frame.DestroyWindow();
}

INSTANTIATE_TEST_SUITE_P(Picture, PicturePage,
    testing::Values(PageRow {"OpenWithTheBoxBorder", "", {}, true, true, false, false},
        PageRow {"OpenWithTheFlatBorder", "BoxBorder=0\nBorder=1\n", {}, true, false, true, true},
        PageRow {"OpenWithoutStretch", "Stretch=0\n", {}, false, true, false, false},
        PageRow {"ClickStretchOff", "", {IDC_STRETCH}, false, true, false, false},
        PageRow {"ClickBorderUnchecksTheBox", "", {IDC_BORDER}, true, false, true, true},
        PageRow {"ClickBoxUnchecksTheBorder", "BoxBorder=0\nBorder=1\n", {IDC_BOXBORDER}, true,
            true, false, false}),
    [](const testing::TestParamInfo<PageRow>& info) { return info.param.name; });

TEST(PicturePage, PickerOpensInThePicturesFolderWithTheControlsFile)
{
    CHostedPicture picture("File=/tmp/some picture.jpg\n", 100, 100);
    CPropertyFrame frame("Picture", {picture.dispatch()}, picture.control()->GetPropPageIDs());
    ASSERT_TRUE(frame.createFrame(nullptr));
    COleControlSite* picker = zorSiteOf(frame.page(0)->GetDlgItem(IDC_FILE));
    ASSERT_NE(picker, nullptr) << "the hosted file picker";
    const std::string pictures
        = QStandardPaths::writableLocation(QStandardPaths::PicturesLocation).toStdString() + "/";
    const std::pair<DISPID, std::string> rows[] = {{1, "/tmp/some picture.jpg"}, {2, pictures},
        {3, "*.jpg; *.gif; *.bmp"}, {4, "Image Files (*.jpg; *.gif; *.bmp)"}, {5, "Locate File"}};
    for (const auto& [dispid, text] : rows) {
        COleVariant value;
        ASSERT_EQ(zorGetProperty(picker->dispatch(), dispid, &value), S_OK);
        EXPECT_EQ(value.bstrVal, text) << "dispid " << dispid;
    }
    frame.DestroyWindow();
}
