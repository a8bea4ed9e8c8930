#!/usr/bin/env bash
# Sets the machine up, builds the suite and starts the host monitor on this user's display.
# Run it as the user who will use the monitor: only the package installation uses sudo.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
bash scripts/build.sh

# The monitor finds its controls, the wait dialog and the about box through the classes the
# user's settings store knows: register the suite's modules there, the clock, file-name picker
# and picture modules too so any container finds them (registering again is harmless).
for module in zorwidgets29 zordial29 zorpathpick29 zorpicture29 zorwait29 zorabout29; do
    build/bin/zorregsvr /s "build/bin/${module}.so"
done

# The build makes the database beside the program when it is missing; never over a user's.
if [ ! -f build/bin/corvane.mdb ]; then
    echo "run.sh: build/bin/corvane.mdb is missing; the build should have made it" >&2
    exit 1
fi

if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
    echo "run.sh: no display to show the monitor on (neither DISPLAY nor WAYLAND_DISPLAY is set)" >&2
    exit 1
fi
exec build/bin/corvane
