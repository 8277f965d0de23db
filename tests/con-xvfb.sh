#!/usr/bin/env bash
# Runs a command with a display of its own: con-xvfb.sh COMMAND [ARGS...].
set -euo pipefail
tmp=$(mktemp -d)
Xvfb -displayfd 3 -screen 0 1024x768x24 3>"$tmp/pantalla" >/dev/null 2>&1 &
xvfb=$!
trap 'kill $xvfb 2>/dev/null || true; rm -rf "$tmp"' EXIT
for _ in $(seq 100); do [ -s "$tmp/pantalla" ] && break; sleep 0.1; done
DISPLAY=:$(cat "$tmp/pantalla") "$@"
