#include "monitor/probesettings.h"

#include <algorithm>

namespace {

constexpr const char* c_section = "Options";
constexpr const char* c_timeoutValue = "Timeout";
constexpr const char* c_repeatValue = "Repeat";

} // namespace

ProbeSettings readProbeSettings(CProfile& profile)
{
    const ProbeSettings defaults;
    ProbeSettings settings;
    settings.timeoutMs = std::clamp(
        profile.getInt(eKEY_LOCAL_MACHINE, c_section, c_timeoutValue, defaults.timeoutMs),
        c_minProbeTimeoutMs, c_maxProbeTimeoutMs);
    settings.repeat
        = std::clamp(profile.getInt(eKEY_LOCAL_MACHINE, c_section, c_repeatValue, defaults.repeat),
            c_minProbeRepeat, c_maxProbeRepeat);
    return settings;
}

void writeProbeSettings(CProfile& profile, const ProbeSettings& settings)
{
    profile.putInt(eKEY_LOCAL_MACHINE, c_section, c_timeoutValue, settings.timeoutMs);
    profile.putInt(eKEY_LOCAL_MACHINE, c_section, c_repeatValue, settings.repeat);
}
