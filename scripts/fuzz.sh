#!/usr/bin/env bash
# Usage: scripts/fuzz.sh NAME SECONDS
# Builds the libFuzzer target fuzz_NAME (tests/fuzz/fuzz_NAME.cpp) in a fuzzing build of the
# suite (clang, address and undefined-behaviour checks, every library instrumented), seeds it
# from tests/fuzz/corpus/NAME/, runs it for SECONDS, then merges what it found into that corpus,
# keeping only the inputs that add coverage. Failing inputs are left in the run folder
# (crash-*, leak-*, timeout-*, oom-*) and make the script fail.
# The build goes to $FUZZ_BUILD_DIR (default build-fuzz/suite), the runs to its runs/NAME.
set -euo pipefail
cd "$(dirname "$0")/.."

if [ $# -ne 2 ]; then
    echo "usage: $0 NAME SECONDS" >&2
    exit 2
fi
name=$1
seconds=$2
if [ ! -f "tests/fuzz/fuzz_$name.cpp" ]; then
    echo "$0: no fuzz target '$name' (tests/fuzz/fuzz_$name.cpp)" >&2
    exit 2
fi

# The largest input worth trying (the formats' own headers and records are small), and how
# long one input may take before it counts as a hang. A metafile of a few hundred bytes may
# draw a curve of thousands of corners with a wide pen across the whole picture: a few tenths
# of a second in the program, twenty to thirty times that in this checked build.
timeout=10
case $name in
pcx | tga) max_len=8192 ;;
metafile) max_len=8192 timeout=30 ;;
*) max_len=4096 ;;
esac

build=${FUZZ_BUILD_DIR:-build-fuzz/suite}
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_C_COMPILER=clang-14 \
    -DCMAKE_CXX_COMPILER=clang++-14 -DZOR_FUZZ=ON >/dev/null
cmake --build "$build" --target "fuzz_$name" -- -j"$(nproc 2>/dev/null || echo 2)" >/dev/null

out=$build/runs/$name
corpus=tests/fuzz/corpus/$name
rm -rf "$out"
mkdir -p "$out/new" "$out/registry" "$corpus"
cp "$build/fuzz/fuzz_$name" "$out/"
# As the replay tests run them: no display, and a settings store of the run's own.
export QT_QPA_PLATFORM=offscreen
export ZORVEX_REGISTRY=$PWD/$out/registry
# Leaks inside the system's own libraries (fontconfig's caches) are not the suite's.
export LSAN_OPTIONS=suppressions=$PWD/tests/sanitizers/lsan.supp

# New inputs go to $out/new; the corpus folder only seeds the run.
(cd "$out" && "./fuzz_$name" -max_total_time="$seconds" -max_len="$max_len" -timeout="$timeout" \
    -rss_limit_mb=2048 -print_final_stats=1 new "$OLDPWD/$corpus") 2>&1 | tee "$out/run.log" \
    | grep -E '^(#[0-9]+ *DONE|stat::|==[0-9]+==ERROR|SUMMARY|artifact_prefix|Test unit written)' || true
# Each kind of failing input on its own: a list of patterns fails as soon as one matches nothing.
failed=""
for kind in crash leak timeout oom; do
    if compgen -G "$out/$kind-*" >/dev/null; then
        failed=1
    fi
done
if [ -n "$failed" ]; then
    echo "$0: the run left failing inputs in $out" >&2
    exit 1
fi

# Merge corpus and new inputs into a fresh folder of the inputs that add coverage, and make
# that the corpus. Named inputs (seed-*, regression-*, crash-*: the writers' own files and every
# failure found) always stay, whatever coverage they add.
rm -rf "$out/merged" "$out/kept"
mkdir -p "$out/merged" "$out/kept"
find "$corpus" -maxdepth 1 -type f \( -name 'seed-*' -o -name 'regression-*' -o -name 'crash-*' \) \
    -exec cp {} "$out/kept/" \;
"$out/fuzz_$name" -merge=1 -max_len="$max_len" "$out/merged" "$out/kept" "$corpus" "$out/new" \
    >"$out/merge.log" 2>&1
find "$corpus" -maxdepth 1 -type f -delete
cp "$out/kept"/* "$out/merged"/* "$corpus"/ 2>/dev/null || true
# A merged copy of a named input is the same bytes under its hash: only the name stays.
for kept in "$out/kept"/*; do
    [ -e "$kept" ] || continue
    rm -f "$corpus/$(sha1sum "$kept" | cut -d' ' -f1)"
done
rm -rf "$out/new"
echo "$name: corpus $(ls "$corpus" | wc -l) files, $(du -sk "$corpus" | cut -f1) KiB"
