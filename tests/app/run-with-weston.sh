#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Runs a command as a client of a private, headless weston: a Wayland desktop with a
# shell that maps, focuses and makes windows full screen, and no X server at all.
# Without weston or Qt's Wayland platform it reports a skip (77) with the reason.
set -euo pipefail
if ! command -v weston >/dev/null; then
    echo "run-with-weston: weston is not installed (see scripts/bootstrap)" >&2
    exit 77
fi
plugins=$(qtpaths6 --query QT_INSTALL_PLUGINS 2>/dev/null || echo /usr/lib/x86_64-linux-gnu/qt6/plugins)
if ! ls "$plugins"/platforms/libqwayland-*.so >/dev/null 2>&1; then
    echo "run-with-weston: Qt's Wayland platform is not installed (qt6-wayland)" >&2
    exit 77
fi
runtime=$(mktemp -d "${TMPDIR:-/tmp}/skimmet-weston.XXXXXX")
chmod 700 "$runtime"
trap '[ -z "${weston_pid:-}" ] || { kill "$weston_pid" && wait "$weston_pid"; } 2>/dev/null || true
      rm -rf "$runtime"' EXIT
trap 'exit 130' INT TERM

export XDG_RUNTIME_DIR=$runtime
weston --backend=headless-backend.so --use-pixman --socket=skimmet-wayland \
    --width=1024 --height=768 --idle-time=0 >"$runtime/weston.log" 2>&1 &
weston_pid=$!
for _ in $(seq 1 100); do
    [ -S "$runtime/skimmet-wayland" ] || ! kill -0 "$weston_pid" 2>/dev/null && break
    sleep 0.1
done
if [ ! -S "$runtime/skimmet-wayland" ]; then
    echo "weston did not start:" >&2
    cat "$runtime/weston.log" >&2
    exit 1
fi
unset DISPLAY
export WAYLAND_DISPLAY=skimmet-wayland QT_QPA_PLATFORM=wayland
"$@"
