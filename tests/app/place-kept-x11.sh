#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The real program on an X server with a window manager: a text opened at the place its
# settings file keeps, then closed at once by the window's close button (Alt+F4 through
# the window manager) or by SIGTERM, keeps that place; Right and Up typed through the
# server move it to the next sentence and read faster, and that is kept. Run it under
# run-with-window-manager.sh: place-kept-x11.sh PROGRAM
set -u
program=$1
folder=$(mktemp -d)
trap 'rm -rf "$folder"' EXIT
export XDG_CONFIG_HOME=$folder/config XDG_STATE_HOME=$folder/state XDG_DATA_HOME=$folder/data XDG_RUNTIME_DIR=$folder
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

text=$folder/story.txt
printf 'It was late, and the house was quiet. Nobody moved.\nThe clock struck twelve.\n' >"$text"

# Starts the program on the text stored at place 37 and waits for its window to show
# the text; prints the window's id.
start() {
    printf '[POSITION]\nCurPos=37\n' >"$text.skm"
    "$program" "$text" 2>>"$folder/err" &
    pid=$!
    window=$(timeout 20 xdotool search --sync --onlyvisible --name 'story\.txt' | head -n 1)
}

# Waits at most ten seconds for the program to end; sets code to its exit code.
wait_for_exit() {
    for _ in $(seq 1 100); do
        kill -0 "$pid" 2>/dev/null || { wait "$pid"; code=$?; return; }
        sleep 0.1
    done
    kill -KILL "$pid"
    code=hung
}

stored() { grep -m1 "^${1:-CurPos}=" "$text.skm" | cut -d= -f2; }
# The program writes the whole file, settings first; start() wrote the place alone.
written() { grep -q '^freq=' "$text.skm"; }

start
[[ -n $window ]] || fail "window close: no window showed the text"
xdotool windowactivate --sync "$window" key --clearmodifiers alt+F4
wait_for_exit
[[ $code == 0 ]] || fail "window close: exit $code"
written || fail "window close: the settings file was not written"
[[ $(stored) == 37 ]] || fail "window close: CurPos=$(stored), not 37"

start
[[ -n $window ]] || fail "SIGTERM: no window showed the text"
kill -TERM "$pid"
wait_for_exit
[[ $code == 0 ]] || fail "SIGTERM: exit $code"
written || fail "SIGTERM: the settings file was not written"
[[ $(stored) == 37 ]] || fail "SIGTERM: CurPos=$(stored), not 37"

start
[[ -n $window ]] || fail "keys: no window showed the text"
xdotool windowactivate --sync "$window" key Right key Up key --clearmodifiers alt+F4
wait_for_exit
[[ $code == 0 ]] || fail "keys: exit $code"
[[ $(stored) == 38 ]] || fail "keys: CurPos=$(stored), not 38 (the next sentence)"
[[ $(stored freq) == 364 ]] || fail "keys: freq=$(stored freq), not 364 (Up: faster)"

[[ $failures == 0 ]] || cat "$folder/err"
exit $((failures > 0))
