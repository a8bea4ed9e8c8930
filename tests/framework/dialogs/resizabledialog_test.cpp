#include "framework/dialogs/resizabledialog.h"

#include "tests/framework/dialogs/dialogtestsupport.h"

#include "platform/gdi/dc.h"
#include "platform/gdi/syscolor.h"
#include "platform/ui/resources.h"

#include <QtGui/QImage>
#include <QtGui/QMouseEvent>
#include <QtWidgets/QWidget>

#include <gtest/gtest.h>

namespace {

QRgb rgbOf(COLORREF color)
{
    return qRgb(GetRValue(color), GetGValue(color), GetBValue(color));
}

// The size grip as the platform draws it on the dialog's face colour.
QImage referenceGrip(const CSize& size)
{
    QImage image(size.cx, size.cy, QImage::Format_RGB32);
    image.fill(rgbOf(GetSysColor(COLOR_3DFACE)));
    CDC dc(&image);
    CRect rc(0, 0, size.cx, size.cy);
    DrawFrameControl(&dc, &rc, DFC_SCROLL, DFCS_SCROLLSIZEGRIP);
    return image;
}

// How many pixels of the rectangle of the image differ from the reference drawn at its origin.
int differingPixels(const QImage& image, const CRect& rc, const QImage& reference)
{
    int count = 0;
    for (int y = 0; y < rc.Height(); ++y) {
        for (int x = 0; x < rc.Width(); ++x) {
            if ((image.pixel(rc.left + x, rc.top + y) & 0xFFFFFF)
                != (reference.pixel(x, y) & 0xFFFFFF))
                ++count;
        }
    }
    return count;
}

// How many pixels of the rectangle are not the face colour.
int nonFacePixels(const QImage& image, const CRect& rc)
{
    const QRgb face = rgbOf(GetSysColor(COLOR_3DFACE)) & 0xFFFFFF;
    int count = 0;
    for (int y = rc.top; y < rc.bottom; ++y) {
        for (int x = rc.left; x < rc.right; ++x) {
            if ((image.pixel(x, y) & 0xFFFFFF) != face)
                ++count;
        }
    }
    return count;
}

LRESULT hitTestAt(CWnd* pWnd, CPoint client)
{
    pWnd->ClientToScreen(&client);
    return pWnd->SendMessage(WM_NCHITTEST, 0, MAKELPARAM(client.x, client.y));
}

void sendMouse(QWidget* widget, QEvent::Type type, const QPoint& local, Qt::MouseButton button,
    Qt::MouseButtons buttons)
{
    QMouseEvent event(
        type, QPointF(local), QPointF(widget->mapToGlobal(local)), button, buttons, Qt::NoModifier);
    QCoreApplication::sendEvent(widget, &event);
}

// Drags the grip of the dialog by the distance, as the user does with the mouse.
void dragGrip(CTestResizableDialog& dlg, int dx, int dy)
{
    QWidget* widget = dlg.widget();
    const CRect grip = dlg.gripRect();
    const QPoint start(grip.left + grip.Width() / 2, grip.top + grip.Height() / 2);
    sendMouse(widget, QEvent::MouseButtonPress, start, Qt::LeftButton, Qt::LeftButton);
    sendMouse(
        widget, QEvent::MouseMove, start + QPoint(dx / 2, dy / 2), Qt::NoButton, Qt::LeftButton);
    sendMouse(widget, QEvent::MouseMove, start + QPoint(dx, dy), Qt::NoButton, Qt::LeftButton);
    sendMouse(
        widget, QEvent::MouseButtonRelease, start + QPoint(dx, dy), Qt::LeftButton, Qt::NoButton);
    settle();
}

class ResizableDialog : public testing::Test
{
protected:
    void create()
    {
        ASSERT_TRUE(m_dlg.Create(IDD_LAYOUT));
        m_initialSize = clientRect(&m_dlg).Size();
        m_dlg.ShowWindow(SW_SHOW);
        settle();
    }

    CRect expectedGrip() const
    {
        const CRect rc = clientRect(&m_dlg);
        return CRect(rc.right - GetSystemMetrics(SM_CXVSCROLL),
            rc.bottom - GetSystemMetrics(SM_CYHSCROLL), rc.right, rc.bottom);
    }

