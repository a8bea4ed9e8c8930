#!/usr/bin/env bash
# The control soak: every registered control hosted by zorcontainer for thousands of property
# changes, method calls and property frames, in one long-running container per control, fed a
# step file (zorcontainer --script). Meant for the sanitizer build (scripts/sanitize.sh makes
# build-asan/): any address, leak or undefined-behaviour report ends the container and fails
# the soak. The container prints its resident memory after the warm-up and at the end; the soak
# fails when a control grows by LIMIT_KB (1024) or more between the two.
#
#   bench/soak/controlssoak.sh [BUILD_DIR [STEPS [WARMUP]]]
#
# BUILD_DIR defaults to build-asan, STEPS (per control) to 6000, WARMUP to 1500; CONTROLS (an
# extended regular expression) keeps the controls whose class name matches it. Runs offscreen
# with a settings store of its own; never touches the user's. Not part of the tests: it takes
# minutes. The steps cycle through each writable property with values of its type (among them
# empty and long texts, zero, negative and large numbers), call each method with such arguments
# (but the ones that open a modal dialog), and open the property frame on each of its pages.
set -euo pipefail
cd "$(dirname "$0")/../.."
root=$PWD
build=${1:-build-asan}
steps=${2:-6000}
warmup=${3:-1500}
limit_kb=${LIMIT_KB:-1024}
bin=$root/$build/bin
[ -x "$bin/zorcontainer" ] || { echo "controlssoak: $bin/zorcontainer is not built" >&2; exit 1; }

work=$(mktemp -d /tmp/controlssoak.XXXXXX)
trap 'rm -rf "$work"' EXIT
export ZORVEX_REGISTRY=$work/registry QT_QPA_PLATFORM=offscreen XDG_RUNTIME_DIR=$work/runtime
mkdir -p "$ZORVEX_REGISTRY" "$XDG_RUNTIME_DIR"
chmod 700 "$XDG_RUNTIME_DIR"
# The sanitizers stop at the first report. The quarantine of freed memory is kept small (it
# fills within the warm-up), and the allocation stacks are not recorded (the checker keeps each
# new one for good: over 16,000 steps that alone grew every control by about 2 MB), so the
# memory figures after the warm-up show what the controls keep, not what the checker holds.
# A leak is still reported, without the stack that made it: run the control again with
# SOAK_STACKS=1 to see it.
context=0
[ -n "${SOAK_STACKS:-}" ] && context=30
export ASAN_OPTIONS="halt_on_error=1:detect_leaks=1:quarantine_size_mb=1:thread_local_quarantine_size_kb=64:malloc_context_size=$context:print_summary=1"
export UBSAN_OPTIONS="halt_on_error=1:print_stacktrace=1"
export LSAN_OPTIONS="suppressions=$root/tests/sanitizers/lsan.supp:print_suppressions=0"

for module in zorwidgets29 zordial29 zorpathpick29 zorpicture29; do
    "$bin/zorregsvr" /s "$bin/$module.so"
done
"$bin/zorcontainer" --list | grep -E -- "${CONTROLS:-.}" > "$work/controls.txt" || true
[ -s "$work/controls.txt" ] || { echo "controlssoak: no registered controls" >&2; exit 1; }

# Pictures to load (some of the fuzz corpora's are damaged on purpose) and a text long enough
# to wrap.
images=$root/controls/graph/graph.bmp\|$root/tools/zorcontainer/zorcontainer.png
for corpus in jpegsegments pcx tga; do
    for file in $(ls "$root/tests/fuzz/corpus/$corpus" | head -n 3); do
        images=$images\|$root/tests/fuzz/corpus/$corpus/$file
    done
done
long=$(printf 'soak %.0s' $(seq 1 60))

