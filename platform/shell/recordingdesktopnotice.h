#pragma once

// A notice service for tests: keeps every notice it is given, in order, and shows nothing.
// It takes notices while `accepts` is true and refuses them (as a desktop without a
// notification server would) otherwise.

#include "platform/shell/desktopnotice.h"

#include <vector>

class CRecordingDesktopNoticeService : public CDesktopNoticeService
{
public:
    CRecordingDesktopNoticeService(); // installs itself
    ~CRecordingDesktopNoticeService() override; // puts the previous service back
    CRecordingDesktopNoticeService(const CRecordingDesktopNoticeService&) = delete;
    CRecordingDesktopNoticeService& operator=(const CRecordingDesktopNoticeService&) = delete;

    bool send(const ZorDesktopNotice& notice) override;

    // The notices given, refused ones included.
    std::vector<ZorDesktopNotice> notices;
    bool accepts {true};

private:
    CDesktopNoticeService* m_previous {nullptr};
};
