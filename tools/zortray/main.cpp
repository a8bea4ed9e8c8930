// zortray: a small program that lives in the notification area. With "--tray" it starts there.

#include "platform/ui/programline.h"
#include "platform/ui/winapp.h"
#include "tools/zortray/trayframe.h"

#include <string>

namespace {

class CTrayApp : public CWinApp
{
public:
    CTrayApp() : CWinApp("ZorTray") { }

    BOOL InitInstance() override
    {
        auto* frame = new CSampleTrayFrame;
        if (!frame->Create(
                nullptr, "Zorvex Tray Sample", WS_OVERLAPPEDWINDOW, CRect(100, 100, 560, 200))) {
            delete frame;
            return FALSE;
        }
        m_pMainWnd = frame;
        frame->ShowWindow(SW_SHOW);
        if (m_lpCmdLine.find("--tray") != std::string::npos)
            frame->PostMessage(WM_SYSCOMMAND, SC_MINIMIZE, 0);
        return TRUE;
    }
};

// The one application object.
CTrayApp s_theApp;

} // namespace

int main(int argc, char** argv)
{
    CProgramLine line("zortray", {"[--tray] [QT-OPTION]..."},
        "Shows a small window that can live in the notification area.",
        {{{"--tray"}, "", "start minimised, in the notification area"}});
    line.setWindowProgram(true);
    line.setOperands(0, 0);
    return zorRunApplication(argc, argv, line);
}
