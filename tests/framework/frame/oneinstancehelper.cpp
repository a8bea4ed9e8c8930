// One start of a guarded program, for the one-instance guard's tests.
//
//   framework_frame_guardhelper second <class name>
//       runs the guard's test and prints "first" or "not first".
//   framework_frame_guardhelper first <class name>
//       must be the first instance: shows a minimised main window, makes itself findable and
//       prints "listening"; prints "restored" and ends with 0 once a later start has brought
//       the window back and activated it, or prints "timeout" and ends with 1 after 10 s.

#include "framework/frame/oneinstance.h"
#include "platform/types/rect.h"
#include "platform/ui/window.h"

#include <QtCore/QElapsedTimer>
#include <QtCore/QTimer>
#include <QtWidgets/QApplication>
#include <QtWidgets/QWidget>

#include <cstdio>
#include <cstring>

int main(int argc, char** argv)
{
    if (argc != 3)
        return 64;
    QApplication app(argc, argv);
    COneInstance guard;
    if (!guard.initOneInstance(argv[2], nullptr, nullptr))
        return 65;

    if (std::strcmp(argv[1], "second") == 0) {
        std::printf("%s\n", guard.isFirstInstance() ? "first" : "not first");
        return 0;
    }
    if (std::strcmp(argv[1], "first") != 0)
        return 64;

    if (!guard.isFirstInstance()) {
        std::printf("not first\n");
        return 2;
    }
    CWnd mainWindow;
    if (!mainWindow.CreateEx(0, nullptr, "guarded",
            WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX, CRect(40, 40, 340, 240),
            nullptr, 0))
        return 3;
    mainWindow.ShowWindow(SW_SHOWMINIMIZED);
    if (!guard.createOneInstanceWindow(&mainWindow))
        return 3;
    std::printf("listening\n");
    std::fflush(stdout);

    QElapsedTimer elapsed;
    elapsed.start();
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&] {
        if (!mainWindow.IsIconic() && mainWindow.widget()->isActiveWindow()) {
            std::printf("restored\n");
            app.exit(0);
        } else if (elapsed.elapsed() > 10000) {
            std::printf("timeout\n");
            app.exit(1);
        }
    });
    poll.start(20);
    return app.exec();
}
