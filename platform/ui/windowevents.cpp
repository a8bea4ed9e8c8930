#include "platform/ui/window_p.h"

#include <QtGui/QKeyEvent>
#include <QtGui/QMouseEvent>
#include <QtGui/QWindow>
#include <QtWidgets/QWidget>

namespace {

// Virtual-key codes of the keys the suite's windows look at.
UINT virtualKey(int key)
{
    if (key >= Qt::Key_A && key <= Qt::Key_Z)
        return static_cast<UINT>('A' + (key - Qt::Key_A));
    if (key >= Qt::Key_0 && key <= Qt::Key_9)
        return static_cast<UINT>('0' + (key - Qt::Key_0));
    if (key >= Qt::Key_F1 && key <= Qt::Key_F12)
        return static_cast<UINT>(0x70 + (key - Qt::Key_F1));
    switch (key) {
    case Qt::Key_Backspace:
        return 0x08;
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
        return 0x09;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        return 0x0D;
    case Qt::Key_Shift:
        return 0x10;
    case Qt::Key_Control:
        return 0x11;
    case Qt::Key_Alt:
        return 0x12;
    case Qt::Key_Escape:
        return 0x1B;
    case Qt::Key_Space:
        return 0x20;
    case Qt::Key_PageUp:
        return 0x21;
    case Qt::Key_PageDown:
        return 0x22;
    case Qt::Key_End:
        return 0x23;
    case Qt::Key_Home:
        return 0x24;
    case Qt::Key_Left:
        return 0x25;
    case Qt::Key_Up:
        return 0x26;
    case Qt::Key_Right:
        return 0x27;
    case Qt::Key_Down:
        return 0x28;
    case Qt::Key_Insert:
        return 0x2D;
    case Qt::Key_Delete:
        return 0x2E;
    default:
        return 0;
    }
}

// Sends one message from a Qt event; true when the widget's own handling must not run.
bool sendFromEvent(CWnd* wnd, UINT message, WPARAM wParam, LPARAM lParam, ZorWindowPrivate* d)
{
    const bool saved = d->defaultCalled;
    d->defaultCalled = false;
    wnd->WindowProc(message, wParam, lParam);
    const bool eaten = !d->defaultCalled;
    d->defaultCalled = saved;
    return eaten;
}

} // namespace

UINT zorMouseKeyFlags(Qt::MouseButtons buttons, Qt::KeyboardModifiers modifiers)
{
    UINT flags = 0;
    if (buttons & Qt::LeftButton)
        flags |= MK_LBUTTON;
    if (buttons & Qt::RightButton)
        flags |= MK_RBUTTON;
    if (buttons & Qt::MiddleButton)
        flags |= MK_MBUTTON;
    if (modifiers & Qt::ShiftModifier)
        flags |= MK_SHIFT;
    if (modifiers & Qt::ControlModifier)
        flags |= MK_CONTROL;
    return flags;
}

// The message of a mouse event, 0 for events that have none.
UINT zorMouseMessage(const QEvent* event, Qt::MouseButton button)
{
    const bool left = button == Qt::LeftButton;
    const bool right = button == Qt::RightButton;
    const bool middle = button == Qt::MiddleButton;
    switch (event->type()) {
    case QEvent::MouseMove:
        return WM_MOUSEMOVE;
    case QEvent::MouseButtonPress:
        return left ? WM_LBUTTONDOWN : right ? WM_RBUTTONDOWN : middle ? WM_MBUTTONDOWN : 0;
    case QEvent::MouseButtonRelease:
        return left ? WM_LBUTTONUP : right ? WM_RBUTTONUP : middle ? WM_MBUTTONUP : 0;
    case QEvent::MouseButtonDblClick:
        return left ? WM_LBUTTONDBLCLK : right ? WM_RBUTTONDBLCLK : middle ? WM_MBUTTONDBLCLK : 0;
    default:
        return 0;
    }
}

ZorKeyMessage zorKeyMessage(const QKeyEvent& event)
{
    const bool release = event.type() == QEvent::KeyRelease;
    const bool alt = event.modifiers() & Qt::AltModifier;
    ZorKeyMessage key;
    if (release)
        key.message = alt ? WM_SYSKEYUP : WM_KEYUP;
    else
        key.message = alt ? WM_SYSKEYDOWN : WM_KEYDOWN;
    key.wParam = virtualKey(event.key());
    if (alt)
        key.lParam |= 0x20000000;
    // The key was down before: an auto-repeated press, and every release.
    if (release || event.isAutoRepeat())
        key.lParam |= 0x40000000;
    if (release)
        key.lParam |= static_cast<LPARAM>(0x80000000U);
    return key;
}

// --- translation of events into messages --------------------------------------------------

