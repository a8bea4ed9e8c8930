#include "platform/shell/shelllauncher.h"

#include "platform/shell/processshelllauncher.h"
#include "platform/shell/serviceslot.h"

namespace {

CServiceSlot<IShellLauncher, CProcessShellLauncher> g_launcher;

} // namespace

IShellLauncher* zorSetShellLauncher(IShellLauncher* launcher)
{
    return g_launcher.install(launcher);
}

IShellLauncher& zorShellLauncher()
{
    return g_launcher.current();
}
