#!/usr/bin/env bash
# Usage: scripts/fuzz.sh NAME SECONDS
# Builds the libFuzzer target tests/fuzz/fuzz_NAME.cpp with clang, address and undefined
# behaviour checks, seeds it from tests/fuzz/corpus/NAME/, runs it for SECONDS, then merges what
# it found into that corpus, keeping only the inputs that add coverage. Crashing inputs are left
# in the build folder (crash-*) and make the script fail.
# The build goes to $FUZZ_BUILD_DIR/NAME (default build-fuzz/NAME); outside the CMake build,
# since our own readers need nothing but their sources.
set -euo pipefail
cd "$(dirname "$0")/.."

if [ $# -ne 2 ]; then
    echo "usage: $0 NAME SECONDS" >&2
    exit 2
fi
name=$1
seconds=$2

imaging=platform/imaging
case $name in
pcx) sources=("$imaging/pcxdecoder.cpp" "$imaging/rgbpicture.cpp"); max_len=8192 ;;
tga) sources=("$imaging/tgadecoder.cpp" "$imaging/rgbpicture.cpp"); max_len=8192 ;;
jpegsegments) sources=("$imaging/jpegsegments.cpp"); max_len=4096 ;;
*)
    echo "$0: no fuzz target '$name' (add its sources to this script)" >&2
    exit 2
    ;;
esac

cxx=${CXX_FUZZ:-clang++-14}
out=${FUZZ_BUILD_DIR:-build-fuzz}/$name
corpus=tests/fuzz/corpus/$name
mkdir -p "$out/new" "$corpus"
"$cxx" -std=c++20 -O1 -g -fno-omit-frame-pointer \
    -fsanitize=fuzzer,address,undefined -fno-sanitize-recover=undefined \
    -I. "tests/fuzz/fuzz_$name.cpp" "${sources[@]}" -o "$out/fuzz_$name"

# New inputs go to $out/new; the corpus folder only seeds the run.
(cd "$out" && "./fuzz_$name" -max_total_time="$seconds" -max_len="$max_len" -timeout=10 \
    -rss_limit_mb=2048 -print_final_stats=1 new "$OLDPWD/$corpus") 2>&1 | tee "$out/run.log" \
    | grep -E '^(#[0-9]+ *DONE|stat::|==[0-9]+==ERROR|SUMMARY|artifact_prefix|Test unit written)' || true
if ls "$out"/crash-* "$out"/leak-* "$out"/timeout-* "$out"/oom-* >/dev/null 2>&1; then
    echo "$0: the run left failing inputs in $out" >&2
    exit 1
fi

# Merge corpus and new inputs into a fresh folder of the inputs that add coverage, and make
# that the corpus.
rm -rf "$out/merged"
mkdir -p "$out/merged"
"$out/fuzz_$name" -merge=1 -max_len="$max_len" "$out/merged" "$corpus" "$out/new" \
    >"$out/merge.log" 2>&1
rm -f "$corpus"/*
cp "$out/merged"/* "$corpus"/
rm -rf "$out/new"
echo "$name: corpus $(ls "$corpus" | wc -l) files, $(du -sk "$corpus" | cut -f1) KiB"
