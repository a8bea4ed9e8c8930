#pragma once

// The application object: the one QApplication of the process, the main window, the message
// pump, and the registry key of the application's settings.
//
// A program makes one CWinApp-derived object; zorRunApplication(argc, argv) (the program's
// main) makes the QApplication, calls InitInstance, runs the message pump while the main
// window lives when InitInstance returned non-zero, and returns ExitInstance's result. The
// pump hands every input event to PreTranslateMessage of the window it is for and of each of
// its parents, as the platform's pump does, before the window sees it.
//
// The end of the session: the platform asks the main window whether the session may end
// (WM_QUERYENDSESSION) and then tells it whether it ends (WM_ENDSESSION, wParam TRUE or
// FALSE), after which a program whose window agreed is ended. Here a request to terminate
// (SIGTERM, as a desktop's session manager or `kill` sends it) or an interrupt from the
// terminal (SIGINT, Ctrl+C) stands for the session ending: zorRunApplication watches both
// signals, and each one arriving delivers the two messages on the thread of the windows, then
// ends the message pump when the main window agreed. A window that refuses keeps the program
// running. Without a main window (the program is still starting) and for a second signal that
// arrives before the first one was delivered (the thread is busy and cannot answer) the signal
// ends the program at once, as if nothing watched the signals.

#include "platform/module/module.h"
#include "platform/types/wintypes.h"
#include "platform/ui/resources.h"
#include "platform/ui/window.h"

#include <string>

class QApplication;
class CProgramLine;

// The session's end (see above). lParam of both messages: ENDSESSION_CLOSEAPP, the program
// is asked to close rather than the whole session ending.
constexpr UINT WM_ENDSESSION = 0x0016;
constexpr LPARAM ENDSESSION_CLOSEAPP = 0x00000001;

// The standard command identifiers.
constexpr UINT ID_APP_ABOUT = 0xE140; // 57664
constexpr UINT ID_APP_EXIT = 0xE141;
constexpr UINT ID_HELP = 0xE146;

class CWinApp
{
public:
    explicit CWinApp(const char* lpszAppName = nullptr);
    virtual ~CWinApp();
    CWinApp(const CWinApp&) = delete;
    CWinApp& operator=(const CWinApp&) = delete;

    virtual BOOL InitInstance() { return TRUE; }
    // Runs the message pump until the main window is destroyed or the application quits.
    virtual int Run();
    virtual int ExitInstance();
    virtual BOOL PreTranslateMessage(MSG* pMsg);

    HICON LoadIcon(UINT nIDResource) const;
    HCURSOR LoadStandardCursor(const char* lpszCursorName) const;
    HCURSOR LoadCursor(UINT nIDResource) const;
    // The application's registry key (the company name) for the platform's settings calls.
    void SetRegistryKey(const char* lpszRegistryKey);
    std::string registryKey() const { return m_registryKey; }

    // Ends the pump with the exit code (PostQuitMessage).
    static void quit(int nExitCode = 0);

    CWnd* m_pMainWnd {nullptr};
    std::string m_pszAppName;
    std::string m_pszExeName;
    HINSTANCE m_hInstance {nullptr};
    std::string m_lpCmdLine;

private:
    std::string m_registryKey;
};

CWinApp* AfxGetApp();
CWnd* AfxGetMainWnd();
HINSTANCE AfxGetInstanceHandle();
void PostQuitMessage(int nExitCode);

// Makes the QApplication (when none exists), runs InitInstance of the application object and
// then the pump; returns the exit code.
int zorRunApplication(int argc, char** argv);
// The same for a program with a command line of its own (programline.h): --help and --version
// are answered before anything else, a program that cannot open a window under this
// environment ends with one line and status 1, and a wrong line (after Qt took its own
// options) with one line and status 2; only then do InitInstance and the pump run.
int zorRunApplication(int argc, char** argv, const CProgramLine& line);

// Watches SIGTERM and SIGINT and turns each into the end of the session, delivered on the
// thread of the windows (a QApplication must exist); true when the watch is in place.
// zorRunApplication calls it; calling it again does nothing more.
bool zorWatchSessionEnd();
// Stops watching: both signals get back the handling they had before.
void zorUnwatchSessionEnd();
// Delivers the end of the session now, as a watched signal does: WM_QUERYENDSESSION and
// WM_ENDSESSION to the main window, then the end of the pump when it agreed. True when the
// session ended.
bool zorEndSession();