    CTestResizableDialog m_dlg;
    CSize m_initialSize;
};

// --- construction and initialisation --------------------------------------------------------

TEST(ResizableDialogConstruction, HasNoWindowAndNoLayoutYet)
{
    const CResizableDialog dlg(IDD_LAYOUT);
    EXPECT_EQ(dlg.GetSafeHwnd(), nullptr);
    EXPECT_FALSE(dlg.isLayoutReady());
    EXPECT_TRUE(dlg.layout().empty());
    EXPECT_EQ(dlg.templateId(), IDD_LAYOUT);
}

TEST_F(ResizableDialog, InitialisationPlacesTheGripAndMarksTheLayoutReady)
{
    create();
    EXPECT_TRUE(m_dlg.isLayoutReady());
    EXPECT_EQ(m_dlg.gripRect(), expectedGrip());
    EXPECT_EQ(m_dlg.minTrackSize(), m_initialSize);
}

// --- the grip -------------------------------------------------------------------------------

TEST_F(ResizableDialog, GripFollowsTheLowerRightCorner)
{
    create();
    resizeClient(&m_dlg, 420, 330);
    EXPECT_EQ(m_dlg.gripRect(), expectedGrip());
    EXPECT_EQ(m_dlg.gripRect().right, 420);
    EXPECT_EQ(m_dlg.gripRect().bottom, 330);
}

TEST_F(ResizableDialog, GripIsTheBottomRightSizingBorder)
{
    create();
    const CRect grip = m_dlg.gripRect();
    EXPECT_EQ(hitTestAt(&m_dlg, grip.TopLeft()), HTBOTTOMRIGHT);
    EXPECT_EQ(hitTestAt(&m_dlg, CPoint(grip.right - 1, grip.bottom - 1)), HTBOTTOMRIGHT);
    EXPECT_EQ(HTBOTTOMRIGHT, 17);
}

TEST_F(ResizableDialog, OutsideTheGripTheDefaultAnswers)
{
    create();
    const CRect grip = m_dlg.gripRect();
    EXPECT_EQ(hitTestAt(&m_dlg, CPoint(grip.left - 1, grip.bottom - 1)), HTCLIENT);
    EXPECT_EQ(hitTestAt(&m_dlg, CPoint(grip.right - 1, grip.top - 1)), HTCLIENT);
    EXPECT_EQ(hitTestAt(&m_dlg, CPoint(5, 5)), HTCLIENT);
}

TEST_F(ResizableDialog, HiddenGripIsNoSizingBorder)
{
    create();
    m_dlg.showSizeGrip(FALSE);
    EXPECT_EQ(hitTestAt(&m_dlg, m_dlg.gripRect().TopLeft()), HTCLIENT);
    m_dlg.showSizeGrip(TRUE);
    EXPECT_EQ(hitTestAt(&m_dlg, m_dlg.gripRect().TopLeft()), HTBOTTOMRIGHT);
}

TEST_F(ResizableDialog, GripIsDrawnInTheLowerRightCorner)
{
    create();
    resizeClient(&m_dlg, 400, 300);
    const QImage reference = referenceGrip(m_dlg.gripRect().Size());
    ASSERT_GT(nonFacePixels(reference, CRect(0, 0, reference.width(), reference.height())), 0);

    const QImage image = m_dlg.grabClient();
    ASSERT_EQ(image.width(), 400);
    ASSERT_EQ(image.height(), 300);
    EXPECT_EQ(differingPixels(image, m_dlg.gripRect(), reference), 0);
}

TEST_F(ResizableDialog, HiddenGripIsNotDrawn)
{
    create();
    resizeClient(&m_dlg, 400, 300);
    m_dlg.showSizeGrip(FALSE);
    EXPECT_EQ(nonFacePixels(m_dlg.grabClient(), m_dlg.gripRect()), 0);
}

TEST_F(ResizableDialog, MaximisedDialogDrawsNoGrip)
{
    create();
    m_dlg.ShowWindow(SW_SHOWMAXIMIZED);
    settle();
    ASSERT_TRUE(m_dlg.IsZoomed());
    EXPECT_EQ(m_dlg.gripRect(), expectedGrip());
    EXPECT_EQ(nonFacePixels(m_dlg.grabClient(), m_dlg.gripRect()), 0);
}

// --- tracking sizes -------------------------------------------------------------------------

TEST_F(ResizableDialog, MinimumTrackSizeIsTheSizeAtInitialisation)
{
    create();
    const MINMAXINFO info = askMinMaxInfo(&m_dlg);
    EXPECT_EQ(info.ptMinTrackSize.x, m_initialSize.cx);
    EXPECT_EQ(info.ptMinTrackSize.y, m_initialSize.cy);
    // Nothing else is imposed.
    EXPECT_EQ(info.ptMaxTrackSize.x, -7);
    EXPECT_EQ(info.ptMaxSize.x, -7);
    EXPECT_EQ(info.ptMaxPosition.x, -7);
}

TEST_F(ResizableDialog, CannotBeMadeSmallerThanAtInitialisation)
{
    create();
    resizeClient(&m_dlg, m_initialSize.cx - 60, m_initialSize.cy - 40);
    EXPECT_EQ(clientRect(&m_dlg).Size(), m_initialSize);
}

TEST_F(ResizableDialog, ResetMinimumTrackSizeLiftsTheLimit)
{
    create();
    m_dlg.resetMinTrackSize();
    EXPECT_EQ(askMinMaxInfo(&m_dlg).ptMinTrackSize.x, -7);
    resizeClient(&m_dlg, m_initialSize.cx - 60, m_initialSize.cy - 40);
    EXPECT_EQ(clientRect(&m_dlg).Size(), CSize(m_initialSize.cx - 60, m_initialSize.cy - 40));
}

TEST_F(ResizableDialog, MinimumTrackSizeSetAfterInitialisationApplies)
{
    create();
    m_dlg.setMinTrackSize(CSize(120, 90));
    const MINMAXINFO info = askMinMaxInfo(&m_dlg);
    EXPECT_EQ(info.ptMinTrackSize.x, 120);
    EXPECT_EQ(info.ptMinTrackSize.y, 90);
    resizeClient(&m_dlg, 60, 50);
    EXPECT_EQ(clientRect(&m_dlg).Size(), CSize(120, 90));
}

TEST_F(ResizableDialog, InitialisationReplacesAnEarlierMinimumTrackSize)
{
    m_dlg.setMinTrackSize(CSize(50, 40));
    create();
    const MINMAXINFO info = askMinMaxInfo(&m_dlg);
    EXPECT_EQ(info.ptMinTrackSize.x, m_initialSize.cx);
    EXPECT_EQ(info.ptMinTrackSize.y, m_initialSize.cy);
}

TEST_F(ResizableDialog, MaximumTrackSizeLimitsGrowth)
{
    create();
    m_dlg.setMaxTrackSize(CSize(500, 400));
    const MINMAXINFO info = askMinMaxInfo(&m_dlg);
    EXPECT_EQ(info.ptMaxTrackSize.x, 500);
    EXPECT_EQ(info.ptMaxTrackSize.y, 400);
    resizeClient(&m_dlg, 700, 550);
    EXPECT_EQ(clientRect(&m_dlg).Size(), CSize(500, 400));

    m_dlg.resetMaxTrackSize();
    EXPECT_EQ(askMinMaxInfo(&m_dlg).ptMaxTrackSize.x, -7);
    resizeClient(&m_dlg, 700, 550);
    EXPECT_EQ(clientRect(&m_dlg).Size(), CSize(700, 550));
}

TEST_F(ResizableDialog, MaximisedRectangleIsWhereTheDialogMaximises)
{
    create();
    m_dlg.setMaximizedRect(CRect(10, 20, 510, 420));
    const MINMAXINFO info = askMinMaxInfo(&m_dlg);
    EXPECT_EQ(info.ptMaxPosition.x, 10);
    EXPECT_EQ(info.ptMaxPosition.y, 20);
    EXPECT_EQ(info.ptMaxSize.x, 500);
    EXPECT_EQ(info.ptMaxSize.y, 400);

    m_dlg.ShowWindow(SW_SHOWMAXIMIZED);
    settle();
    EXPECT_TRUE(m_dlg.IsZoomed());
    EXPECT_EQ(windowRect(&m_dlg), CRect(10, 20, 510, 420));

    m_dlg.resetMaximizedRect();
    EXPECT_EQ(askMinMaxInfo(&m_dlg).ptMaxSize.x, -7);
}

// A dialog that asks for its limits before it is initialised.
class CEarlyAskingDialog : public CResizableDialog
{
public:
    CEarlyAskingDialog() : CResizableDialog(IDD_LAYOUT) { }
    BOOL OnInitDialog() override
    {
        m_early = askMinMaxInfo(this);
        return CResizableDialog::OnInitDialog();
    }
    MINMAXINFO m_early;
};

TEST(ResizableDialogTrackSizes, NothingIsImposedBeforeTheLayoutIsReady)
{
    CEarlyAskingDialog dlg;
    ASSERT_TRUE(dlg.Create(IDD_LAYOUT));
    EXPECT_EQ(dlg.m_early.ptMinTrackSize.x, -7);
    EXPECT_EQ(dlg.m_early.ptMinTrackSize.y, -7);
    EXPECT_NE(askMinMaxInfo(&dlg).ptMinTrackSize.x, -7);
}

// --- size changes ---------------------------------------------------------------------------

class ResizableDialogSizes : public ResizableDialog
{
protected:
    void SetUp() override
    {
        create();
        resizeClient(&m_dlg, 400, 300);
        m_dlg.GetDlgItem(IDOK)->MoveWindow(320, 260, 70, 24);
        m_dlg.addAnchor(IDOK, anchorBottomRight);
        // Moved out of place, so that the next arrangement shows.
        m_dlg.GetDlgItem(IDOK)->MoveWindow(0, 0, 70, 24);
        settle();
    }

