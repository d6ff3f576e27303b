#!/usr/bin/env bash
# Runs a command that starts many Windows programs under Wine, paying Wine's start-up once: an
# X display (Xvfb, unless one is set), the prefix created, one wineserver kept alive for the
# whole command and stopped afterwards.   wine-session.sh PREFIX COMMAND [ARGS...]
set -euo pipefail
if [ -z "${DISPLAY:-}" ]; then
  exec xvfb-run -a -s "-screen 0 1280x1024x24" "$0" "$@"
fi
source "$(dirname "$0")/wine-env.sh"
wine_env "$1"
shift
wineserver -p 2>/dev/null || true  # a server already running for this prefix will do
trap 'wineserver -k 2>/dev/null || true' EXIT
wine_boot
# Wine's own services start now, detached from the command's output: a service started by a
# test program would keep that program's output pipe open after it ended. So do the COM service
# and the desktop, which Wine otherwise starts for the first program that needs them; programs
# started side by side raced for that, and one of them was held up for half a minute.
wine_locale wineboot >/dev/null 2>&1
wine_locale wine net start RpcSs >/dev/null 2>&1 || true
wine_locale wine rundll32.exe user32.dll,MessageBeep >/dev/null 2>&1 || true
export QUORVANT_WINE_SESSION=1
"$@"
