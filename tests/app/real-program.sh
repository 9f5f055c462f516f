#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The real program: its console options need no display; a closed terminal or a
# termination signal ends it with 0 after writing the text's settings, also when that
# write fails; a text whose name is not UTF-8 is read by its bytes.
set -u
program=$1 version=$2 data=$(dirname "$0")/data # real-program.sh PROGRAM VERSION
folder=$(mktemp -d)
trap 'rm -rf "$folder"' EXIT
export QT_QPA_PLATFORM=offscreen XDG_CONFIG_HOME=$folder/config XDG_STATE_HOME=$folder/state \
    XDG_DATA_HOME=$folder/data
unset DISPLAY WAYLAND_DISPLAY
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

latin1=$folder/$'caf\xe9.txt'
printf 'One two three. Four five six.\n' >"$latin1"
cp "$latin1" "$folder/blocked.txt"
mkdir "$folder/blocked.txt.skm" # a folder where the settings file should go

# Runs the program with ARGS and no display at all; fails unless it exits with CODE, its
# output matches OUT and its errors ERR (else: none).
check() { # CODE OUT ERR ARGS...
    local code=$1 out=$2 err=${3:-^$} got
    shift 3
    env -u QT_QPA_PLATFORM "$program" "$@" >"$folder/out" 2>"$folder/err"; got=$?
    [[ $got == "$code" && $(<"$folder/out") =~ $out && $(<"$folder/err") =~ $err ]] ||
        fail "$*: exit $got: $(cat "$folder/out" "$folder/err")"
}
check 0 $'^Usage: [^\n]*skimmet \\[options\\] \\[file\\]\n.*--version.*--units <file>' '' --help
check 0 '' '' --version
printf 'Skimmet %s\n' "$version" | cmp -s - "$folder/out" || fail "--version: $(<"$folder/out")"
check 0 '^started,path,fingerprint,[a-z_,]*,rating.$' '' --log # no log yet: the header alone
check 0 '' '' --units "$data/units.txt"
cmp -s "$data/units.expected" "$folder/out" || fail "--units: not as in units.expected"
check 1 '^$' . --units "$data/no-such-file.txt"
check 1 '^$' '--units takes one file' --units "$data/units.txt" other.txt
check 1 '^$' "Unknown option 'frobnicate'" --units "$data/units.txt" --frobnicate
check 0 $'\tOne .*END$' '' --units "$latin1" # read by the bytes of its name
printf '\xdd\xf2\xee \xf2\xe5\xea\xf1\xf2.' >"$folder/ru.txt" # "Это текст." in windows-1251
check 0 '^windows-1251$' '' --encoding "$folder/ru.txt"
check 0 $'^0\tЭто текст.\nEND$' '' --units "$folder/ru.txt" # units in UTF-8

# Waits until the program catches signal $2 (its handlers are in place), then sends it
# and waits at most $3 tenths of a second for the exit; sets code to the exit code.
# A text is read on a thread of its own: a signal meant for the text on the screen waits
# until the list of recent texts names it.
wait_until_shown() {
    for ((i = 0; i < 100; i++)); do
        grep -qs -- "$1" "$folder/state/skimmet/recent" && return
        sleep 0.05
    done
}

signal_when_ready() {
    local pid=$1 signo=$2 limit=$3 mask i
    for ((i = 0; i < 200; i++)); do
        # The shell's own child catches signals too until it has become the program.
        [[ $(readlink "/proc/$pid/exe") == "$(readlink -f "$program")" ]] &&
            mask=$(awk '/^SigCgt:/ {print $2}' "/proc/$pid/status") &&
            (((0x$mask >> (signo - 1)) & 1)) && break
        sleep 0.05
    done
    kill -s "$signo" "$pid"
    for ((i = 0; i < limit; i++)); do
        kill -0 "$pid" 2>/dev/null || { wait "$pid"; code=$?; return; }
        sleep 0.1
    done
    kill -KILL "$pid"
    code=hung
}

"$program" "$latin1" 2>"$folder/err1" &
pid=$!
wait_until_shown caf
signal_when_ready $pid 1 50
[[ $code == 0 ]] || fail "SIGHUP: exit $code: $(cat "$folder/err1")"
grep -q '^CurPos=0' "$latin1.skm" 2>/dev/null || fail "SIGHUP: no settings file beside the Latin-1 name"

"$program" "$folder/blocked.txt" 2>"$folder/err2" &
pid=$!
wait_until_shown blocked.txt
signal_when_ready $pid 15 10
[[ $code == 0 ]] || fail "SIGTERM with a failing save: exit $code within a second"
grep -q 'Error Saving File' "$folder/err2" || fail "SIGTERM with a failing save: stderr: $(cat "$folder/err2")"

exit $((failures > 0))
