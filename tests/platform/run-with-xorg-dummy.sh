#!/usr/bin/env bash
# Runs a command against a private Xorg server with the dummy video driver, whose RandR
# output offers real modes that can be switched (Xvfb offers only one). The server gets
# a free display number of its own choosing (-displayfd) and goes away afterwards.
#
#   run-with-xorg-dummy.sh command [arguments...]
#
# The command sees DISPLAY and QT_QPA_PLATFORM=xcb. Without Xorg it runs with
# SKIMMET_XORG_UNAVAILABLE set to the reason, so that its tests can say why they skip,
# and a success becomes exit code 77 (ctest's SKIP_RETURN_CODE).
set -euo pipefail

here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
config="$here/xorg-dummy.conf"
[ $# -ge 1 ] || { echo "usage: $0 command [arguments...]" >&2; exit 2; }

xorg=$(command -v Xorg || true)
if [ -z "$xorg" ]; then
    export SKIMMET_XORG_UNAVAILABLE="Xorg is not installed (Debian packages xserver-xorg-core and xserver-xorg-video-dummy; see scripts/bootstrap)"
    echo "run-with-xorg-dummy: $SKIMMET_XORG_UNAVAILABLE" >&2
    "$@" || exit $?
    exit 77
fi

work=$(mktemp -d "${TMPDIR:-/tmp}/skimmet-xorg.XXXXXX")
xorg_pid=""
cleanup() {
    if [ -n "$xorg_pid" ] && kill -0 "$xorg_pid" 2>/dev/null; then
        kill "$xorg_pid" 2>/dev/null || true
        wait "$xorg_pid" 2>/dev/null || true
    fi
    rm -rf "$work"
}
trap cleanup EXIT
trap 'exit 130' INT TERM

# -configdir: an empty folder instead of the system's xorg.conf.d snippets.
mkdir "$work/conf.d"
"$xorg" -displayfd 3 -config "$config" -configdir "$work/conf.d" -logfile "$work/Xorg.log" \
    -noreset -nolisten tcp -novtswitch -quiet 3>"$work/display" </dev/null >/dev/null 2>&1 &
xorg_pid=$!

# Xorg writes the display number, followed by a newline, once it accepts clients.
for _ in $(seq 1 300); do
    if grep -q '^[0-9][0-9]*$' "$work/display" 2>/dev/null; then
        break
    fi
    if ! kill -0 "$xorg_pid" 2>/dev/null; then
        break
    fi
    sleep 0.1
done
number=$(grep -m1 '^[0-9][0-9]*$' "$work/display" 2>/dev/null || true)
if [ -z "$number" ]; then
    echo "run-with-xorg-dummy: Xorg did not start; the end of its log:" >&2
    tail -n 30 "$work/Xorg.log" >&2 2>/dev/null || true
    echo "run-with-xorg-dummy: the dummy video driver is in xserver-xorg-video-dummy" >&2
    exit 1
fi

status=0
DISPLAY=":$number" QT_QPA_PLATFORM=xcb "$@" || status=$?
exit "$status"
