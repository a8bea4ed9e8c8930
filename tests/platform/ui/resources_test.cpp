// Icons, cursors and data from the tables zor_resource_table built into this program from the
// files beside the tests (see extras.cmake for what each file holds).

#include "platform/ui/resources.h"

#include "extrastestapp.h"
#include "platform/gdi/dc.h"
#include "platform/gdi/gdiobjects.h"

#include <QtGui/QCursor>
#include <QtGui/QMouseEvent>
#include <QtGui/QPixmap>
#include <QtWidgets/QWidget>

#include <cstdlib>
#include <gtest/gtest.h>
#include <memory>
#include <string>

namespace {

constexpr UINT c_icon = 129;
constexpr UINT c_pngIcon = 130;
constexpr UINT c_depthIcon = 131;
constexpr UINT c_cursor = 4017;
constexpr UINT c_pngCursor = 4018;

// A module handle that is not the program's: the platform library's own.
HMODULE otherModule()
{
    return zorModuleOfAddress(reinterpret_cast<const void*>(&zorFindData));
}

::testing::AssertionResult colorNear(QRgb actual, QRgb expected, int tolerance = 1)
{
    const bool near = std::abs(qRed(actual) - qRed(expected)) <= tolerance
        && std::abs(qGreen(actual) - qGreen(expected)) <= tolerance
        && std::abs(qBlue(actual) - qBlue(expected)) <= tolerance
        && std::abs(qAlpha(actual) - qAlpha(expected)) <= tolerance;
    if (near)
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << QStringLiteral("#%1 instead of #%2")
                                                .arg(actual, 8, 16, QLatin1Char('0'))
                                                .arg(expected, 8, 16, QLatin1Char('0'))
                                                .toStdString();
}

QRgb pixelOf(const CDC& dc, int x, int y)
{
    const COLORREF c = dc.GetPixel(x, y);
    return qRgb(GetRValue(c), GetGValue(c), GetBValue(c));
}

class Resources : public ::testing::Test
{
protected:
    void SetUp() override { extrasApplication(); }
};

} // namespace

// --- icons -----------------------------------------------------------------------------------

TEST_F(Resources, IconIsFoundByEveryFormOfItsIdentifier)
{
    const HICON icon = LoadIconA(nullptr, c_icon);
    ASSERT_NE(icon, nullptr);
    EXPECT_EQ(LoadIconA(nullptr, MAKEINTRESOURCE(c_icon)), icon);
    EXPECT_EQ(LoadIconA(GetModuleHandleA(nullptr), c_icon), icon) << "null names the program";
    EXPECT_EQ(LoadIconA(nullptr, "#129"), icon);
    EXPECT_NE(LoadIconA(nullptr, c_pngIcon), icon);
}

TEST_F(Resources, MissingIconsAreNull)
{
    EXPECT_EQ(LoadIconA(nullptr, 9999u), nullptr);
    EXPECT_EQ(LoadIconA(nullptr, "APPICON"), nullptr) << "tables are numbered";
    EXPECT_EQ(LoadIconA(nullptr, "#12x"), nullptr);
    EXPECT_EQ(LoadIconA(otherModule(), c_icon), nullptr) << "another module's table";
    EXPECT_EQ(LoadCursorA(nullptr, 9999u), nullptr);
    EXPECT_EQ(LoadCursorA(otherModule(), c_cursor), nullptr);
    EXPECT_TRUE(zorIconImage(nullptr).isNull());
    EXPECT_TRUE(zorQIcon(nullptr).isNull());
}

TEST_F(Resources, IcoKeepsEverySize)
{
    const HICON icon = LoadIconA(nullptr, c_icon);
    ASSERT_NE(icon, nullptr);
    const QList<QSize> sizes = zorQIcon(icon).availableSizes();
    EXPECT_TRUE(sizes.contains(QSize(16, 16)));
    EXPECT_TRUE(sizes.contains(QSize(32, 32)));
    EXPECT_TRUE(sizes.contains(QSize(48, 48)));

    // 16 x 16, 32 bits with alpha.
    const QImage small = zorIconImage(icon, 16);
    ASSERT_EQ(small.size(), QSize(16, 16));
    EXPECT_TRUE(colorNear(small.pixel(2, 2), qRgba(255, 0, 0, 255)));
    EXPECT_TRUE(colorNear(small.pixel(12, 2), qRgba(0, 0, 255, 128)));

    // 32 x 32, 4 bits with a mask; the rows are stored bottom-up.
    const QImage standard = zorIconImage(icon);
    ASSERT_EQ(standard.size(), QSize(32, 32));
    EXPECT_EQ(qAlpha(standard.pixel(0, 0)), 0) << "masked out";
    EXPECT_EQ(qAlpha(standard.pixel(7, 7)), 0);
    EXPECT_TRUE(colorNear(standard.pixel(10, 0), qRgb(255, 255, 0)));
    EXPECT_TRUE(colorNear(standard.pixel(10, 10), qRgb(0, 255, 0)));
    EXPECT_TRUE(colorNear(standard.pixel(3, 31), qRgb(0, 255, 0)));

    // 48 x 48, a PNG image inside the icon file.
    const QImage large = zorIconImage(icon, 48);
    ASSERT_EQ(large.size(), QSize(48, 48));
    EXPECT_TRUE(colorNear(large.pixel(24, 24), qRgb(255, 0, 255)));
}

