#include "platform/shell/shelllauncher.h"

#include "platform/shell/processshelllauncher.h"

namespace {

IShellLauncher* g_launcher = nullptr;

} // namespace

IShellLauncher* zorSetShellLauncher(IShellLauncher* launcher)
{
    IShellLauncher* previous = g_launcher;
    g_launcher = launcher;
    return previous;
}

IShellLauncher& zorShellLauncher()
{
    static CProcessShellLauncher builtIn;
    return g_launcher ? *g_launcher : builtIn;
}
