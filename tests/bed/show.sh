#!/usr/bin/env bash
# ./dev.sh run: Tovanix beside the stand-in chat client under the bed. On the
# user's display it runs until Tovanix is closed; without one it runs on a
# virtual display, saves build/screenshot.png, closes Tovanix with Esc and
# prints its exit code.
set -uo pipefail
HERE=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
ROOT=$(cd "$HERE/../.." && pwd)
BIN=${1:-$ROOT/build/windows}/bin

if [ -n "${DISPLAY:-}" ] && xdpyinfo >/dev/null 2>&1; then
  BED_USE_DISPLAY=1 exec "$HERE/bed.sh" "$BIN/run_demo.exe"
fi

markers=$(mktemp -d "$ROOT/build/run-markers.XXXXXX")
trap 'rm -rf "$markers"' EXIT
export SHOT=$ROOT/build/screenshot.png MARKERS=$markers BIN
"$HERE/bed.sh" bash -c '
  wine "$BIN/run_demo.exe" "Z:${MARKERS//\//\\}" & demo=$!
  for i in $(seq 1 600); do [ -e "$MARKERS/ready" ] && break; kill -0 $demo 2>/dev/null || break; sleep 0.1; done
  import -window root "$SHOT" && echo "screenshot: $SHOT"
  touch "$MARKERS/go"
  wait $demo'
