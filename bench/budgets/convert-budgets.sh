#!/bin/bash
# Times what the AR viewer's budgets cost the user: brightfold-convert on a generated skinned,
# animated sphere of 1M triangles with an 8192² PNG, with the texture kept at its size (the
# baseline), downscaled to the default 2048 pixels a side, and also simplified to 100,000
# triangles. Wall clock, CPU (user + system) and peak resident memory of each conversion, the
# median of RUNS runs after one warm-up, the variants taking turns so each sees the same load.
#
#   bench/budgets/convert-budgets.sh BUILD_DIR [RUNS]
#
# Needs Node.js (for the generator in ../shared/tools/peers) and /usr/bin/time.
set -eu
build=${1:?usage: convert-budgets.sh BUILD_DIR [RUNS]}
runs=${2:-3}
here=$(cd "$(dirname "$0")" && pwd)
# shellcheck source=SCRIPTDIR/../support/timed-runs.sh
. "$here/../support/timed-runs.sh"
generator="$here/../../../shared/tools/peers/gen-large.mjs"
convert="$build/tools/brightfold-convert/brightfold-convert"
work="$build/bench/budgets"
model="$work/rig-1m-8k.glb"
mkdir -p "$work"
[ -f "$model" ] || node "$generator" "$model" --triangles 1000000 --texture 8192 \
    --joints 64 --animation >/dev/null

variants="kept downscaled simplified"
options() {
    case $1 in
    kept) echo "--max-texture-size keep --texture-budget 0" ;;
    downscaled) echo "" ;;
    simplified) echo "--max-triangles 100000" ;;
    esac
}

# One line per conversion: wall, user and system seconds, then peak resident kilobytes.
convert_once() {
    # shellcheck disable=SC2046 # the options are separate words
    timed "%M" "$work/rss.txt" "$convert" --quiet $(options "$1") -o "$work/$1.usdz" "$model"
}

# shellcheck disable=SC2086 # the variants are separate words
run_in_turns "$runs" "$work/runs.txt.$$" $variants
echo "variant      MB out  wall s  CPU s  peak MB"
for variant in $variants; do
    lines=$(grep "^$variant " "$work/runs.txt.$$")
    wall=$(echo "$lines" | awk '{ print $2 }' | median)
    cpu=$(echo "$lines" | awk '{ print $3 + $4 }' | median)
    peak=$(echo "$lines" | awk '{ print $5 }' | median)
    out=$(stat -c %s "$work/$variant.usdz")
    echo "$variant $out $wall $cpu $peak" | awk '{ printf "%-11s %7.1f %7.2f %6.2f %8.1f\n",
        $1, $2 / 1e6, $3, $4, $5 / 1024 }'
done
rm -f "$work/runs.txt.$$" "$work/rss.txt"
