#pragma once

// The system up-time the up-time control shows: whole seconds since the system started, from
// the monotonic boot clock (CLOCK_BOOTTIME, which also counts time spent suspended). The value
// is 64-bit and never wraps, unlike a 32-bit millisecond tick count, which returns to 0 after
// about 49.7 days.
//
// Test hook: programs that test the control install their own source through the module's
// exported zorWidgetsSetUpTimeSource (found by name in the loaded module), so that a test sets
// the up-time instead of waiting for it; null restores the boot clock.

using ZorUpTimeSource = long long (*)();

extern "C" __attribute__((visibility("default"))) ZorUpTimeSource zorWidgetsSetUpTimeSource(
    ZorUpTimeSource source);

// Seconds since the system started (from the installed source when there is one); 0 when the
// clock cannot be read.
long long zorSystemUpTime();