failed=0
printf '%-24s %8s %10s %10s %8s %8s\n' control steps warm_kB end_kB grow_kB seconds
while IFS=$'\t' read -r progId _ _; do
    "$bin/zorcontainer" --insert "$progId" --members > "$work/members.txt" 2>/dev/null || true
    # The step file: members in turn, each with the next value of its type; a frame page now
    # and then; the memory after the warm-up and at the end.
    awk -F'\t' -v steps="$steps" -v warmup="$warmup" -v long="$long" -v images="$images" '
        BEGIN { pictures = split(images, picture, "|") }
        function value(type, n) {
            if (type ~ /OLE_COLOR/) return sprintf("0x%08X", (n * 2654435761) % 16777216)
            if (type ~ /unsigned char|VARIANT_BOOL/) return n % 2
            if (type ~ /BSTR/) {
                k = n % 5
                if (k == 3) return picture[1 + int(n / 5) % pictures]
                # Ten texts come round again, as the choices of a user do: ever new font names would
                # only fill the font caches of Qt and fontconfig, one entry per name.
                return k == 0 ? "" : k == 1 ? "soak " n % 10 : k == 2 ? long : "x"
            }
            if (type ~ /DATE/) return "2026-0" (1 + n % 9) "-1" (n % 10) " 12:3" (n % 10) ":00"
            split("0 1 2 3 5 9 24 100 -1 1000", numbers, " ")
            return numbers[1 + n % 10]
        }
        $1 == "" || $3 == "" { next }
        $3 ~ /^property/ && $3 !~ /read-only|IFontDisp/ {
            sub(/^property /, "", $3)
            member[++count] = "set " $2 "="; type[count] = $3; params[count] = ""
        }
        $3 ~ /^method/ && $2 !~ /^(LookupFile|AboutBox)$/ {
            inner = $3; sub(/^[^(]*\(/, "", inner); sub(/\)$/, "", inner)
            member[++count] = "invoke " $2; type[count] = ""; params[count] = inner
        }
        END {
            for (i = 1; i <= steps; ++i) {
                if (i == warmup + 1) print "memory"
                if (i % 200 == 0) { print "frame " (i / 200) % 3; continue }
                # A control without properties or methods is only opened in its frame.
                if (count == 0) continue
                # Each member in turn, and each time it comes round with its next value.
                m = 1 + i % count
                round = int(i / count) + m
                if (member[m] ~ /^set /) { print member[m] value(type[m], round); continue }
                line = member[m]
                n = split(params[m], list, ", ")
                for (p = 1; p <= n; ++p) {
                    t = list[p]; sub(/ [^ ]*$/, "", t)
                    line = line (p == 1 ? "=" : ",") value(t, round + p)
                }
                print line
            }
            print "memory"
        }' "$work/members.txt" > "$work/steps.txt"

    start=$SECONDS
    set +e
    "$bin/zorcontainer" --insert "$progId" --script "$work/steps.txt" --quit \
        > "$work/out.txt" 2> "$work/err.txt"
    status=$?
    set -e
    seconds=$((SECONDS - start))
    mapfile -t memory < <(sed -n 's/^memory: \([0-9]*\) kB$/\1/p' "$work/out.txt")
    warm=${memory[0]:-0}
    end=${memory[1]:-0}
    grow=$((end - warm))
    printf '%-24s %8d %10d %10d %8d %8d\n' "$progId" "$steps" "$warm" "$end" "$grow" "$seconds"
    # A failed step (a value the control refuses) is no fault; a sanitizer report or a crash is.
    if grep -qE '^(==[0-9]+==ERROR|SUMMARY: [A-Za-z]+Sanitizer)|runtime error:' "$work/err.txt" \
        || [ "$status" -gt 1 ] || [ ${#memory[@]} -lt 2 ]; then
        echo "controlssoak: $progId ended with status $status:" >&2
        grep -v '^QStandardPaths' "$work/err.txt" | head -n 60 >&2
        failed=1
    elif [ "$grow" -ge "$limit_kb" ]; then
        echo "controlssoak: $progId grew by $grow kB after the warm-up" >&2
        failed=1
    fi
done < "$work/controls.txt"
exit "$failed"
