#!/usr/bin/env bash
# Builds the suite with the address, leak and undefined-behaviour sanitizers into build-asan/
# (or $SANITIZE_BUILD_DIR) and runs its tests there through CTest; the test command runs it after
# the normal build's tests. GCC, so the suite's warnings stay fatal and the shared libasan serves
# the control modules the tests load by path. -O1 with line tables only (-g1) compiles faster
# than the normal build and still gives every report its file and line.
#
# Building the whole suite a second time does not fit the test command's time on two cores, so
# only the test programs that matter most are built and run, in this order of importance: the
# platform layer (platform_*), the framework (framework_*), the fuzz replays (fuzz_replay_*),
# the control modules (controls_*, clock_tests, pathpick_tests, picture_tests) and the monitor's
# engine (monitor_database_tests, monitor_sampling_tests, monitor_hostslot_tests,
# monitor_graphfeed_tests), with the modules and helper programs they start. The normal run has
# every test; the monitor's windows, its program test, the servers, the tools and the package
# are left to it. SANITIZE_TESTS (a CTest name pattern) picks others, "." all of them (but the
# package test and the include check, which build no program of their own).
#
# The first error of any kind ends the program with a stack and fails its test. Leaks are
# reported when a program ends; tests/sanitizers/lsan.supp names the only ones passed over,
# inside Qt's and the system's own libraries, never the suite's.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
dir=${SANITIZE_BUILD_DIR:-build-asan}
jobs=$(nproc 2>/dev/null || echo 2)

tests=${SANITIZE_TESTS:-^(platform_|framework_|fuzz_replay_|controls_|clock_tests$|pathpick_tests$|picture_tests$|monitor_(database|sampling|hostslot|graphfeed)_tests$)}

cmake -S . -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DZOR_SANITIZE=ON \
    "-DCMAKE_CXX_FLAGS_RELWITHDEBINFO=-O1 -g1 -DNDEBUG" \
    "-DCMAKE_C_FLAGS_RELWITHDEBINFO=-O1 -g1 -DNDEBUG" >/dev/null
# In this build every test program is one test of the same name (cmake/ZorvexTargets.cmake), so
# the tests chosen name the targets to build.
others='^(package_install|layering_includes)$'
mapfile -t targets < <(ctest --test-dir "$dir" -N -R "$tests" -E "$others" \
    | sed -n 's/^ *Test *#[0-9]*: //p')
if [ ${#targets[@]} -eq 0 ]; then
    echo "sanitize.sh: no test matches $tests" >&2
    exit 1
fi
start=$SECONDS
cmake --build "$dir" -j"$jobs" --target "${targets[@]}"
echo "sanitize.sh: built ${#targets[@]} test programs in $((SECONDS - start)) s" >&2

export ASAN_OPTIONS="halt_on_error=1:detect_leaks=1:check_initialization_order=1:strict_init_order=1:detect_stack_use_after_return=0:print_summary=1"
export UBSAN_OPTIONS="halt_on_error=1:print_stacktrace=1"
export LSAN_OPTIONS="suppressions=$root/tests/sanitizers/lsan.supp:print_suppressions=0"
start=$SECONDS
status=0
ctest --test-dir "$dir" --output-on-failure -j"$jobs" -R "$tests" -E "$others" || status=1
echo "sanitize.sh: ran them in $((SECONDS - start)) s" >&2
exit "$status"
