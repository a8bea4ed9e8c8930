#pragma once

// How the monitor probes each host: the echo timeout and the number of echo requests per probe.
//
// Both live as "Timeout" (milliseconds, default 1000) and "Repeat" (default 3) in section
// "Options" under the local-machine root of the settings store, apart from the user's own
// settings: the main window reads them, the Options dialog alone writes them. A local-machine
// store the user may not write to ignores the write without a word, and the next read then gives
// the old values back.
//
// A value outside the range the Options dialog accepts (500 to 5000 ms, 1 to 5 requests) can
// only have been put in the store by other means; it is read as the nearest value inside the
// range, since a repeat count of 0 would show every host as down and a huge timeout or count
// would freeze the window for minutes at every sampling pass.

#include "framework/settings/profile.h"

struct ProbeSettings
{
    int timeoutMs {1000};
    int repeat {3};
};

// The ranges the Options dialog accepts.
constexpr int c_minProbeTimeoutMs = 500;
constexpr int c_maxProbeTimeoutMs = 5000;
constexpr int c_minProbeRepeat = 1;
constexpr int c_maxProbeRepeat = 5;

ProbeSettings readProbeSettings(CProfile& profile);
void writeProbeSettings(CProfile& profile, const ProbeSettings& settings);
