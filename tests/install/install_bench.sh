#!/usr/bin/env bash
# The installation benchmark: the engine's own measurements (against
# CopyFileA and the raw handheld writes), then against this machine's
# native cp of the same amount (target: at least 0.7 of its speed), and the
# engine's peak working set for a 1 MiB file against a 200 MiB one
# (target: within 1 MiB).
#   install_bench.sh WINE_RUN BENCH_EXE MEDIA_DIR
set -uo pipefail
wine_run=$1 bench=$2 media=$3
rc=0

out=$("$wine_run" "$bench")
status=$?
[ $status -eq 77 ] && exit 77   # this machine cannot run the target's programs
[ $status -eq 0 ] || rc=1
echo "$out"
engine=$(tr -d '\r' <<<"$out" | sed -n 's/^engine seconds (for the native copy.s ratio): //p')

src=$media/fixed-t/native-src dst=$media/removable-r/native-dst
mkdir -p "$src"
for i in $(seq 0 19); do head -c $((20 << 20)) /dev/urandom >"$src/b$i.kda"; done
best=
for round in 1 2 3; do
    rm -rf "$dst" && mkdir -p "$dst"
    start=$(date +%s.%N)
    cp "$src"/*.kda "$dst"/
    took=$(awk -v a="$start" -v b="$(date +%s.%N)" 'BEGIN { print b - a }')
    best=$(awk -v a="$took" -v b="${best:-$took}" 'BEGIN { print (a < b ? a : b) }')
done
rm -rf "$src" "$dst"
printf 'native cp of 20 x 20 MiB:    %8.3f s\n' "$best"
if [ -n "$engine" ]; then
    ratio=$(awk -v a="$best" -v b="$engine" 'BEGIN { print a / b }')
    met=$(awk -v r="$ratio" 'BEGIN { print (r >= 0.7 ? 1 : 0) }')
    printf 'engine / native cp speed: %.2f (target at least 0.70) %s\n' "$ratio" "$([ "$met" = 1 ] && echo met || echo MISSED)"
    [ "$met" = 1 ] || rc=1
fi

peak() { "$wine_run" "$bench" --peak "$1" | tr -d '\r' | sed -n 's/.*: \([0-9]*\) bytes/\1/p'; }
small=$(peak 1) large=$(peak 200)
if [ -n "$small" ] && [ -n "$large" ]; then
    diff=$((large > small ? large - small : small - large))
    printf 'peak working set, 200 MiB against 1 MiB file: %d bytes apart (target at most 1048576) %s\n' \
        "$diff" "$([ $diff -le 1048576 ] && echo met || echo MISSED)"
    [ $diff -le 1048576 ] || rc=1
else
    echo "peak working set: not measured"; rc=1
fi
exit $rc
