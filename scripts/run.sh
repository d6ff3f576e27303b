#!/usr/bin/env bash
# Installs what the program needs, builds it and runs it. Without a display (DISPLAY unset) it
# shows the window on a virtual screen instead, saves a screenshot and prints its path.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
bash scripts/build.sh build -DCMAKE_BUILD_TYPE=RelWithDebInfo

program=build/app/quorvant
if [ -n "${DISPLAY:-}" ]; then
  exec "$program"
fi

# Runs on the virtual screen: waits for the window, lets it paint, shoots, then ends the program
# without closing the window, so that no browser is started.
read -r -d '' shoot <<'SCRIPT' || true
program=$1 screenshot=$2
"$program" &
pid=$!
for _ in $(seq 100); do
  xwininfo -name Quorvant 2>/dev/null | grep -q IsViewable && break
  kill -0 "$pid" 2>/dev/null || { echo "run: the program ended before its window showed" >&2; exit 1; }
  sleep 0.1
done
sleep 1
import -window root "$screenshot"
kill "$pid"
wait "$pid" 2>/dev/null || true
SCRIPT
screenshot="$PWD/build/screenshot.png"
timeout 60 xvfb-run -a -s "-screen 0 1024x768x24" bash -c "$shoot" shoot "$program" "$screenshot"
echo "screenshot: $screenshot"
