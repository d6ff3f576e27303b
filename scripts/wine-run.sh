#!/usr/bin/env bash
# Runs a Windows program under Wine in the given prefix: wine-run.sh PREFIX PROGRAM [ARGS...]
# The Windows build uses it as its emulator, so ctest runs the test programs through it.
set -euo pipefail
source "$(dirname "$0")/wine-env.sh"
wine_env "$1"
shift
wine_boot
# Outside a session Wine's services may not be running; started here, they do not hold on to
# the program's output.
[ -n "${QUORVANT_WINE_SESSION:-}" ] || wine_locale wineboot >/dev/null 2>&1
wine_locale wine "$@"
