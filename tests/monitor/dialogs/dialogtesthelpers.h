#pragma once

// What the dialog tests share: pressing a dialog's buttons as the user would, and waiting for
// the window system.

#include "platform/ui/controls.h"
#include "platform/ui/dialog.h"

#include <QtCore/QCoreApplication>
#include <QtCore/QElapsedTimer>
#include <QtWidgets/QApplication>
#include <QtWidgets/QWidget>

#include <functional>

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

// Shows the modeless dialog and makes it the active window, so the focus can be checked.
inline bool showActive(CDialog& dialog)
{
    dialog.ShowWindow(SW_SHOW);
    dialog.widget()->activateWindow();
    return processUntil([&] { return QApplication::activeWindow() == dialog.widget(); });
}

// Clicks a push button of the dialog (OK, Cancel).
inline void press(CDialog& dialog, int id)
{
    static_cast<CButton*>(dialog.GetDlgItem(id))->click();
}

// The id of the dialog's control that holds the input focus, 0 when none does.
inline int focusedId(CDialog& dialog)
{
    processUntil([] { return false; }, 20);
    CWnd* focus = CWnd::fromWidget(QApplication::focusWidget());
    return focus && focus->GetParent() == &dialog ? focus->GetDlgCtrlID() : 0;
}
