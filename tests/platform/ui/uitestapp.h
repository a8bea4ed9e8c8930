#pragma once

// The widget application of a window-layer test program: one for the whole process (offscreen
// platform), made on first use, and the helpers that feed it input as a user would.

#include <QtCore/QCoreApplication>
#include <QtCore/QElapsedTimer>
#include <QtGui/QKeyEvent>
#include <QtGui/QMouseEvent>
#include <QtWidgets/QApplication>
#include <QtWidgets/QWidget>

#include <functional>

inline QApplication& uiTestApp()
{
    static int argc = 1;
    static char name[] = "zorvex_ui_tests";
    static char* argv[] = {name, nullptr};
    static auto* app = new QApplication(argc, argv);
    return *app;
}

// Runs the event loop until the condition holds or the time is up; true when it held.
inline bool processUntil(const std::function<bool()>& done, int timeoutMs = 3000)
{
    QElapsedTimer clock;
    clock.start();
    while (!done()) {
        if (clock.elapsed() > timeoutMs)
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    }
    return true;
}

inline void processEventsFor(int ms)
{
    QElapsedTimer clock;
    clock.start();
    while (clock.elapsed() < ms)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
}

// A mouse event at a point of the widget, delivered as the window system would (through the
// application's event filters, so the message pump sees it).
inline bool sendMouse(QWidget* widget, QEvent::Type type, QPoint local,
    Qt::MouseButton button = Qt::LeftButton, Qt::MouseButtons buttons = Qt::NoButton,
    Qt::KeyboardModifiers modifiers = Qt::NoModifier)
{
    const QPointF global = widget->mapToGlobal(QPointF(local));
    if (type == QEvent::MouseButtonPress && buttons == Qt::NoButton)
        buttons = button;
    QMouseEvent event(type, QPointF(local), global, button, buttons, modifiers);
    return QCoreApplication::sendEvent(widget, &event);
}

inline bool sendKey(QWidget* widget, int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier,
    const QString& text = QString())
{
    QKeyEvent press(QEvent::KeyPress, key, modifiers, text);
    const bool result = QCoreApplication::sendEvent(widget, &press);
    QKeyEvent release(QEvent::KeyRelease, key, modifiers, text);
    QCoreApplication::sendEvent(widget, &release);
    return result;
}
