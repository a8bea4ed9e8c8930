#!/usr/bin/env bash
# Sets the machine up, builds the suite and runs every test through CTest; then builds the suite
# again with the address, leak and undefined-behaviour sanitizers and runs the tests there too
# (scripts/sanitize.sh, build-asan/). Fails when either run fails; both always run. Each step
# says how long it took: on two idle cores without a compiler cache the whole takes about 26
# minutes, nearly half of it for each of the two builds (12 and 11 minutes).
set -euo pipefail
cd "$(dirname "$0")/.."
step() {
    echo "test.sh: $1 took $((SECONDS - mark)) s" >&2
    mark=$SECONDS
}
mark=$SECONDS
bash scripts/setup.sh
step setup
bash scripts/build.sh
step build
jobs=$(nproc 2>/dev/null || echo 2)
status=0
ctest --test-dir build --output-on-failure -j"$jobs" || status=1
step tests
# The sanitizer run fits the test command's 40 minutes on two cores when the steps before it
# took their usual 14; on a slower machine it keeps to the readers of outside data (the
# platform, the framework and the fuzz replays) and says so, rather than overrunning.
if [ -z "${SANITIZE_TESTS:-}" ] && [ "$SECONDS" -gt $((22 * 60)) ]; then
    export SANITIZE_TESTS='^(platform_|framework_|fuzz_replay_)'
    echo "test.sh: $((SECONDS / 60)) minutes gone: the sanitizer run takes the platform," \
        "framework and fuzz replay tests only" >&2
fi
bash scripts/sanitize.sh || status=1
step "sanitizer build and tests"
exit "$status"
