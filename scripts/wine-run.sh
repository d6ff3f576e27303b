#!/usr/bin/env bash
# Runs a Windows program under Wine in the given prefix: wine-run.sh PREFIX PROGRAM [ARGS...]
# The Windows build uses it as its emulator, so ctest runs the test programs through it.
set -euo pipefail
source "$(dirname "$0")/wine-env.sh"
wine_env "$1"
shift
wine_boot
wine_locale wine "$@"
