#include "platform/shell/recordingdesktopnotice.h"

CRecordingDesktopNoticeService::CRecordingDesktopNoticeService()
    : m_previous(zorSetDesktopNoticeService(this))
{ }

CRecordingDesktopNoticeService::~CRecordingDesktopNoticeService()
{
    zorSetDesktopNoticeService(m_previous);
}

bool CRecordingDesktopNoticeService::send(const ZorDesktopNotice& notice)
{
    notices.push_back(notice);
    return accepts;
}
