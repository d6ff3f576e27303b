#!/usr/bin/env bash
# Installs what the tests need, builds and runs every test.
#   test.sh             the Linux build
#   test.sh --sanitize  the Linux build under AddressSanitizer and UndefinedBehaviorSanitizer
#   test.sh --windows   the Windows build (mingw-w64), its tests run under Wine and Xvfb
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh

build=build
options=(-DQUORVANT_WERROR=ON -DCMAKE_BUILD_TYPE=RelWithDebInfo)
runner=()
case "${1:-}" in
  --sanitize)
    build=build-sanitize
    options=(-DQUORVANT_WERROR=ON -DCMAKE_BUILD_TYPE=Debug -DQUORVANT_SANITIZE=ON -DQUORVANT_BENCHMARKS=OFF)
    export ASAN_OPTIONS=detect_leaks=1:abort_on_error=0
    export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
    ;;
  --windows)
    build=build-windows
    options=(-DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake -DQUORVANT_WERROR=ON
      -DCMAKE_BUILD_TYPE=RelWithDebInfo -DQUORVANT_BENCHMARKS=OFF)
    runner=(bash scripts/wine-session.sh "$PWD/$build/wine-prefix")
    ;;
  "") ;;
  *) echo "usage: test.sh [--sanitize | --windows]" >&2; exit 2 ;;
esac

bash scripts/build.sh "$build" "${options[@]}"
log="$build/ctest.log"
if ! "${runner[@]}" ctest --test-dir "$build" --output-on-failure -j2 --timeout 600 >"$log" 2>&1; then
  grep -v -E '^ *[0-9]+/[0-9]+ Test +#[0-9]+: .* Passed' "$log" | tail -200
  exit 1
fi
grep -E 'tests passed|tests failed' "$log"
