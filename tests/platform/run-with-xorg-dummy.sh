#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Runs a command against a private Xorg server with the dummy video driver, whose RandR
# output offers real modes that can be switched (Xvfb offers only one), on a free display
# number of the server's own choosing (-displayfd). The command sees DISPLAY and
# QT_QPA_PLATFORM=xcb. Without Xorg it runs with SKIMMET_XORG_UNAVAILABLE set to the
# reason, so that its tests say why they skip, and a success becomes 77 (ctest's skip).
set -euo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)

if ! xorg=$(command -v Xorg); then
    export SKIMMET_XORG_UNAVAILABLE="Xorg is not installed (Debian packages xserver-xorg-core and xserver-xorg-video-dummy; see scripts/bootstrap)"
    echo "run-with-xorg-dummy: $SKIMMET_XORG_UNAVAILABLE" >&2
    "$@" || exit $?
    exit 77
fi

work=$(mktemp -d "${TMPDIR:-/tmp}/skimmet-xorg.XXXXXX")
trap '[ -z "${xorg_pid:-}" ] || { kill "$xorg_pid" && wait "$xorg_pid"; } 2>/dev/null || true
      rm -rf "$work"' EXIT
trap 'exit 130' INT TERM

# -configdir: an empty folder instead of the system's xorg.conf.d snippets.
mkdir "$work/conf.d"
"$xorg" -displayfd 3 -config "$here/xorg-dummy.conf" -configdir "$work/conf.d" \
    -logfile "$work/Xorg.log" -noreset -nolisten tcp -novtswitch -quiet \
    3>"$work/display" </dev/null >/dev/null 2>&1 &
xorg_pid=$!

# Xorg writes the display number and a newline once it accepts clients.
for _ in $(seq 1 300); do
    grep -q '^[0-9][0-9]*$' "$work/display" 2>/dev/null || ! kill -0 "$xorg_pid" 2>/dev/null && break
    sleep 0.1
done
if ! number=$(grep -m1 '^[0-9][0-9]*$' "$work/display" 2>/dev/null); then
    echo "run-with-xorg-dummy: Xorg did not start; the end of its log:" >&2
    tail -n 30 "$work/Xorg.log" >&2 2>/dev/null || true
    exit 1
fi
DISPLAY=":$number" QT_QPA_PLATFORM=xcb "$@"
