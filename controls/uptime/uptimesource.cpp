#include "controls/uptime/uptimesource.h"

#include <ctime>

namespace {
ZorUpTimeSource s_source {nullptr};
} // namespace

extern "C" ZorUpTimeSource zorWidgetsSetUpTimeSource(ZorUpTimeSource source)
{
    const ZorUpTimeSource previous = s_source;
    s_source = source;
    return previous;
}

long long zorSystemUpTime()
{
    if (s_source)
        return s_source();
    timespec now {};
    if (clock_gettime(CLOCK_BOOTTIME, &now) != 0)
        return 0;
    return static_cast<long long>(now.tv_sec);
}
