#!/usr/bin/env bash
# Configures and builds one build tree quietly: build.sh DIR [cmake options...]
set -euo pipefail
dir=$1
shift
log="$dir.log"
mkdir -p "$dir"
if ! { cmake -S "$(dirname "$0")/.." -B "$dir" "$@" && cmake --build "$dir" -j"$(nproc)"; } >"$log" 2>&1; then
  grep -E 'error|Error|warning' "$log" | head -40 >&2 || true
  tail -20 "$log" >&2
  echo "build failed: see $log" >&2
  exit 1
fi
