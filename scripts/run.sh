#!/usr/bin/env bash
# Installs what the program needs, builds it and runs it. Without a display (DISPLAY unset) it
# decodes one share code through the window on a virtual screen instead, against the stand-in
# decoding service, prints what the result box shows, saves a screenshot and prints its path.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
bash scripts/build.sh build -DCMAKE_BUILD_TYPE=RelWithDebInfo

program=build/app/quorvant
if [ -n "${DISPLAY:-}" ]; then
  exec "$program"
fi

# Without a display: on a virtual screen, the stand-in decoding service on loopback and the
# window of the program posting to it (a demo build of the same sources; the program itself keeps
# its compiled-in service). One code is typed and decoded; the result box is printed and the
# screen saved. The demo never opens the home page, so no browser is started.
read -r -d '' decode <<'SCRIPT' || true
service=$1 demo=$2 screenshot=$3
port_file=$(mktemp)
# The toolkit wants a private runtime folder, which a session without a login lacks.
export XDG_RUNTIME_DIR=$(mktemp -d)
"$service" >"$port_file" &
service_pid=$!
trap 'kill "$service_pid" 2>/dev/null; rm -rf "$port_file" "$XDG_RUNTIME_DIR"' EXIT
for _ in $(seq 50); do
  [ -s "$port_file" ] && break
  kill -0 "$service_pid" 2>/dev/null || { echo "run: the decoding service did not start" >&2; exit 1; }
  sleep 0.1
done
"$demo" --port "$(head -n 1 "$port_file")" --code '《Rt8pWm2XcLs《' --screenshot "$screenshot"
SCRIPT
screenshot="$PWD/build/screenshot.png"
timeout 120 xvfb-run -a -s "-screen 0 1024x768x24" bash -c "$decode" decode \
  build/tools/decoding_service/quorvant-decoding-service build/tools/decode_demo/quorvant-decode-demo \
  "$screenshot"
echo "screenshot: $screenshot"
