#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Runs a command on a private Xvfb server managed by openbox, as a desktop has it: the
# window manager maps, focuses and decorates the windows, and keys typed with xdotool
# go through the server to the focused window. Without these programs it reports a
# skip (77) with the reason.
set -euo pipefail
for tool in Xvfb openbox xdotool; do
    if ! command -v "$tool" >/dev/null; then
        echo "run-with-window-manager: $tool is not installed (see scripts/bootstrap)" >&2
        exit 77
    fi
done
work=$(mktemp -d "${TMPDIR:-/tmp}/skimmet-wm.XXXXXX")
trap '[ -z "${wm_pid:-}" ] || kill "$wm_pid" 2>/dev/null || true
      [ -z "${x_pid:-}" ] || { kill "$x_pid" && wait "$x_pid"; } 2>/dev/null || true
      rm -rf "$work"' EXIT
trap 'exit 130' INT TERM

Xvfb -displayfd 3 -screen 0 1280x900x24 -nolisten tcp 3>"$work/display" >/dev/null 2>&1 &
x_pid=$!
for _ in $(seq 1 300); do
    grep -q '^[0-9][0-9]*$' "$work/display" 2>/dev/null || ! kill -0 "$x_pid" 2>/dev/null && break
    sleep 0.1
done
number=$(grep -m1 '^[0-9][0-9]*$' "$work/display") || { echo "Xvfb did not start" >&2; exit 1; }
export DISPLAY=":$number" QT_QPA_PLATFORM=xcb
openbox --sm-disable >/dev/null 2>&1 &
wm_pid=$!
# The window manager has taken the screen once it names itself on the root window.
for _ in $(seq 1 100); do
    xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id' && break
    sleep 0.1
done
"$@"
