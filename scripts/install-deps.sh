#!/usr/bin/env bash
# Installs the Debian packages the project needs. Idempotent and quiet: it asks apt only for
# what is missing.
set -euo pipefail

packages=(
  cmake make g++ pkg-config clang-format
  libgtest-dev libgmock-dev libbenchmark-dev
  qt6-base-dev qt6-declarative-dev qt6-qpa-plugins
  libcurl4-openssl-dev ca-certificates curl tinyproxy
  xvfb xauth x11-apps x11-utils imagemagick fonts-noto-cjk time
  g++-mingw-w64-x86-64-posix wine wine64 fonts-wine fonts-arphic-uming libxrender1 googletest
)

missing=()
for package in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$package")
  fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

log=$(mktemp)
if ! { apt-get update -qq && DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "${missing[@]}"; } >"$log" 2>&1; then
  cat "$log" >&2
  echo "install-deps: could not install: ${missing[*]}" >&2
  exit 1
fi
rm -f "$log"
