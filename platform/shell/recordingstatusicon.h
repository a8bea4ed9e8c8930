#pragma once

// A status-icon service for tests: keeps the icon table as the shell does and records every
// request (its record as given), showing nothing. The host takes icons while `hostAccepts`
// is true. click stands for mouse activity on an icon, restartHost for the tray's host going
// and coming back.

#include "platform/shell/statusicon.h"

#include <string>
#include <vector>

class CRecordingStatusIconService : public CStatusIconService
{
public:
    struct Request
    {
        DWORD message {0};
        NOTIFYICONDATAA data;
        BOOL result {FALSE};
        // The tooltip as the service read it.
        std::string tip;
    };

    CRecordingStatusIconService(); // installs itself
    ~CRecordingStatusIconService() override; // puts the previous service back
    CRecordingStatusIconService(const CRecordingStatusIconService&) = delete;
    CRecordingStatusIconService& operator=(const CRecordingStatusIconService&) = delete;

    BOOL notify(DWORD dwMessage, const NOTIFYICONDATAA& data) override;

    bool click(HWND owner, UINT id, UINT mouseMessage)
    {
        return deliverMouse(owner, id, mouseMessage);
    }
    void restartHost()
    {
        hostLost();
        hostCame();
    }

    std::vector<Request> requests;
    bool hostAccepts {true};

protected:
    bool showIcon(const ZorStatusIcon&) override { return hostAccepts; }
    bool updateIcon(const ZorStatusIcon&) override { return hostAccepts; }
    void removeIcon(const ZorStatusIcon&) override { }

private:
    CStatusIconService* m_previous {nullptr};
};