    void sendSize(UINT nType)
    {
        m_dlg.SendMessage(WM_SIZE, nType, MAKELPARAM(400, 300));
        settle();
    }
};

TEST_F(ResizableDialogSizes, RestoringArrangesTheLayout)
{
    sendSize(SIZE_RESTORED);
    EXPECT_EQ(childRect(&m_dlg, IDOK), CRect(320, 260, 390, 284));
}

TEST_F(ResizableDialogSizes, MinimisingArrangesTheLayout)
{
    sendSize(SIZE_MINIMIZED);
    EXPECT_EQ(childRect(&m_dlg, IDOK), CRect(320, 260, 390, 284));
}

TEST_F(ResizableDialogSizes, AnotherWindowMaximisedOrRestoredDoesNot)
{
    sendSize(SIZE_MAXSHOW);
    EXPECT_EQ(childRect(&m_dlg, IDOK), CRect(0, 0, 70, 24));
    sendSize(SIZE_MAXHIDE);
    EXPECT_EQ(childRect(&m_dlg, IDOK), CRect(0, 0, 70, 24));
}

TEST_F(ResizableDialogSizes, MaximisingArrangesTheLayoutForTheNewSize)
{
    m_dlg.ShowWindow(SW_SHOWMAXIMIZED);
    settle();
    const CRect rc = clientRect(&m_dlg);
    ASSERT_TRUE(m_dlg.IsZoomed());
    EXPECT_EQ(childRect(&m_dlg, IDOK),
        CRect(rc.right - 80, rc.bottom - 40, rc.right - 10, rc.bottom - 16));
}

// --- resizing with the mouse ----------------------------------------------------------------

TEST_F(ResizableDialog, DraggingTheGripResizesAndArranges)
{
    create();
    resizeClient(&m_dlg, 400, 300);
    m_dlg.GetDlgItem(IDOK)->MoveWindow(320, 260, 70, 24);
    m_dlg.GetDlgItem(IDC_HOSTS)->MoveWindow(10, 40, 380, 200);
    settle();
    m_dlg.addAnchor(IDOK, anchorBottomRight);
    m_dlg.addAnchor(IDC_HOSTS, anchorTopLeft, anchorBottomRight);

    dragGrip(m_dlg, 100, 60);
    EXPECT_EQ(clientRect(&m_dlg).Size(), CSize(500, 360));
    EXPECT_EQ(childRect(&m_dlg, IDOK), CRect(420, 320, 490, 344));
    EXPECT_EQ(childRect(&m_dlg, IDC_HOSTS), CRect(10, 40, 490, 300));
    EXPECT_EQ(m_dlg.gripRect(), expectedGrip());
}

TEST_F(ResizableDialog, DraggingStopsAtTheMinimumSize)
{
    create();
    resizeClient(&m_dlg, 400, 300);
    dragGrip(m_dlg, -300, -250);
    EXPECT_EQ(clientRect(&m_dlg).Size(), m_initialSize);
}

} // namespace