TEST_F(Resources, OtherSizesComeFromTheNearestLargerImage)
{
    const HICON icon = LoadIconA(nullptr, c_icon);
    const QImage between = zorIconImage(icon, 40);
    ASSERT_EQ(between.size(), QSize(40, 40));
    EXPECT_TRUE(colorNear(between.pixel(20, 20), qRgb(255, 0, 255), 2)) << "from the 48";
    const QImage larger = zorIconImage(icon, 64);
    ASSERT_EQ(larger.size(), QSize(64, 64));
    EXPECT_TRUE(colorNear(larger.pixel(32, 32), qRgb(255, 0, 255), 2)) << "the largest there is";
    const QImage smaller = zorIconImage(icon, 24);
    ASSERT_EQ(smaller.size(), QSize(24, 24));
    EXPECT_TRUE(colorNear(smaller.pixel(20, 20), qRgb(0, 255, 0), 2)) << "from the 32";
}

TEST_F(Resources, DeepestImageOfTheSizeWins)
{
    const QImage image = zorIconImage(LoadIconA(nullptr, c_depthIcon), 32);
    ASSERT_EQ(image.size(), QSize(32, 32));
    EXPECT_TRUE(colorNear(image.pixel(5, 5), qRgb(255, 255, 255)))
        << "the 32-bit image, not the 4-bit";
}

TEST_F(Resources, PngIcon)
{
    const HICON icon = LoadIconA(nullptr, c_pngIcon);
    ASSERT_NE(icon, nullptr);
    EXPECT_TRUE(colorNear(zorIconImage(icon, 24).pixel(0, 0), qRgb(0, 255, 255)));
    EXPECT_EQ(zorIconImage(icon).size(), QSize(32, 32)) << "scaled to the size asked for";
}

TEST_F(Resources, ApplicationIconIsAPlainWindow)
{
    const HICON icon = LoadIconA(nullptr, IDI_APPLICATION);
    ASSERT_NE(icon, nullptr);
    EXPECT_EQ(LoadIconA(nullptr, IDI_APPLICATION), icon);
    const QImage image = zorIconImage(icon);
    ASSERT_EQ(image.size(), QSize(32, 32));
    EXPECT_EQ(qAlpha(image.pixel(0, 0)), 0) << "transparent around the window";
    EXPECT_TRUE(colorNear(image.pixel(16, 20), qRgb(255, 255, 255))) << "client area";
    EXPECT_TRUE(colorNear(image.pixel(16, 7), qRgb(10, 36, 106))) << "caption";
    EXPECT_FALSE(zorQIcon(icon).availableSizes().isEmpty());
}

// --- cursors ---------------------------------------------------------------------------------

TEST_F(Resources, StandardCursorsAreTheDesktopsShapes)
{
    const struct
    {
        const char* id;
        Qt::CursorShape shape;
    } cases[]
        = {{IDC_ARROW, Qt::ArrowCursor}, {IDC_IBEAM, Qt::IBeamCursor}, {IDC_WAIT, Qt::WaitCursor},
            {IDC_CROSS, Qt::CrossCursor}, {IDC_SIZENWSE, Qt::SizeFDiagCursor},
            {IDC_SIZEALL, Qt::SizeAllCursor}, {IDC_HAND, Qt::PointingHandCursor}};
    for (const auto& c : cases) {
        const HCURSOR cursor = LoadCursorA(nullptr, c.id);
        ASSERT_NE(cursor, nullptr) << reinterpret_cast<std::uintptr_t>(c.id);
        EXPECT_EQ(zorQCursor(cursor).shape(), c.shape);
        EXPECT_EQ(LoadCursorA(nullptr, c.id), cursor) << "one handle per cursor";
    }
    EXPECT_NE(LoadCursorA(nullptr, IDC_HAND), LoadCursorA(nullptr, IDC_ARROW));
    EXPECT_EQ(zorQCursor(nullptr).shape(), Qt::ArrowCursor) << "null: the standard arrow";
}

