#include "platform/shell/desktopnotice.h"

#include "platform/shell/dbusdesktopnotice.h"

namespace {

CDesktopNoticeService* g_service = nullptr;

} // namespace

CDesktopNoticeService* zorSetDesktopNoticeService(CDesktopNoticeService* service)
{
    CDesktopNoticeService* previous = g_service;
    g_service = service;
    return previous;
}

CDesktopNoticeService& zorDesktopNoticeService()
{
    static CDBusDesktopNoticeService builtIn;
    return g_service ? *g_service : builtIn;
}
