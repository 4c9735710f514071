#!/bin/bash
# Times brightfold-convert on a generated one-million-triangle mesh with a 64-joint skin and an
# animation against the same mesh without them, in one run on one machine: wall clock, CPU
# (user + system) and peak resident memory of each conversion, the median of RUNS runs after one
# warm-up, and the ratios the targets are stated in. Peak memory counts from the footprint of a
# conversion of two triangles, as the other benchmarks count growth.
#
#   bench/skinned/convert-timing.sh BUILD_DIR [RUNS]
#
# Needs Node.js (for the generator in ../shared/tools/peers) and /usr/bin/time.
set -eu
build=${1:?usage: convert-timing.sh BUILD_DIR [RUNS]}
runs=${2:-3}
here=$(cd "$(dirname "$0")" && pwd)
# shellcheck source=SCRIPTDIR/../support/timed-runs.sh
. "$here/../support/timed-runs.sh"
generator="$here/../../../shared/tools/peers/gen-large.mjs"
convert="$build/tools/brightfold-convert/brightfold-convert"
work="$build/bench/skinned"
mkdir -p "$work"

[ -f "$work/rig.glb" ] ||
    node "$generator" "$work/rig.glb" --triangles 1000000 --joints 64 --animation >/dev/null
[ -f "$work/plain.glb" ] || node "$generator" "$work/plain.glb" --triangles 1000000 >/dev/null
# The process's own footprint, measured on a file of two triangles, is not the conversion's.
[ -f "$work/tiny.glb" ] || node "$generator" "$work/tiny.glb" --triangles 2 --texture 0 >/dev/null

# One line per run: wall seconds, CPU seconds (to the millisecond: a conversion takes about a
# tenth of a second of CPU), peak resident kilobytes.
measure() {
    "$convert" --quiet -o "$work/$1.usdz" "$work/$1.glb" >/dev/null 2>&1 # warm-up
    local i
    for ((i = 0; i < runs; i++)); do
        timed "%M" "$work/time.txt" "$convert" --quiet -o "$work/$1.usdz" "$work/$1.glb" |
            awk '{ printf "%s %.3f %s\n", $1, $2 + $3, $4 }'
    done | sort -n | awk -v n="$runs" 'NR == int((n + 1) / 2)'
}

size() { stat -c %s "$1"; }

tiny=$(measure tiny)
plain=$(measure plain)
rig=$(measure rig)
echo "input            MB in  MB out  wall s  CPU s  peak MB  peak growth MB"
for name in plain rig; do
    eval "line=\$$name"
    echo "$line $tiny" | awk -v n="$name" -v i="$(size "$work/$name.glb")" \
        -v o="$(size "$work/$name.usdz")" '{ printf "%-15s %6.1f %7.1f %7.2f %6.3f %8.1f %15.1f\n",
        n, i / 1e6, o / 1e6, $1, $2, $3 / 1024, ($3 - $6) / 1024 }'
done
echo "$plain $rig $tiny" | awk -v i="$(size "$work/rig.glb")" -v o="$(size "$work/rig.usdz")" '{
    printf "time ratio (rig / plain): wall %.2f, CPU %.2f (target <= 2)\n", $4 / $1, $5 / $2
    printf "rig peak growth / (input + output): %.2f (target <= 2)\n", ($6 - $9) * 1024 / (i + o) }'
