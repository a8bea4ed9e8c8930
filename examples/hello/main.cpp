// zorvexhello: a program on the installed Zorvex framework. Its application object is a
// CzorApp, which gives it the suite's start-up (settings store, one-instance guard, version
// check of the framework library) and its settings; it opens one dialog from a template held
// as data and counts its runs in the settings store.
//
//     zorvexhello [--close-after MILLISECONDS] [QT-OPTION]...
//
// It answers --help and --version like every program of the suite. With --close-after the
// dialog closes itself (for scripted runs); the program then prints which run it was.

#include "framework/frame/zorapp.h"
#include "platform/ui/dialog.h"
#include "platform/ui/dialogtemplate.h"
#include "platform/ui/programline.h"

#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

constexpr UINT IDD_HELLO = 100;
constexpr int IDC_GREETING = 1000;
constexpr UINT_PTR c_closeTimer = 1;

// From --close-after: how long the dialog stays open; 0 until the user closes it.
int s_closeAfterMs = 0;

ZOR_DIALOG_TABLE({
    {IDD_HELLO, "Zorvex Hello", 200, 62, "MS Sans Serif", 8,
        DS_SETFONT | DS_MODALFRAME | WS_POPUP | WS_CAPTION | WS_SYSMENU,
        {
            {eDLG_STATIC, IDC_GREETING, "", 7, 7, 186, 24, SS_LEFT},
            {eDLG_BUTTON, IDOK, "OK", 143, 41, 50, 14, BS_DEFPUSHBUTTON | WS_TABSTOP},
        }},
});

class CHelloDialog : public CDialog
{
public:
    CHelloDialog(int run, int closeAfterMs)
        : CDialog(IDD_HELLO), m_run(run), m_closeAfterMs(closeAfterMs)
    { }

    BOOL OnInitDialog() override
    {
        CDialog::OnInitDialog();
        SetDlgItemText(IDC_GREETING,
            ("Hello from the Zorvex framework. This is run " + std::to_string(m_run) + ".")
                .c_str());
        if (m_closeAfterMs > 0)
            SetTimer(c_closeTimer, static_cast<UINT>(m_closeAfterMs), nullptr);
        return TRUE;
    }

    void OnTimer(UINT_PTR nIDEvent) override
    {
        if (nIDEvent == c_closeTimer) {
            KillTimer(c_closeTimer);
            EndDialog(IDOK);
        }
    }

private:
    int m_run;
    int m_closeAfterMs;
};

class CHelloApp : public CzorApp
{
public:
    CHelloApp() : CzorApp("Zorvex", "Hello", "V1.00", 63, 0, "") { }

    BOOL InitInstance() override
    {
        if (!initInstance("2002.06.11.00"))
            return FALSE;
        const int run = getInt(eKEY_CURRENT_USER, "Options", "Runs", 0) + 1;
        putInt(eKEY_CURRENT_USER, "Options", "Runs", run);

        CHelloDialog dialog(run, s_closeAfterMs);
        m_pMainWnd = &dialog;
        const INT_PTR result = dialog.DoModal();
        m_pMainWnd = nullptr;
        std::printf("zorvexhello: run %d, the dialog closed with %s\n", run,
            result == IDOK ? "OK" : "Cancel");
        return FALSE;
    }

    UINT getIconId() override { return 0; }
    const char* const* getModuleList() override { return c_modules; }
    std::string getBuildTime() override { return __DATE__ " " __TIME__; }

private:
    static constexpr const char* c_modules[] = {"zorbase29.dll", ""};
};

CHelloApp s_theApp;

} // namespace

int main(int argc, char** argv)
{
    CProgramLine line("zorvexhello", {"[--close-after MILLISECONDS] [QT-OPTION]..."},
        "Opens a dialog through the Zorvex framework and counts its runs.",
        {{{"--close-after"}, "MILLISECONDS", "close the dialog by itself after that time"}});
    line.setWindowProgram(true);
    line.setOperands(0, 0);
    line.setCheck([](const std::vector<std::string>& words, std::string* error) {
        for (size_t i = 0; i + 1 < words.size(); ++i) {
            if (words[i] == "--close-after") {
                s_closeAfterMs = std::atoi(words[i + 1].c_str());
                if (s_closeAfterMs <= 0) {
                    *error = "invalid time '" + words[i + 1] + "'";
                    return false;
                }
            }
        }
        return true;
    });
    return zorRunApplication(argc, argv, line);
}
