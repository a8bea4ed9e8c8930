#pragma once

// The window layer's private parts: the handle record, the widget that plain windows draw in,
// and the event translation shared by every window.

#include "platform/ui/window.h"

#include <QtCore/QPointer>
#include <QtGui/QImage>
#include <QtWidgets/QWidget>

#include <map>

class QEvent;
class QKeyEvent;
class QTimer;

// What a window handle stands for. Handles are never reused while the process runs, so a
// stale handle is recognised (IsWindow) instead of reaching another window.
struct ZorWindow
{
    CWnd* wnd {nullptr};
    QPointer<QWidget> widget;
};

struct ZorWindowPrivate
{
    QPointer<QWidget> widget;
    QObject* filter {nullptr};
    std::map<UINT_PTR, QTimer*> timers;
    HCURSOR cursor {nullptr};
    CWnd* owner {nullptr};
    // Set by Default() while a message from a Qt event is handled: the widget's own handling
    // of the event then runs too.
    bool defaultCalled {false};
    // The image the current paint draws into, and its area.
    QImage paintImage;
    QImage* currentPaint {nullptr};
    QRect paintRect;
    bool eraseRequested {true};
    // Invalidated since the last paint (UpdateWindow paints only then).
    bool invalid {true};
    // A maximised rectangle of the window's own (WM_GETMINMAXINFO asked for one other than the
    // work area): the window is then "zoomed" by the layer, not by the window manager.
    bool layerZoomed {false};
    QRect normalRect;
    bool restoreToMaximized {false};
    // The resize drag started on a sizing border that the window manager does not carry out.
    bool sizing {false};
    QPoint sizingStart;
    QSize sizingStartSize;
    LRESULT sizingHit {0};
    bool destroying {false};
};

// The widget of plain windows (dialogs, drawn controls): paints through OnEraseBkgnd/OnPaint.
class ZorWindowWidget : public QWidget
{
public:
    ZorWindowWidget(CWnd* wnd, QWidget* parent, Qt::WindowFlags flags);
    void detachWindow() { m_wnd = nullptr; }

protected:
    void paintEvent(QPaintEvent* event) override;
    // A window's mouse messages are its own: they never travel on to the parent widget.
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;

private:
    CWnd* m_wnd {nullptr};
};

// The handle record of a widget the layer made or attached to (null for other widgets).
ZorWindow* zorHandleOf(const QWidget* widget);

// Window messages of one window from the events of its widget.
bool zorTranslateWindowEvent(CWnd* wnd, QObject* watched, QEvent* event);
// The message of a mouse event (0 for events that have none) and its key flags.
UINT zorMouseMessage(const QEvent* event, Qt::MouseButton button);
UINT zorMouseKeyFlags(Qt::MouseButtons buttons, Qt::KeyboardModifiers modifiers);

// A key event as the platform's key message, the same for the message pump and the window:
// WM_KEYDOWN/WM_KEYUP, or WM_SYSKEYDOWN/WM_SYSKEYUP while Alt is held; wParam the virtual-key
// code (0 for keys the suite does not look at); lParam the context bit (Alt held), the
// previous-state bit (an auto-repeated press, and every release) and the transition bit (a
// release).
struct ZorKeyMessage
{
    UINT message {0};
    WPARAM wParam {0};
    LPARAM lParam {0};
};
ZorKeyMessage zorKeyMessage(const QKeyEvent& event);

// Lets the message pump see input events first (installed once per application).
void zorEnsureMessagePump();

// The desktop's work area: the primary screen less panels and docks.
QRect zorWorkArea();
