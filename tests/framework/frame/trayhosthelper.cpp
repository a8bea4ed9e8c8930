// A program with a tray frame on a real display, driven by the real-tray test through its
// standard input ("minimize", "state", "quit") and reporting on its standard output: the
// frame's traces ("Show %d", "remove"), "taskbar" when the tray's host came back, and
// "state visible=%d shown=%d" when asked.

#include "framework/diagnostics/diagnostics.h"
#include "framework/frame/trayiconframe.h"
#include "platform/ui/winapp.h"

#include <QtCore/QSocketNotifier>
#include <QtWidgets/QApplication>

#include <cstdio>
#include <string>
#include <unistd.h>

namespace {

class CHelperFrame : public CTrayIconFrame
{
public:
    CHelperFrame() : CTrayIconFrame("tray host test", 0, 128, true) { m_bAutoDelete = FALSE; }

protected:
    LRESULT onTaskBarCreated(WPARAM wParam, LPARAM lParam) override
    {
        std::printf("taskbar\n");
        return CTrayIconFrame::onTaskBarCreated(wParam, lParam);
    }
};

} // namespace

int main(int argc, char** argv)
{
    QApplication application(argc, argv);
    QApplication::setApplicationName("trayhosthelper");
    CWinApp app("trayhosthelper");
    createDebugConsole();
    CHelperFrame frame;
    const RECT rect {200, 60, 420, 140};
    if (!frame.Create(nullptr, "Tray host helper", WS_OVERLAPPEDWINDOW, rect))
        return 2;
    frame.ShowWindow(SW_SHOW);
    app.m_pMainWnd = &frame;

    QSocketNotifier input(STDIN_FILENO, QSocketNotifier::Read);
    QObject::connect(&input, &QSocketNotifier::activated, [&] {
        char buffer[256] = {};
        const ssize_t n = read(STDIN_FILENO, buffer, sizeof buffer - 1);
        if (n <= 0) {
            QApplication::quit();
            return;
        }
        const std::string commands(buffer, static_cast<std::size_t>(n));
        if (commands.find("minimize") != std::string::npos)
            frame.PostMessage(WM_SYSCOMMAND, SC_MINIMIZE, 0);
        if (commands.find("state") != std::string::npos)
            std::printf("state visible=%d shown=%d\n", frame.IsWindowVisible() ? 1 : 0,
                frame.iconShown() ? 1 : 0);
        if (commands.find("quit") != std::string::npos)
            QApplication::quit();
    });
    std::printf("ready\n");
    const int result = QApplication::exec();
    app.m_pMainWnd = nullptr;
    frame.DestroyWindow();
    return result;
}
