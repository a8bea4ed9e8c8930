#!/usr/bin/env bash
# The Debian package from end to end, on this machine:
#
#   build it (cpack) and check it with lintian (no errors); install it with dpkg -i; as an
#   unprivileged user with a home of its own: the controls registered machine-wide are listed
#   and created, corvane runs offscreen and its database appears in the user's data folder,
#   the probe Options written by the user stick, and the example builds against the installed
#   CMake package and opens its dialog; then dpkg -r removes every file the package installed
#   and nothing of the user's, and dpkg --purge the machine-wide store.
#
#   packagetest.sh BUILD_DIR SOURCE_DIR
#
# Needs root (dpkg); exits 77 (skipped) with the reason otherwise, or when a zorvex package is
# already installed here (the test does not replace a package it did not install).
set -euo pipefail

build=$(realpath "$1")
source=$(realpath "$2")

if [ "$(id -u)" -ne 0 ]; then
    echo "skipped: installing a package needs root"
    exit 77
fi
if dpkg-query -W -f='${Status}' zorvex 2>/dev/null | grep -q 'installed'; then
    echo "skipped: a zorvex package is already installed on this machine"
    exit 77
fi

work=$(mktemp -d /tmp/zorvex-package.XXXXXX)
chmod 0755 "$work"
installed=0
cleanup() {
    if [ "$installed" = 1 ]; then
        dpkg --purge zorvex >/dev/null 2>&1 || true
    fi
    rm -rf "$work"
}
trap cleanup EXIT

fail() {
    echo "FAILED: $*" >&2
    exit 1
}

step() {
    echo "== $*"
}

step "building the package"
(cd "$build" && cpack -G DEB >"$work/cpack.log" 2>&1) || { cat "$work/cpack.log"; fail "cpack"; }
package=$(ls "$build"/package/zorvex_*_*.deb)
[ "$(basename "$package")" = "zorvex_2.1.0.29_amd64.deb" ] || fail "package name $(basename "$package")"
dpkg-deb --field "$package" Depends

step "lintian"
lintian --tag-display-limit 0 "$package" >"$work/lintian.log" 2>&1 || true
cat "$work/lintian.log"
if grep -q '^E:' "$work/lintian.log"; then
    fail "lintian reports errors"
fi

step "validating the desktop entry and the AppStream metadata"
dpkg-deb -x "$package" "$work/tree"
desktop-file-validate "$work/tree/usr/share/applications/example.zorvex.Corvane.desktop" \
    || fail "desktop-file-validate"
appstreamcli validate --no-net --pedantic \
    "$work/tree/usr/share/metainfo/example.zorvex.Corvane.metainfo.xml" || fail "appstreamcli"

step "installing"
dpkg -i "$package"
installed=1
dpkg -L zorvex | sort >"$work/files"
[ -r /var/lib/zorvex/registry/classes_root.db ] || fail "no machine-wide registration"

# The unprivileged user: nobody, with a home of its own and a clean environment.
home="$work/home"
mkdir -p "$home" "$work/runtime"
chown nobody:nogroup "$home" "$work/runtime"
chmod 0700 "$work/runtime"
user=(setpriv --reuid=nobody --regid=nogroup --clear-groups
    env -i HOME="$home" XDG_RUNTIME_DIR="$work/runtime" PATH=/usr/bin:/bin LANG=C.UTF-8
    QT_QPA_PLATFORM=offscreen)
as_user() {
    "${user[@]}" "$@"
}

step "the controls are registered machine-wide and created for the user"
as_user zorcontainer --list >"$work/list" || fail "zorcontainer --list"
grep -qP "^zorLightControl\\.29\\t.*\\t/usr/lib/zorvex/zorwidgets29\\.so$" "$work/list" \
    || { cat "$work/list"; fail "the light control is not listed from the machine-wide store"; }
as_user zorcontainer --insert zorLightControl.29 --members >"$work/members" \
    || fail "the light control cannot be created"
