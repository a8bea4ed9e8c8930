#include "platform/shell/recordingstatusicon.h"

CRecordingStatusIconService::CRecordingStatusIconService()
    : m_previous(zorSetStatusIconService(this))
{ }

CRecordingStatusIconService::~CRecordingStatusIconService()
{
    zorSetStatusIconService(m_previous);
}

BOOL CRecordingStatusIconService::notify(DWORD dwMessage, const NOTIFYICONDATAA& data)
{
    const BOOL result = CStatusIconService::notify(dwMessage, data);
    const ZorStatusIcon* icon = find(data.hWnd, data.uID);
    requests.push_back({dwMessage, data, result, icon ? icon->tip : std::string()});
    return result;
}