TEST_F(Resources, CurHotSpotComesFromItsHeader)
{
    const HCURSOR cursor = LoadCursorA(nullptr, c_cursor);
    ASSERT_NE(cursor, nullptr);
    EXPECT_EQ(LoadCursorA(nullptr, MAKEINTRESOURCE(c_cursor)), cursor);
    const QCursor qcursor = zorQCursor(cursor);
    EXPECT_EQ(qcursor.shape(), Qt::BitmapCursor);
    EXPECT_EQ(qcursor.pixmap().size(), QSize(32, 32)) << "the standard cursor size";
    EXPECT_EQ(qcursor.hotSpot(), QPoint(5, 9)) << "the 32 x 32 image's own hot spot";
    const QImage image = qcursor.pixmap().toImage();
    EXPECT_EQ(qAlpha(image.pixel(20, 2)), 0) << "above the diagonal";
    EXPECT_TRUE(colorNear(image.pixel(2, 20), qRgb(0, 0, 0))) << "below it";
}

TEST_F(Resources, PngCursorHotSpotIsItsCentre)
{
    const HCURSOR cursor = LoadCursorA(nullptr, c_pngCursor);
    ASSERT_NE(cursor, nullptr);
    EXPECT_EQ(zorQCursor(cursor).hotSpot(), QPoint(10, 5));
}

namespace {

// What the mouse moving over a widget makes Qt send it.
void moveMouseOver(QWidget* widget)
{
    const QPointF local(5, 5);
    QMouseEvent event(QEvent::MouseMove, local, widget->mapToGlobal(local), Qt::NoButton,
        Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(widget, &event);
}

// Sets the cursor again on every mouse move, as a window answering WM_SETCURSOR does.
class CursorSetter : public QObject
{
public:
    explicit CursorSetter(HCURSOR cursor) : m_cursor(cursor) { }
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == QEvent::MouseMove)
            SetCursor(m_cursor);
        return false;
    }

private:
    HCURSOR m_cursor {nullptr};
};

class SetCursorTest : public Resources
{
protected:
    void SetUp() override
    {
        Resources::SetUp();
        m_window = std::make_unique<QWidget>();
        m_window->setGeometry(200, 200, 160, 60);
        m_plain = new QWidget(m_window.get());
        m_plain->setGeometry(0, 0, 60, 60);
        m_plain->setMouseTracking(true);
        m_beam = new QWidget(m_window.get());
        m_beam->setGeometry(100, 0, 60, 60);
        m_beam->setMouseTracking(true);
        m_beam->setCursor(Qt::IBeamCursor);
        m_window->show();
    }

    // Made after the application.
    std::unique_ptr<QWidget> m_window;
    QWidget* m_plain {nullptr};
    QWidget* m_beam {nullptr};
    const HCURSOR m_hand {LoadCursorA(nullptr, IDC_HAND)};
    const HCURSOR m_cross {LoadCursorA(nullptr, IDC_CROSS)};
};

} // namespace

TEST_F(SetCursorTest, CursorShowsOverTheWidgetUnderTheMouse)
{
    moveMouseOver(m_plain);
    SetCursor(m_cross);
    EXPECT_EQ(SetCursor(m_hand), m_cross) << "the previous cursor";
    EXPECT_EQ(GetCursor(), m_hand);
    EXPECT_EQ(m_plain->cursor().shape(), Qt::PointingHandCursor);
    EXPECT_EQ(m_beam->cursor().shape(), Qt::IBeamCursor);
}

TEST_F(SetCursorTest, NextMoveGivesTheWidgetItsOwnCursorBack)
{
    moveMouseOver(m_plain);
    SetCursor(m_hand);
    moveMouseOver(m_plain);
    QCoreApplication::processEvents();
    EXPECT_FALSE(m_plain->testAttribute(Qt::WA_SetCursor)) << "its own (none) back";
    EXPECT_EQ(GetCursor(), m_hand) << "the current cursor stays what was set last";
}

