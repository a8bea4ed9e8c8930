#include "platform/types/clock.h"

#include <mutex>

namespace {

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

} // namespace

std::time_t zorTimeNow()
{
    ClockState& state = clockState();
    const std::lock_guard<std::mutex> guard(state.lock);
    return state.clock ? state.clock() : std::time(nullptr);
}

void zorSetClock(std::function<std::time_t()> clock)
{
    ClockState& state = clockState();
    const std::lock_guard<std::mutex> guard(state.lock);
    state.clock = std::move(clock);
}
