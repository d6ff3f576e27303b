#!/usr/bin/env bash
# Time from process start to the window being ready for input, and peak memory, of the program's
# window against a minimal Qt Widgets program showing one empty window, measured in the same run.
#   startup_bench.sh [BUILD_DIR [RUNS]]     (default: build, 15 runs of each)
# Without a display it runs itself on a virtual screen.
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
build=$(cd "${1:-$root/build}" && pwd)
runs=${2:-15}

if [ -z "${DISPLAY:-}" ]; then
  exec xvfb-run -a -s "-screen 0 1024x768x24" bash "$0" "$build" "$runs"
fi

cmake --build "$build" --target quorvant_startup minimal_window >/dev/null
program="$build/app/bench/quorvant_startup"
reference="$build/app/bench/minimal_window"

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# One start: prints "microseconds kilobytes".
measure() {
  local start ready
  start=$(date +%s%N)
  ready=$(/usr/bin/time -v -o "$work/time" "$@" 2>/dev/null | sed -n 's/^ready_ns=//p')
  [ -n "$ready" ] || { echo "startup_bench: $* never became ready" >&2; exit 1; }
  echo "$(( (ready - start) / 1000 )) $(sed -n 's/.*Maximum resident set size (kbytes): //p' "$work/time")"
}

median() { sort -n | awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }

# Warm the file cache, then alternate so that both see the same machine.
measure "$reference" >/dev/null
measure "$reference" --texts >/dev/null
measure "$program" >/dev/null
for _ in $(seq "$runs"); do
  measure "$reference" >>"$work/empty"
  measure "$reference" --texts >>"$work/texts"
  measure "$program" >>"$work/program"
done

row() { echo "$1 $(cut -d' ' -f1 "$work/$2" | median) $(cut -d' ' -f2 "$work/$2" | median)"; }
{ row empty empty; row texts texts; row quorvant program; } | awk -v n="$runs" '
  { name[NR] = $1; us[NR] = $2; kb[NR] = $3 }
  END {
    printf "median of %d starts each, from process start to the window ready for input\n", n
    printf "%-34s %10s %12s\n", "", "time (ms)", "peak (KiB)"
    printf "%-34s %10.1f %12d\n", "minimal window (empty)", us[1] / 1000, kb[1]
    printf "%-34s %10.1f %12d\n", "minimal window with the texts", us[2] / 1000, kb[2]
    printf "%-34s %10.1f %12d\n", "quorvant", us[3] / 1000, kb[3]
    printf "%-34s %9.2fx %11.2fx   (goal: at most 1.30x each)\n", "quorvant / empty window",
           us[3] / us[1], kb[3] / kb[1]
    printf "%-34s %9.2fx %11.2fx\n", "quorvant / window with the texts", us[3] / us[2], kb[3] / kb[2]
  }'