TEST_F(SetCursorTest, CursorSetAgainOnEachMoveStays)
{
    CursorSetter setter(m_hand);
    m_plain->installEventFilter(&setter);
    moveMouseOver(m_plain);
    QCoreApplication::processEvents();
    EXPECT_EQ(m_plain->cursor().shape(), Qt::PointingHandCursor);
    moveMouseOver(m_plain);
    QCoreApplication::processEvents();
    EXPECT_EQ(m_plain->cursor().shape(), Qt::PointingHandCursor);
    m_plain->removeEventFilter(&setter);
}

TEST_F(SetCursorTest, LeavingTheWidgetGivesItsOwnCursorBack)
{
    moveMouseOver(m_beam);
    SetCursor(m_hand);
    EXPECT_EQ(m_beam->cursor().shape(), Qt::PointingHandCursor);
    QEvent leave(QEvent::Leave);
    QApplication::sendEvent(m_beam, &leave);
    EXPECT_EQ(m_beam->cursor().shape(), Qt::IBeamCursor);
}

TEST_F(SetCursorTest, AnotherWidgetTakingTheCursorGivesTheFirstItsOwnBack)
{
    moveMouseOver(m_beam);
    SetCursor(m_hand);
    moveMouseOver(m_plain);
    SetCursor(m_cross);
    QCoreApplication::processEvents();
    EXPECT_EQ(m_beam->cursor().shape(), Qt::IBeamCursor);
    EXPECT_EQ(m_plain->cursor().shape(), Qt::CrossCursor);
}

TEST_F(SetCursorTest, CursorSetBySomeoneElseMeanwhileStays)
{
    moveMouseOver(m_plain);
    SetCursor(m_hand);
    m_plain->setCursor(Qt::SizeAllCursor);
    moveMouseOver(m_plain);
    QCoreApplication::processEvents();
    EXPECT_EQ(m_plain->cursor().shape(), Qt::SizeAllCursor);
}

TEST_F(SetCursorTest, NullHidesTheCursor)
{
    moveMouseOver(m_plain);
    SetCursor(nullptr);
    EXPECT_EQ(GetCursor(), nullptr);
    EXPECT_EQ(m_plain->cursor().shape(), Qt::BlankCursor);
    moveMouseOver(m_plain);
    QCoreApplication::processEvents();
    EXPECT_FALSE(m_plain->testAttribute(Qt::WA_SetCursor));
}

// --- data ------------------------------------------------------------------------------------

TEST_F(Resources, DataByTypeAndId)
{
    const std::string* readme = zorFindData(nullptr, "README", 1);
    ASSERT_NE(readme, nullptr);
    EXPECT_EQ(*readme, "Zorvex resource data\n");
    EXPECT_EQ(zorFindData(nullptr, "readme", 1), readme) << "types without regard to case";
    EXPECT_EQ(zorFindData(GetModuleHandleA(nullptr), "ReadMe", 1), readme);

    const std::string* blob = zorFindData(nullptr, "BIN", 2);
    ASSERT_NE(blob, nullptr);
    EXPECT_EQ(*blob, std::string("\x00\x01\x02\xff\x00\x7f", 6)) << "bytes, zeros included";
    const std::string* empty = zorFindData(nullptr, "bin", 3);
    ASSERT_NE(empty, nullptr) << "an empty file is a resource";
    EXPECT_TRUE(empty->empty());
}

TEST_F(Resources, MissingDataIsNull)
{
    EXPECT_EQ(zorFindData(nullptr, "README", 2), nullptr);
    EXPECT_EQ(zorFindData(nullptr, "BIN", 1), nullptr) << "the id is of another type";
    EXPECT_EQ(zorFindData(nullptr, "READMEX", 1), nullptr);
    EXPECT_EQ(zorFindData(nullptr, nullptr, 1), nullptr);
    EXPECT_EQ(zorFindData(nullptr, MAKEINTRESOURCE(10), 1), nullptr);
    EXPECT_EQ(zorFindData(otherModule(), "README", 1), nullptr);
}

// --- drawing ---------------------------------------------------------------------------------

