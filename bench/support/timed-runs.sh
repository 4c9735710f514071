# shellcheck shell=bash
# Sourced by the timed conversion scripts: a command timed on the wall clock and in CPU with
# what /usr/bin/time reports of it, variants taking turns so that each sees the same load on
# the machine, and medians.

# Runs the command with its output discarded; prints wall, user and system seconds (to the
# millisecond), then /usr/bin/time's FORMAT ("%M" is the peak resident kilobytes).
#   timed FORMAT SCRATCH_FILE COMMAND [ARGUMENT…]
timed() {
    local format=$1 scratch=$2 timing
    shift 2
    TIMEFORMAT='%3R %3U %3S'
    timing=$({ time /usr/bin/time -o "$scratch" -f "$format" "$@" >/dev/null 2>&1; } 2>&1)
    echo "$timing $(cat "$scratch")"
}

# One warm-up of each variant, then RUNS rounds of all of them in turn, appending
# "VARIANT <what convert_once printed>" to FILE; convert_once VARIANT is the caller's.
#   run_in_turns RUNS FILE VARIANT…
run_in_turns() {
    local runs=$1 file=$2 variant i
    shift 2
    for variant in "$@"; do convert_once "$variant" >/dev/null; done
    for ((i = 0; i < runs; i++)); do
        for variant in "$@"; do echo "$variant $(convert_once "$variant")" >>"$file"; done
    done
}

# The median of the numbers on standard input, one a line.
median() { sort -n | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'; }
