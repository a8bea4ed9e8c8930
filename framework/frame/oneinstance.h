#pragma once

// The one-instance guard of the application frame.
//
// A second start of the same application and version by the same user brings the running
// instance's main window to the front (restored if minimised) and ends silently.
//
// The guard is a per-user local socket named from the guard's class name ("Class:<application
// name><version>"): "zorvex-<uid>-<class name>", every character other than letters, digits,
// '.' and '-' written as '_' followed by its two hexadecimal digits, so different class names
// never share a socket. It lives in $XDG_RUNTIME_DIR (the user's private run-time folder)
// or, without one, in the temporary folder, and only the user may connect to it.
//
// - initOneInstance stores the class name (and the icon and cursor for the window layer);
//   nothing is visible to other processes yet.
// - createOneInstanceWindow starts listening: from then on the running instance is findable.
//   A later start that connects sends "activate"; the guard climbs from the main window to
//   its topmost owner, restores it when it is minimised, brings it to the foreground and to
//   the top of the window order without moving or sizing it (on the thread that owns the
//   window) and answers "activated".
// - isFirstInstance connects: no socket means this is the first instance (true); a running
//   instance is told to activate itself (false). A socket file left behind by an instance that
//   crashed refuses the connection; it is removed and the start goes on as the first.
//
// Two starts at the very same moment can both find no running instance, as with the window
// search this guard stands for; the later one's createOneInstanceWindow then fails.

#include "platform/types/wintypes.h"
#include "platform/ui/window.h"

#include <memory>
#include <string>

class QLocalServer;

class COneInstance
{
public:
    // The guard's class record. The icon and cursor are handles of the resource service (a
    // null cursor means the standard arrow); the guard keeps them and draws nothing.
    struct WindowClass
    {
        std::string className;
        HICON icon {nullptr};
        HCURSOR cursor {nullptr};
    };

    COneInstance();
    virtual ~COneInstance();
    COneInstance(const COneInstance&) = delete;
    COneInstance& operator=(const COneInstance&) = delete;

    // Fills the class record; true when the class name is not empty. Fails once the guard
    // listens.
    bool initOneInstance(const std::string& className, HICON icon, HCURSOR cursor);
    // True when no instance of this class runs for this user; otherwise the running one is
    // brought to the front and the answer is false.
    bool isFirstInstance();
    // Makes this instance findable, with the main window (or the top-level window it is in)
    // as the one later starts bring to the front; true when listening. The window is held by
    // its handle, so it may be destroyed before the guard.
    bool createOneInstanceWindow(CWnd* mainWindow);

    const WindowClass& getWndClass() const { return m_wndClass; }
    std::string getClassName() const { return m_wndClass.className; }
    // The full path of the guard's socket; empty before initOneInstance.
    std::string getServerName() const;

private:
    void activateMainWindow();

    WindowClass m_wndClass;
    std::unique_ptr<QLocalServer> m_server;
    HWND m_hMainWnd {nullptr};
};