TEST_F(Resources, DrawIconBlendsOverTheTarget)
{
    QImage target(40, 40, QImage::Format_RGB32);
    CDC dc(&target);
    dc.FillSolidRect(0, 0, 40, 40, RGB(255, 255, 255));
    const HICON icon = LoadIconA(nullptr, c_icon);
    ASSERT_TRUE(DrawIcon(&dc, 4, 4, icon));
    // The 32 x 32 image at (4, 4).
    EXPECT_TRUE(colorNear(pixelOf(dc, 4, 4), qRgb(255, 255, 255))) << "masked: background";
    EXPECT_TRUE(colorNear(pixelOf(dc, 14, 4), qRgb(255, 255, 0)));
    EXPECT_TRUE(colorNear(pixelOf(dc, 14, 14), qRgb(0, 255, 0)));
    EXPECT_TRUE(colorNear(pixelOf(dc, 35, 35), qRgb(0, 255, 0))) << "last pixel of the icon";
    EXPECT_TRUE(colorNear(pixelOf(dc, 36, 36), qRgb(255, 255, 255))) << "beyond it";
    EXPECT_TRUE(colorNear(pixelOf(dc, 3, 20), qRgb(255, 255, 255)));
}

TEST_F(Resources, DrawIconExAlphaOverKnownBackgrounds)
{
    const HICON icon = LoadIconA(nullptr, c_icon);
    QImage target(32, 16, QImage::Format_RGB32);
    CDC dc(&target);
    dc.FillSolidRect(0, 0, 16, 16, RGB(255, 255, 255));
    dc.FillSolidRect(16, 0, 16, 16, RGB(0, 0, 0));
    ASSERT_TRUE(DrawIconEx(&dc, 0, 0, icon, 16, 16));
    ASSERT_TRUE(DrawIconEx(&dc, 16, 0, icon, 16, 16));
    EXPECT_TRUE(colorNear(pixelOf(dc, 2, 2), qRgb(255, 0, 0))) << "opaque";
    // Blue at alpha 128: half of it over white, half over black.
    EXPECT_TRUE(colorNear(pixelOf(dc, 12, 2), qRgb(127, 127, 255)));
    EXPECT_TRUE(colorNear(pixelOf(dc, 18, 2), qRgb(255, 0, 0)));
    EXPECT_TRUE(colorNear(pixelOf(dc, 28, 2), qRgb(0, 0, 128)));
}

TEST_F(Resources, DrawIconFollowsTheMappingAndTheClip)
{
    const HICON icon = LoadIconA(nullptr, c_icon);
    QImage target(40, 40, QImage::Format_RGB32);
    CDC dc(&target);
    dc.FillSolidRect(0, 0, 40, 40, RGB(0, 0, 0));
    dc.SetViewportOrg(10, 10);
    dc.IntersectClipRect(0, 0, 8, 16); // logical: device (10, 10) to (18, 26)
    ASSERT_TRUE(DrawIconEx(&dc, 0, 0, icon, 16, 16));
    dc.SetViewportOrg(0, 0);
    dc.SelectClipRgn(nullptr);
    EXPECT_TRUE(colorNear(pixelOf(dc, 12, 12), qRgb(255, 0, 0))) << "drawn at the viewport origin";
    EXPECT_TRUE(colorNear(pixelOf(dc, 2, 2), qRgb(0, 0, 0))) << "not at device (0, 0)";
    EXPECT_TRUE(colorNear(pixelOf(dc, 22, 12), qRgb(0, 0, 0))) << "clipped away";
}

TEST_F(Resources, DrawIconIntoTheSelectedBitmap)
{
    CDC memory;
    ASSERT_TRUE(memory.CreateCompatibleDC(nullptr));
    CBitmap bitmap;
    ASSERT_TRUE(bitmap.CreateBitmap(20, 20, 1, 32, nullptr));
    memory.SelectObject(&bitmap);
    memory.FillSolidRect(0, 0, 20, 20, RGB(255, 255, 255));
    ASSERT_TRUE(DrawIconEx(&memory, 2, 2, LoadIconA(nullptr, c_icon), 16, 16));
    EXPECT_TRUE(colorNear(bitmap.image().pixel(4, 4), qRgb(255, 0, 0)));
    EXPECT_TRUE(colorNear(bitmap.image().pixel(14, 4), qRgb(127, 127, 255)));
    EXPECT_TRUE(colorNear(bitmap.image().pixel(1, 1), qRgb(255, 255, 255)));
}

TEST_F(Resources, DrawIconNeedsAnIconAndATarget)
{
    QImage target(8, 8, QImage::Format_RGB32);
    CDC dc(&target);
    EXPECT_FALSE(DrawIcon(&dc, 0, 0, nullptr));
    CDC empty;
    EXPECT_FALSE(DrawIcon(&empty, 0, 0, LoadIconA(nullptr, c_icon)));
    EXPECT_FALSE(DrawIcon(nullptr, 0, 0, LoadIconA(nullptr, c_icon)));
}
