#include "platform/types/clock.h"

#include <cctype>
#include <cerrno>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <mutex>
#include <optional>

namespace {

// Beyond this a second of real time skips a day or more of quarter hours: no use to anyone.
constexpr double c_maxRate = 86400.0;

struct ClockState
{
    std::mutex lock;
    std::function<std::time_t()> clock;
};

ClockState& clockState()
{
    static ClockState state;
    return state;
}

// The environment's clock, read at the first "now" of the process.
const std::optional<SimulatedClock>& environmentClock()
{
    static const std::optional<SimulatedClock> clock = []() -> std::optional<SimulatedClock> {
        SimulatedClock read;
        if (zorClockFromEnvironment(read))
            return read;
        return std::nullopt;
    }();
    return clock;
}

double realSecondsNow()
{
    using namespace std::chrono;
    return duration<double>(system_clock::now().time_since_epoch()).count();
}

} // namespace

bool zorParseClock(const char* text, SimulatedClock& clock)
{
    if (!text || !std::isdigit(static_cast<unsigned char>(*text)))
        return false;
    errno = 0;
    char* end = nullptr;
    const long long origin = std::strtoll(text, &end, 10);
    if (errno == ERANGE || *end != ':')
        return false;
    const char* rateText = end + 1;
    // strtod would take blanks, signs, "inf", "nan" and hexadecimal too.
    if (!std::isdigit(static_cast<unsigned char>(*rateText)))
        return false;
    for (const char* c = rateText; *c; ++c) {
        if (!std::isdigit(static_cast<unsigned char>(*c)) && *c != '.')
            return false;
    }
    const double rate = std::strtod(rateText, &end);
    if (*end != '\0' || !std::isfinite(rate) || rate <= 0.0 || rate > c_maxRate)
        return false;
    clock.origin = static_cast<std::time_t>(origin);
    clock.rate = rate;
    return true;
}

std::time_t zorSimulatedTime(const SimulatedClock& clock, double realSeconds)
{
    const double origin = static_cast<double>(clock.origin);
    return static_cast<std::time_t>(std::floor(origin + (realSeconds - origin) * clock.rate));
}

bool zorClockFromEnvironment(SimulatedClock& clock)
{
    const char* value = std::getenv("ZORVEX_CLOCK");
    if (!value)
        return false;
    if (zorParseClock(value, clock))
        return true;
    std::fprintf(stderr, "ZORVEX_CLOCK=\"%s\" ignored: expected <origin seconds>:<rate>\n", value);
    return false;
}

std::time_t zorTimeNow()
{
    {
        ClockState& state = clockState();
        const std::lock_guard<std::mutex> guard(state.lock);
        if (state.clock)
            return state.clock();
    }
    if (const std::optional<SimulatedClock>& simulated = environmentClock())
        return zorSimulatedTime(*simulated, realSecondsNow());
    return std::time(nullptr);
}

void zorSetClock(std::function<std::time_t()> clock)
{
    ClockState& state = clockState();
    const std::lock_guard<std::mutex> guard(state.lock);
    state.clock = std::move(clock);
}