grep -q "State" "$work/members" || { cat "$work/members"; fail "the light control's members"; }

step "corvane runs as the user, with its database in the user's data folder"
# The readme page is never opened here: the first run would hand its address to a browser.
as_user zorreg add 'HKCU\Software\Zorvex\Corvane\V2.01\Options' /v Readme /t REG_DWORD /d 0 /f \
    >/dev/null || fail "zorreg add Readme"
# Started as the program itself (not through a function, which would run in a subshell), so
# that the signal below reaches it.
"${user[@]}" corvane >"$work/corvane.out" 2>"$work/corvane.err" &
corvane=$!
database="$home/.local/share/zorvex/corvane.mdb"
for _ in $(seq 1 100); do
    [ -s "$database" ] && break
    sleep 0.1
done
sleep 3
kill -0 "$corvane" 2>/dev/null || { cat "$work/corvane.err"; fail "corvane ended early"; }
kill -TERM "$corvane"
status=0
wait "$corvane" || status=$?
cat "$work/corvane.err"
[ "$status" = 0 ] || fail "corvane ended with status $status"
[ -s "$database" ] || fail "no database in the user's data folder"
[ "$(stat -c %U "$database")" = nobody ] || fail "the database is not the user's"
as_user sqlite3 "$database" "SELECT COUNT(*) FROM Hosts;" >/dev/null \
    || fail "the user's database has no Hosts table"
if grep -q "Database Error\|Can't find" "$work/corvane.err"; then
    fail "corvane reported an error"
fi
[ ! -e /usr/lib/zorvex/corvane.mdb ] || fail "a database appeared in the installed folder"

step "corvane-report reads the user's database"
as_user corvane-report --csv >"$work/report.csv" || fail "corvane-report failed"
head -1 "$work/report.csv" | grep -q '^host,from,to,monitored_s' \
    || { cat "$work/report.csv"; fail "corvane-report gave no availability header"; }

step "the user's probe Options stick"
as_user zorreg add 'HKLM\Software\Zorvex\Corvane\V2.01\Options' /v Timeout /t REG_DWORD \
    /d 1500 /f >/dev/null || fail "zorreg add Timeout"
as_user zorreg query 'HKLM\Software\Zorvex\Corvane\V2.01\Options' /v Timeout | grep -q 0x5dc \
    || fail "the Timeout written by the user does not read back"

step "the example builds against the installed CMake package"
cp -r "$source/examples/hello" "$work/hello"
chown -R nobody:nogroup "$work/hello"
as_user cmake -S "$work/hello" -B "$work/hello/build" -G Ninja >"$work/example.log" 2>&1 \
    || { cat "$work/example.log"; fail "configuring the example"; }
as_user cmake --build "$work/hello/build" >>"$work/example.log" 2>&1 \
    || { cat "$work/example.log"; fail "building the example"; }
as_user "$work/hello/build/zorvexhello" --close-after 300 >"$work/hello.out" \
    || fail "the example ended with an error"
grep -q "^zorvexhello: run 1, the dialog closed with OK$" "$work/hello.out" \
    || { cat "$work/hello.out"; fail "the example's dialog"; }

step "removing"
dpkg -r zorvex
left=""
while read -r path; do
    if [ -f "$path" ] || [ -L "$path" ]; then
        left="$left $path"
    fi
done <"$work/files"
[ -z "$left" ] || fail "left after removal:$left"
[ ! -e /usr/lib/zorvex ] || fail "/usr/lib/zorvex is left after removal"
[ ! -e /var/lib/zorvex/registry/classes_root.db ] || fail "the machine-wide classes are left"
[ -s "$database" ] || fail "the removal touched the user's database"
[ -s "$home/.config/zorvex/registry/current_user.db" ] || fail "the removal touched the user's settings"
dpkg --purge zorvex
installed=0
[ ! -e /var/lib/zorvex ] || fail "/var/lib/zorvex is left after purging"

echo "package test passed"
