#!/usr/bin/env bash
# Shows the Windows build of the program under Wine on a virtual screen and saves a picture of
# its window: windows-screenshot.sh [OUTPUT.png]. Build it first (bash scripts/test.sh --windows).
# The program is ended with Wine rather than closed, so it opens no home page.
set -euo pipefail
cd "$(dirname "$0")/.."
build=$PWD/build-windows
program=$build/app/quorvant.exe
output=${1:-$build/screenshot.png}
[ -f "$program" ] || { echo "windows-screenshot: no $program; run scripts/test.sh --windows" >&2; exit 1; }

read -r -d '' capture <<'SCRIPT' || true
program=$1 output=$2
scripts/wine-run.sh "$WINEPREFIX" "$program" >/dev/null 2>&1 &
for _ in $(seq 100); do
  geometry=$(xwininfo -root -tree | grep -F '"Quorvant": ("quorvant.exe"' | head -n 1 || true)
  [ -n "$geometry" ] && break
  sleep 0.2
done
[ -n "$geometry" ] || { echo "windows-screenshot: the window did not appear" >&2; exit 1; }
# The window's own size and place, as "WxH+X+Y", after it has painted.
sleep 1
crop=$(sed -E 's/.* ([0-9]+x[0-9]+)\+-?[0-9]+\+-?[0-9]+ +\+(-?[0-9]+)\+(-?[0-9]+).*/\1+\2+\3/' <<<"$geometry")
import -window root -crop "$crop" +repage "$output"
SCRIPT
bash scripts/wine-session.sh "$build/wine-prefix" bash -c "$capture" capture "$program" "$output"
echo "screenshot: $output"
