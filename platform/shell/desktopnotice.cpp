#include "platform/shell/desktopnotice.h"

#include "platform/shell/dbusdesktopnotice.h"
#include "platform/shell/serviceslot.h"

namespace {

CServiceSlot<CDesktopNoticeService, CDBusDesktopNoticeService> g_service;

} // namespace

CDesktopNoticeService* zorSetDesktopNoticeService(CDesktopNoticeService* service)
{
    return g_service.install(service);
}

CDesktopNoticeService& zorDesktopNoticeService()
{
    return g_service.current();
}