bool zorTranslateWindowEvent(CWnd* wnd, QObject* watched, QEvent* event)
{
    ZorWindowPrivate* d = wnd->d.get();
    QWidget* widget = d->widget;
    if (!widget || watched != widget || d->destroying)
        return false;
    switch (event->type()) {
    case QEvent::MouseMove:
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick: {
        auto* me = static_cast<QMouseEvent*>(event);
        const QPoint global = me->globalPosition().toPoint();
        const QPoint local = me->position().toPoint();
        if (d->sizing) {
            if (event->type() == QEvent::MouseMove) {
                const QPoint delta = global - d->sizingStart;
                QSize size = d->sizingStartSize;
                if (d->sizingHit == HTBOTTOMRIGHT || d->sizingHit == HTRIGHT)
                    size.setWidth(size.width() + delta.x());
                if (d->sizingHit == HTBOTTOMRIGHT || d->sizingHit == HTBOTTOM)
                    size.setHeight(size.height() + delta.y());
                wnd->updateTrackSizes();
                widget->resize(
                    size.expandedTo(widget->minimumSize()).boundedTo(widget->maximumSize()));
            } else if (event->type() == QEvent::MouseButtonRelease) {
                d->sizing = false;
                widget->releaseMouse();
            }
            return true;
        }
        // The hit test decides whether the point is client area or a sizing border.
        const LRESULT hit = wnd->SendMessage(WM_NCHITTEST, 0, MAKELPARAM(global.x(), global.y()));
        if (hit == HTBOTTOMRIGHT || hit == HTRIGHT || hit == HTBOTTOM) {
            if (event->type() == QEvent::MouseMove && me->buttons() == Qt::NoButton) {
                widget->setCursor(hit == HTBOTTOMRIGHT ? Qt::SizeFDiagCursor
                        : hit == HTRIGHT               ? Qt::SizeHorCursor
                                                       : Qt::SizeVerCursor);
                return true;
            }
            if (event->type() == QEvent::MouseButtonPress && me->button() == Qt::LeftButton) {
                CWnd* top = wnd->GetTopLevelParent();
                QWidget* topWidget = top ? top->widget() : nullptr;
                if (topWidget == widget) {
                    wnd->updateTrackSizes();
                    Qt::Edges edges;
                    if (hit == HTBOTTOMRIGHT || hit == HTRIGHT)
                        edges |= Qt::RightEdge;
                    if (hit == HTBOTTOMRIGHT || hit == HTBOTTOM)
                        edges |= Qt::BottomEdge;
                    QWindow* window = widget->windowHandle();
                    if (!window || !window->startSystemResize(edges)) {
                        // No window manager carries out the drag: the layer does.
                        d->sizing = true;
                        d->sizingHit = hit;
                        d->sizingStart = global;
                        d->sizingStartSize = widget->size();
                        widget->grabMouse();
                    }
                }
                return true;
            }
            return true;
        }
        if (event->type() == QEvent::MouseMove && me->buttons() == Qt::NoButton) {
            sendFromEvent(wnd, WM_SETCURSOR, reinterpret_cast<WPARAM>(wnd->m_hWnd),
                MAKELPARAM(HTCLIENT, WM_MOUSEMOVE), d);
        }
        const UINT message = zorMouseMessage(event, me->button());
        if (!message)
            return false;
        return sendFromEvent(wnd, message, zorMouseKeyFlags(me->buttons(), me->modifiers()),
            MAKELPARAM(local.x(), local.y()), d);
    }
    case QEvent::KeyPress:
    case QEvent::KeyRelease: {
        const ZorKeyMessage key = zorKeyMessage(*static_cast<QKeyEvent*>(event));
        return sendFromEvent(wnd, key.message, key.wParam, key.lParam, d);
    }
    case QEvent::FocusIn:
        sendFromEvent(wnd, WM_SETFOCUS, 0, 0, d);
        return false;
    case QEvent::FocusOut: {
        CWnd* next = CWnd::GetFocus();
        sendFromEvent(
            wnd, WM_KILLFOCUS, reinterpret_cast<WPARAM>(next ? next->m_hWnd : nullptr), 0, d);
        return false;
    }
    case QEvent::Resize: {
        UINT kind = SIZE_RESTORED;
        if (widget->isMinimized())
            kind = SIZE_MINIMIZED;
        else if (widget->isMaximized() || d->layerZoomed)
            kind = SIZE_MAXIMIZED;
        const QSize size = static_cast<QResizeEvent*>(event)->size();
        wnd->SendMessage(WM_SIZE, kind, MAKELPARAM(size.width(), size.height()));
        return false;
    }
    case QEvent::WindowStateChange:
        if (widget->isWindow()) {
            UINT kind = SIZE_RESTORED;
            if (widget->isMinimized())
                kind = SIZE_MINIMIZED;
            else if (widget->isMaximized())
                kind = SIZE_MAXIMIZED;
            wnd->SendMessage(WM_SIZE, kind, MAKELPARAM(widget->width(), widget->height()));
        }
        return false;
    case QEvent::Move:
        wnd->SendMessage(WM_MOVE, 0, MAKELPARAM(widget->x(), widget->y()));
        return false;
    case QEvent::Show:
        if (widget->isWindow())
            wnd->updateTrackSizes();
        wnd->SendMessage(WM_SHOWWINDOW, TRUE, 0);
        return false;
    case QEvent::Hide:
        wnd->SendMessage(WM_SHOWWINDOW, FALSE, 0);
        return false;
    case QEvent::Close:
        // Closing is the window's decision (WM_CLOSE); the widget never closes on its own.
        event->ignore();
        wnd->SendMessage(WM_CLOSE);
        return true;
    case QEvent::ContextMenu:
        if (widget->isWindow() || wnd->GetClassName() == "#32770") {
            auto* ce = static_cast<QContextMenuEvent*>(event);
            const bool eaten
                = sendFromEvent(wnd, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(wnd->m_hWnd),
                    MAKELPARAM(ce->globalPos().x(), ce->globalPos().y()), d);
            return eaten || widget->isWindow();
        }
        return false;
    default:
        return false;
    }
}
