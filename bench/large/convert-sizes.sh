#!/bin/bash
# Times brightfold-convert on generated spheres of 1M, 3M and 10M triangles with a 2048² PNG,
# in one run, the sizes taking turns so that each sees the same load on the machine: wall
# clock, CPU (user + system), peak resident memory and minor page faults of each conversion,
# the median of RUNS runs after one warm-up, then the ratios the targets are stated in.
#
#   bench/large/convert-sizes.sh BUILD_DIR [RUNS]
#
# Needs Node.js (for the generator in ../shared/tools/peers) and /usr/bin/time.
set -eu
build=${1:?usage: convert-sizes.sh BUILD_DIR [RUNS]}
runs=${2:-3}
here=$(cd "$(dirname "$0")" && pwd)
# shellcheck source=SCRIPTDIR/../support/timed-runs.sh
. "$here/../support/timed-runs.sh"
generator="$here/../../../shared/tools/peers/gen-large.mjs"
convert="$build/tools/brightfold-convert/brightfold-convert"
work="$build/bench/large"
sizes="1m 3m 10m"
mkdir -p "$work"

triangles() { case $1 in 1m) echo 1000000 ;; 3m) echo 3000000 ;; 10m) echo 10000000 ;; esac; }
for size in $sizes; do
    [ -f "$work/sphere-$size.glb" ] || node "$generator" "$work/sphere-$size.glb" \
        --triangles "$(triangles "$size")" --texture 2048 >/dev/null
done

# One line per conversion: wall, user and system seconds (to the millisecond), then peak
# resident kilobytes and minor page faults.
convert_once() {
    timed "%M %R" "$work/rss.txt" "$convert" --quiet -o "$work/sphere-$1.usdz" \
        "$work/sphere-$1.glb"
}

# shellcheck disable=SC2086 # the sizes are separate words
run_in_turns "$runs" "$work/runs.txt.$$" $sizes
echo "size   MB in  MB out  wall s  CPU s  peak MB  faults  peak/(in+out)"
for size in $sizes; do
    lines=$(grep "^$size " "$work/runs.txt.$$")
    wall=$(echo "$lines" | awk '{ print $2 }' | median)
    cpu=$(echo "$lines" | awk '{ print $3 + $4 }' | median)
    peak=$(echo "$lines" | awk '{ print $5 }' | median)
    faults=$(echo "$lines" | awk '{ print $6 }' | median)
    in=$(stat -c %s "$work/sphere-$size.glb")
    out=$(stat -c %s "$work/sphere-$size.usdz")
    echo "$size $in $out $wall $cpu $peak $faults" | awk '{ printf "%-4s %7.1f %7.1f %7.2f %6.3f %8.1f %7d %14.2f\n",
        $1, $2 / 1e6, $3 / 1e6, $4, $5, $6 / 1024, $7, $6 * 1024 / ($2 + $3) }'
    eval "wall_$size=$wall cpu_$size=$cpu"
done
rm -f "$work/runs.txt.$$" "$work/rss.txt"
awk -v w1="$wall_1m" -v c1="$cpu_1m" -v w3="$wall_3m" -v c3="$cpu_3m" -v w10="$wall_10m" \
    -v c10="$cpu_10m" 'BEGIN {
    printf "3M / 1M: wall %.2f, CPU %.2f\n", w3 / w1, c3 / c1
    printf "10M / 1M: wall %.2f, CPU %.2f (target <= 11)\n", w10 / w1, c10 / c1 }'
