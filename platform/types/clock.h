#pragma once

// The clock every "now" of the suite reads: the system's wall clock, unless a test has put a
// clock of its own in its place, so that quarter hours, days and time windows can be tested at
// any hour without waiting for it.
//
// A program under test can be given a faster clock from outside, for tests and soaks that run
// the real programs: ZORVEX_CLOCK="<origin>:<rate>", origin in whole seconds since the epoch
// and rate a positive number, makes now = origin + (real now - origin) * rate. Every process
// started with the same value reads the same time, so a program killed and started again
// goes on in the same simulated time. The value is read once per process; a malformed one is
// ignored with one line on standard error. Only "now" moves faster: timers, waits and
// measured round trips keep real time.

#include <ctime>
#include <functional>

// Seconds since the epoch, now.
std::time_t zorTimeNow();

// Replaces the clock for the whole process; an empty function brings the system clock back
// (or the environment's clock, when one is set). It takes precedence over the environment's.
void zorSetClock(std::function<std::time_t()> clock);

// A clock running at a rate from an origin, as ZORVEX_CLOCK gives it.
struct SimulatedClock
{
    std::time_t origin {0};
    double rate {1.0};
};

// Parses "<origin>:<rate>": origin decimal digits, rate a finite decimal number above 0;
// false for anything else.
bool zorParseClock(const char* text, SimulatedClock& clock);

// The clock's time at the real time (seconds since the epoch, with fractions), truncated
// toward the past.
std::time_t zorSimulatedTime(const SimulatedClock& clock, double realSeconds);

// The clock ZORVEX_CLOCK sets: true with the clock when the variable holds a valid value; false
// when it is unset, and false after one line on standard error when it is malformed.
bool zorClockFromEnvironment(SimulatedClock& clock);
