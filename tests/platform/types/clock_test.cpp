#include "platform/types/clock.h"
#include "platform/types/oledatetime.h"
#include "tests/support/scopedenvironment.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

namespace {

struct ParseCase
{
    const char* name;
    const char* text;
    bool valid;
    std::time_t origin;
    double rate;
};

class ClockParse : public testing::TestWithParam<ParseCase>
{
};

TEST_P(ClockParse, TakesOriginAndRateOnly)
{
    const ParseCase& c = GetParam();
    SimulatedClock clock {7, 3.0};
    EXPECT_EQ(zorParseClock(c.text, clock), c.valid);
    // A rejected value leaves the clock as it was.
    EXPECT_EQ(clock.origin, c.valid ? c.origin : 7);
    EXPECT_DOUBLE_EQ(clock.rate, c.valid ? c.rate : 3.0);
}

INSTANTIATE_TEST_SUITE_P(Cases, ClockParse,
    testing::Values(ParseCase {"WeekInHalfAnHour", "1765000000:336", true, 1765000000, 336.0},
        ParseCase {"FractionalRate", "1765000000:0.5", true, 1765000000, 0.5},
        ParseCase {"EpochOrigin", "0:1", true, 0, 1.0}, ParseCase {"Empty", "", false, 0, 0},
        ParseCase {"NoOrigin", ":336", false, 0, 0},
        ParseCase {"NoRate", "1765000000", false, 0, 0},
        ParseCase {"EmptyRate", "1765000000:", false, 0, 0},
        ParseCase {"ZeroRate", "1765000000:0", false, 0, 0},
        ParseCase {"NegativeRate", "1765000000:-2", false, 0, 0},
        ParseCase {"NegativeOrigin", "-5:2", false, 0, 0},
        ParseCase {"LeadingBlank", " 17:2", false, 0, 0},
        ParseCase {"TrailingBlank", "17:2 ", false, 0, 0},
        ParseCase {"InfiniteRate", "17:inf", false, 0, 0},
        ParseCase {"HexadecimalRate", "17:0x10", false, 0, 0},
        ParseCase {"ExponentRate", "17:1e3", false, 0, 0},
        ParseCase {"TwoDots", "17:1.2.3", false, 0, 0},
        ParseCase {"ThreeFields", "17:2:3", false, 0, 0},
        ParseCase {"OriginOverflows", "99999999999999999999:2", false, 0, 0},
        ParseCase {"RateBeyondADayPerSecond", "17:100000", false, 0, 0}),
    [](const testing::TestParamInfo<ParseCase>& info) { return info.param.name; });

TEST(ClockParse, NullIsRejected)
{
    SimulatedClock clock;
    EXPECT_FALSE(zorParseClock(nullptr, clock));
}

struct RateCase
{
    const char* name;
    SimulatedClock clock;
    double real;
    std::time_t expected;
};

class ClockRate : public testing::TestWithParam<RateCase>
{
};

TEST_P(ClockRate, RunsFromTheOriginAtTheRate)
{
    const RateCase& c = GetParam();
    EXPECT_EQ(zorSimulatedTime(c.clock, c.real), c.expected);
}

constexpr std::time_t c_origin = 1765000000;

INSTANTIATE_TEST_SUITE_P(Cases, ClockRate,
    testing::Values(RateCase {"AtTheOrigin", {c_origin, 336}, c_origin, c_origin},
        RateCase {"OneRealSecond", {c_origin, 336}, c_origin + 1.0, c_origin + 336},
        RateCase {"HalfARealSecond", {c_origin, 336}, c_origin + 0.5, c_origin + 168},
        // 30 minutes of real time are a week: 672 quarter hours.
        RateCase {"HalfAnHourIsAWeek", {c_origin, 336}, c_origin + 1800.0, c_origin + 604800},
        RateCase {"RealRate", {c_origin, 1}, c_origin + 12345.75, c_origin + 12345},
        RateCase {"TruncatesTowardThePast", {c_origin, 2}, c_origin + 2.9, c_origin + 5},
        RateCase {"BeforeTheOriginRunsBackFaster", {c_origin, 336}, c_origin - 1.0, c_origin - 336},
        RateCase {"SlowerThanReal", {c_origin, 0.5}, c_origin + 10.0, c_origin + 5}),
    [](const testing::TestParamInfo<RateCase>& info) { return info.param.name; });

struct EnvironmentCase
{
    const char* name;
    const char* value; // null: unset
    bool taken;
    bool complaint;
};

class ClockEnvironment : public testing::TestWithParam<EnvironmentCase>
{
};

TEST_P(ClockEnvironment, TakesValidValuesAndNamesMalformedOnes)
{
    const EnvironmentCase& c = GetParam();
    const ScopedEnvironment variable("ZORVEX_CLOCK", c.value);
    SimulatedClock clock;
    testing::internal::CaptureStderr();
    const bool taken = zorClockFromEnvironment(clock);
    const std::string said = testing::internal::GetCapturedStderr();
    EXPECT_EQ(taken, c.taken);
    if (c.complaint) {
        // One line, naming the value.
        EXPECT_NE(said.find(c.value), std::string::npos) << said;
        EXPECT_EQ(said.find('\n'), said.size() - 1) << said;
    } else {
        EXPECT_EQ(said, "");
    }
    if (c.taken) {
        EXPECT_EQ(clock.origin, 1765000000);
    }
}

INSTANTIATE_TEST_SUITE_P(Cases, ClockEnvironment,
    testing::Values(EnvironmentCase {"Unset", nullptr, false, false},
        EnvironmentCase {"Valid", "1765000000:336", true, false},
        EnvironmentCase {"Malformed", "1765000000;336", false, true},
        EnvironmentCase {"Empty", "", false, true}),
    [](const testing::TestParamInfo<EnvironmentCase>& info) { return info.param.name; });

// A program started with the variable reads the faster clock in every "now", the date-time
// class's included; a test's own clock still comes first. Run in a new process, which reads
// the variable at its first "now".
TEST(ClockEnvironmentDeathTest, EveryNowOfAProgramRunsAtTheRate)
{
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(
        {
            const std::time_t real = std::time(nullptr);
            const std::time_t origin = real - 100;
            setenv("ZORVEX_CLOCK", (std::to_string(origin) + ":1000").c_str(), 1);
            const std::time_t now = zorTimeNow();
            const std::time_t current = COleDateTime::GetCurrentTime().GetAsTimeT();
            // 100 real seconds after the origin are 100000 simulated ones (and a few for the
            // time this takes).
            const bool fast = now >= origin + 100000 && now < origin + 110000;
            const bool dateFollows = current >= now && current < now + 10000;
            zorSetClock([] { return std::time_t {42}; });
            const bool overridden = zorTimeNow() == 42;
            std::exit(fast && dateFollows && overridden ? 0 : 1);
        },
        testing::ExitedWithCode(0), "");
}

} // namespace
