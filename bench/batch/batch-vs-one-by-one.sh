#!/usr/bin/env bash
# Times converting every model file under a folder two ways, in the same run: one
# brightfold-convert process per file, one after the other, and one batch with -j JOBS.
# Prints wall clock and CPU (user + system, the converters included) of both, and the ratios.
#
#   bench/batch/batch-vs-one-by-one.sh CONVERTER FOLDER [JOBS] [RUNS]
#
# Outputs go to a temporary folder (mirrored, as -o DIR does) that is removed at the end.
set -euo pipefail

model_files() {
  find "$1" -type f \( -iname '*.gltf' -o -iname '*.glb' -o -iname '*.vrm' -o -iname '*.usdc' \) |
    sort
}

# One timed way of converting, run in a process of its own so that /usr/bin/time sees its CPU.
if [ "${1:-}" = --way ]; then
  way="$2" converter="$3" folder="$4" jobs="$5" out="$6"
  rm -rf "$out"
  if [ "$way" = batch ]; then
    "$converter" --quiet -r -j "$jobs" -o "$out" "$folder" >/dev/null 2>&1 || true
    exit 0
  fi
  while read -r file; do
    target="$out/${file#"$folder"/}"
    mkdir -p "$(dirname "$target")"
    "$converter" --quiet -o "${target%.*}.usdz" "$file" >/dev/null 2>&1 || true
  done < <(model_files "$folder")
  exit 0
fi

converter="$(realpath "$1")"
folder="$(realpath "$2")"
jobs="${3:-2}"
runs="${4:-3}"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT

# "wall cpu" in seconds.
measure() {
  /usr/bin/time -f '%e %U %S' -o "$work/time" "$0" --way "$1" "$converter" "$folder" "$jobs" \
    "$work/$1"
  awk '{ printf "%.3f %.3f\n", $1, $2 + $3 }' "$work/time"
}

ratio() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.2f", a / b }'; }

echo "$(model_files "$folder" | wc -l) files under $folder, -j $jobs, load average" \
  "$(cut -d' ' -f1-3 /proc/loadavg)"
printf '%-4s %-20s %-20s %-10s %-10s\n' run "one by one wall/cpu" "batch wall/cpu" "wall x" "cpu x"
for run in $(seq "$runs"); do
  read -r one_wall one_cpu < <(measure one-by-one)
  read -r batch_wall batch_cpu < <(measure batch)
  printf '%-4s %-20s %-20s %-10s %-10s\n' "$run" "$one_wall $one_cpu" "$batch_wall $batch_cpu" \
    "$(ratio "$batch_wall" "$one_wall")" "$(ratio "$batch_cpu" "$one_cpu")"
done
