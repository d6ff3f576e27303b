#!/usr/bin/env bash
# Installs what the program needs, builds it and runs it.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
bash scripts/build.sh build -DCMAKE_BUILD_TYPE=RelWithDebInfo
echo "built: $(cd build && find . -maxdepth 3 -type f -executable -name 'quorvant*' -o -maxdepth 3 -name '*.a' -type f | sort | tr '\n' ' ')"
