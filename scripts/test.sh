#!/usr/bin/env bash
# Installs what the tests need, builds and runs every test.
#   test.sh             the Linux build
#   test.sh --sanitize  the Linux build under AddressSanitizer and UndefinedBehaviorSanitizer
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh

build=build
options=(-DQUORVANT_WERROR=ON -DCMAKE_BUILD_TYPE=RelWithDebInfo)
case "${1:-}" in
  --sanitize)
    build=build-sanitize
    options=(-DQUORVANT_WERROR=ON -DCMAKE_BUILD_TYPE=Debug -DQUORVANT_SANITIZE=ON -DQUORVANT_BENCHMARKS=OFF)
    export ASAN_OPTIONS=detect_leaks=1:abort_on_error=0
    export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
    ;;
  "") ;;
  *) echo "usage: test.sh [--sanitize]" >&2; exit 2 ;;
esac

bash scripts/build.sh "$build" "${options[@]}"
log="$build/ctest.log"
if ! ctest --test-dir "$build" --output-on-failure -j2 --timeout 600 >"$log" 2>&1; then
  grep -v -E '^ *[0-9]+/[0-9]+ Test +#[0-9]+: .* Passed' "$log" | tail -200
  exit 1
fi
grep -E 'tests passed|tests failed' "$log"
