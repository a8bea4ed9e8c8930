#!/usr/bin/env bash
# Usage: scripts/reportrun.sh [SECONDS] [DOWN_AT] [DOWN_FOR]                       (as root)
# A real run of the host monitor for the availability report: the built corvane runs for
# SECONDS (default 300) in a network namespace of its own, probing one host in a second
# namespace over a veth link; DOWN_AT seconds after the start (default 100) the host's link goes
# down for DOWN_FOR seconds (default 90). The monitor is then stopped with SIGTERM, and
# corvane-report prints the availability, the outages and the latency averages of the run, as
# text and as CSV. Everything lives in a temporary folder and the two namespaces, which are
# removed at the end; the build's own database is not touched.
# BIN_DIR names another build's bin folder (default build/bin).
# With SHOTS=DIR the monitor runs on a virtual display with a notification server (dunst, which
# the script installs when it is missing) on a session bus of its own, "Notify on Outages" on,
# and the screen is saved as DIR/down.png and DIR/up.png once the notices of the link going down
# and coming back are shown; DIR also gets the monitor's output, the notification server's and
# the notices as the bus carried them (notices.log).
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-300}
down_at=${2:-100}
down_for=${3:-90}
bin=${BIN_DIR:-$PWD/build/bin}

id=$$
client=zrc$id
host=zrh$id
work=$(mktemp -d /tmp/zorvex-report-XXXXXX)
monitor=""
desktop=()
cleanup() {
    [ -n "$monitor" ] && kill -KILL "$monitor" 2>/dev/null || true
    [ ${#desktop[@]} -gt 0 ] && kill "${desktop[@]}" 2>/dev/null || true
    ip netns del "$client" 2>/dev/null || true
    ip netns del "$host" 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT

ip netns add "$client"
ip netns add "$host"
ip -n "$client" link set lo up
ip -n "$host" link set lo up
ip link add zr0 netns "$client" type veth peer name zr1 netns "$host"
ip -n "$client" addr add 198.18.20.1/24 dev zr0
ip -n "$host" addr add 198.18.20.2/24 dev zr1
ip -n "$client" link set zr0 up
ip -n "$host" link set zr1 up
# Echo requests from ordinary datagram sockets, as on a desktop that permits them.
ip netns exec "$client" sysctl -q -w "net.ipv4.ping_group_range=0 2147483647"

mkdir -p "$work/bin" "$work/registry" "$work/runtime"
chmod 700 "$work/runtime"
for file in corvane corvane-report zorplatform.so zorbase29.so zorwidgets29.so zorwait29.so \
    zorabout29.so; do
    cp "$bin/$file" "$work/bin/"
done
sqlite3 -batch -bail "$work/bin/corvane.mdb" < monitor/corvane.sql > /dev/null
export ZORVEX_REGISTRY=$work/registry
for module in zorwidgets29.so zorwait29.so zorabout29.so; do
    "$bin/zorregsvr" /s "$work/bin/$module"
done
setting() { "$bin/zorreg" add "$1\\Software\\Zorvex\\Corvane\\V2.01\\Options" /v "$2" /t "$3" /d "$4" /f >/dev/null; }
setting HKCU IP1 REG_SZ 198.18.20.2
setting HKCU SampleInterval REG_DWORD 10
setting HKCU Readme REG_DWORD 0
setting HKLM Timeout REG_DWORD 1000
setting HKLM Repeat REG_DWORD 1

display=(QT_QPA_PLATFORM=offscreen)
# shot NAME TEXT: the screen once the notice with TEXT is shown; shot_took says how long it
# waited.
shot() { :; }
shot_took=0
if [ -n "${SHOTS:-}" ]; then
    mkdir -p "$SHOTS"
    command -v dunst >/dev/null || DEBIAN_FRONTEND=noninteractive apt-get install -y -q \
        --no-install-recommends dunst >/dev/null
    Xvfb :93 -screen 0 1024x700x24 -nolisten tcp >/dev/null 2>&1 &
    desktop+=($!)
    sleep 1
    # A bus on a path, not in the abstract namespace, so the monitor's namespace reaches it.
    cat > "$work/bus.conf" <<CONF
<!DOCTYPE busconfig PUBLIC "-//freedesktop//DTD D-Bus Bus Configuration 1.0//EN"
 "http://www.freedesktop.org/standards/dbus/1.0/busconfig.dtd">
<busconfig><type>session</type><listen>unix:dir=$work</listen><auth>EXTERNAL</auth>
<policy context="default"><allow send_destination="*" eavesdrop="true"/><allow eavesdrop="true"/>
<allow own="*"/></policy></busconfig>
CONF
    dbus-daemon --config-file="$work/bus.conf" --nofork --print-address=3 3>"$work/bus" &
    desktop+=($!)
    sleep 1
    export DBUS_SESSION_BUS_ADDRESS=$(head -1 "$work/bus")
    DISPLAY=:93 dunst >"$work/dunst.log" 2>&1 &
    desktop+=($!)
    # What reaches the notification server, for the record.
    dbus-monitor "interface='org.freedesktop.Notifications'" >"$work/notices.log" 2>&1 &
    desktop+=($!)
    display=(DISPLAY=:93 DBUS_SESSION_BUS_ADDRESS="$DBUS_SESSION_BUS_ADDRESS")
    setting HKCU NotifyOnOutages REG_DWORD 1
    shot() {
        local start=$SECONDS
        until grep -q "$2" "$work/notices.log" || [ $((SECONDS - start)) -ge 20 ]; do
            sleep 0.5
        done
        sleep 1
        DISPLAY=:93 import -window root "$SHOTS/$1.png"
        shot_took=$((SECONDS - start))
    }
fi

ip netns exec "$client" env "${display[@]}" XDG_RUNTIME_DIR="$work/runtime" \
    "$work/bin/corvane" > "$work/corvane.log" 2>&1 &
monitor=$!
sleep "$down_at"
ip -n "$host" link set zr1 down
echo "link down at $(date '+%F %T')" >&2
shot down "is unavailable"
sleep $((down_for - shot_took))
ip -n "$host" link set zr1 up
echo "link up at $(date '+%F %T')" >&2
shot up "is available again"
sleep $((seconds - down_at - down_for - shot_took))
kill -TERM "$monitor"
wait "$monitor" && status=0 || status=$?
monitor=""
echo "corvane ended with status $status" >&2
[ -n "${SHOTS:-}" ] && cp "$work/corvane.log" "$work/dunst.log" "$work/notices.log" "$SHOTS/"

report() { "$work/bin/corvane-report" "$@" --from "$(date -d '-1 hour' '+%FT%T')"; }
for kind in availability outages latency; do
    echo "\$ corvane-report $kind"
    report "$kind"
    echo
done
echo "\$ corvane-report availability --csv"
report availability --csv
echo "\$ corvane-report outages --csv"
report outages --csv
