#include "platform/ui/window_p.h"

#include "platform/ui/winapp.h"

#include <QtCore/QCoreApplication>
#include <QtCore/QDateTime>
#include <QtCore/QPointer>
#include <QtCore/QTimer>
#include <QtGui/QCursor>
#include <QtGui/QKeyEvent>
#include <QtGui/QMouseEvent>
#include <QtWidgets/QWidget>

#include <algorithm>
#include <map>

namespace {

// The message pump's view of input: PreTranslateMessage of the window an event is for and of
// each of its parents, then of the application.
class MessagePump : public QObject
{
public:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        const QEvent::Type type = event->type();
        const bool mouse = type == QEvent::MouseMove || type == QEvent::MouseButtonPress
            || type == QEvent::MouseButtonRelease || type == QEvent::MouseButtonDblClick;
        const bool key = type == QEvent::KeyPress || type == QEvent::KeyRelease;
        if (!mouse && !key)
            return false;
        auto* widget = qobject_cast<QWidget*>(watched);
        if (!widget)
            return false;
        // Find the suite's window the event is for (an inner widget of a control counts as
        // the control).
        QWidget* target = widget;
        while (target && !zorHandleOf(target))
            target = target->isWindow() ? nullptr : target->parentWidget();
        if (!target)
            return false;
        CWnd* wnd = CWnd::FromHandle(zorHandleOf(target));
        if (!wnd)
            return false;
        MSG msg;
        msg.hwnd = wnd->m_hWnd;
        msg.time = static_cast<DWORD>(QDateTime::currentMSecsSinceEpoch());
        msg.pt = POINT {QCursor::pos().x(), QCursor::pos().y()};
        if (mouse) {
            auto* me = static_cast<QMouseEvent*>(event);
            msg.message = zorMouseMessage(event, me->button());
            if (!msg.message)
                return false;
            const QPoint p = target->mapFromGlobal(me->globalPosition().toPoint());
            msg.wParam = zorMouseKeyFlags(me->buttons(), me->modifiers());
            msg.lParam = MAKELPARAM(p.x(), p.y());
            msg.pt = POINT {me->globalPosition().toPoint().x(), me->globalPosition().toPoint().y()};
        } else {
            const ZorKeyMessage keyMessage = zorKeyMessage(*static_cast<QKeyEvent*>(event));
            msg.message = keyMessage.message;
            msg.wParam = keyMessage.wParam;
            msg.lParam = keyMessage.lParam;
        }
        const HWND hwnd = msg.hwnd;
        for (CWnd* w = wnd; w; w = w->GetParent()) {
            if (w->PreTranslateMessage(&msg))
                return true;
            if (!IsWindow(hwnd))
                return true;
            if (!(w->GetStyle() & WS_CHILD))
                break;
        }
        if (CWinApp* app = AfxGetApp(); app && app->PreTranslateMessage(&msg))
            return true;
        // Alt+Space opens the system menu of the top-level window.
        if (key && type == QEvent::KeyPress) {
            auto* ke = static_cast<QKeyEvent*>(event);
            if (ke->key() == Qt::Key_Space && (ke->modifiers() & Qt::AltModifier)) {
                CWnd* top = wnd->GetTopLevelParent();
                if (top && (top->GetStyle() & WS_SYSMENU)) {
                    CRect r;
                    top->GetWindowRect(&r);
                    top->openSystemMenu(POINT {r.left, r.top});
                    return true;
                }
            }
        }
        return false;
    }
};

} // namespace

void zorEnsureMessagePump()
{
    static QPointer<QCoreApplication> installedOn;
    QCoreApplication* app = QCoreApplication::instance();
    if (!app || installedOn == app)
        return;
    installedOn = app;
    // The pump goes with the application it serves.
    auto* pump = new MessagePump;
    pump->setParent(app);
    app->installEventFilter(pump);
}

// --- thread timers without a window -------------------------------------------------------

namespace {

std::map<UINT_PTR, QTimer*>& threadTimers()
{
    static auto* timers = new std::map<UINT_PTR, QTimer*>;
    return *timers;
}

} // namespace

UINT_PTR SetTimer(HWND hWnd, UINT_PTR nIDEvent, UINT uElapse, TIMERPROC lpTimerFunc)
{
    if (hWnd) {
        CWnd* wnd = CWnd::FromHandle(hWnd);
        return wnd ? wnd->SetTimer(nIDEvent, uElapse, lpTimerFunc) : 0;
    }
    if (!lpTimerFunc || !QCoreApplication::instance())
        return 0;
    static UINT_PTR nextId = 1;
    UINT_PTR id = nIDEvent && threadTimers().count(nIDEvent) ? nIDEvent : nextId++;
    if (threadTimers().count(id))
        delete threadTimers()[id];
    auto* timer = new QTimer;
    timer->setInterval(static_cast<int>(std::min<UINT>(uElapse, 0x7FFFFFFF)));
    QObject::connect(timer, &QTimer::timeout, [id, lpTimerFunc] {
        lpTimerFunc(nullptr, WM_TIMER, id, static_cast<DWORD>(QDateTime::currentMSecsSinceEpoch()));
    });
    timer->start();
    threadTimers()[id] = timer;
    return id;
}

BOOL KillTimer(HWND hWnd, UINT_PTR uIDEvent)
{
    if (hWnd) {
        CWnd* wnd = CWnd::FromHandle(hWnd);
        return wnd ? wnd->KillTimer(uIDEvent) : FALSE;
    }
    const auto it = threadTimers().find(uIDEvent);
    if (it == threadTimers().end())
        return FALSE;
    // The procedure may kill its own timer while the timer signals: delete it afterwards.
    it->second->stop();
    it->second->deleteLater();
    threadTimers().erase(it);
    return TRUE;
}
