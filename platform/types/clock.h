#pragma once

// The clock every "now" of the suite reads: the system's wall clock, unless a test has put a
// clock of its own in its place, so that quarter hours, days and time windows can be tested at
// any hour without waiting for it.

#include <ctime>
#include <functional>

// Seconds since the epoch, now.
std::time_t zorTimeNow();

// Replaces the clock for the whole process; an empty function brings the system clock back.
void zorSetClock(std::function<std::time_t()> clock);
