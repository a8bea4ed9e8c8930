#pragma once

// Desktop notifications: a short message, a summary line and a body, that the desktop shows
// for a while apart from any window, and that the user may read again in the desktop's own
// list of notifications.
//
// A notice goes to the notice service in use. The built-in one (CDBusDesktopNoticeService)
// hands it to the desktop's notification server, the freedesktop notification service on the
// session bus; tests install a CRecordingDesktopNoticeService, which keeps the notices without
// showing anything. Sending never waits for the desktop and never shows anything of its own:
// where no server answers, the notice is simply not shown.

#include <string>

struct ZorDesktopNotice
{
    // The name of the program the notice comes from, as the desktop shows it.
    std::string appName;
    // The name of an icon of the desktop's icon theme (the program's installed icon), or empty.
    std::string icon;
    // One short line: what happened.
    std::string summary;
    // Plain text of a line or two; the server may read it as simple markup, so it carries no
    // '<' or '&' of its own.
    std::string body;
    // Milliseconds the notice stays; -1 leaves it to the desktop, 0 keeps it until it is closed.
    int expireTimeout {-1};
};

// The notice service: hands notices to whatever shows them.
class CDesktopNoticeService
{
public:
    virtual ~CDesktopNoticeService() = default;

    // Hands the notice on without waiting for it to be shown; false when it could not be sent
    // at all (no notification server can be reached now). Whether the desktop then shows it is
    // not known here.
    virtual bool send(const ZorDesktopNotice& notice) = 0;
};

// Installs a service for all later notices and returns the previous one; null restores the
// built-in one. The caller keeps ownership.
CDesktopNoticeService* zorSetDesktopNoticeService(CDesktopNoticeService* service);
// The service in use: the installed one, else the built-in one.
CDesktopNoticeService& zorDesktopNoticeService();
