#!/bin/sh
# Runs tarnix-link for a test under Wine. Wine starts a program of the
# system when asked, but hands it only file-backed standard streams (its
# pipes have no descriptor of the system) and gives back no handle to wait
# for or end it; so the test talks to the link through files in a folder
# of its own:
#   out      what the link prints ("listening on ADDRESS:PORT")
#   err      its prompts and notices, a line each
#   answers  lines the test appends; they reach the link's standard input
#            through a pipe, as a launcher's answers would
#   stop     made by the test: the link is ended, and "ended" made after
# The link is ended also when the test never asks, after a test's longest
# time, so that a test that died leaves nothing running.
#   run-link.sh FOLDER TARNIX-LINK [OPTION...]
exec </dev/null >/dev/null 2>&1
dir=$1
link=$2
shift 2
LONGEST_SECONDS=300

: >"$dir/answers"
mkfifo "$dir/in" || exit 1
"$link" "$@" <"$dir/in" >"$dir/out" 2>"$dir/err" &
pid=$!
tail -n +1 -f --pid=$pid "$dir/answers" >"$dir/in" &

ticks=$((LONGEST_SECONDS * 10))
while [ ! -e "$dir/stop" ] && [ $ticks -gt 0 ] && kill -0 $pid 2>/dev/null; do
    sleep 0.1
    ticks=$((ticks - 1))
done
# A link held in a read that its signal does not end is killed.
kill $pid 2>/dev/null
ticks=30
while [ $ticks -gt 0 ] && kill -0 $pid 2>/dev/null; do
    sleep 0.1
    ticks=$((ticks - 1))
done
kill -KILL $pid 2>/dev/null
wait
# Wine would block opening the pipe to delete it with the folder.
rm -f "$dir/in"
: >"$dir/ended"
