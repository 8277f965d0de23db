#!/usr/bin/env bash
# Runs a command with a display of its own: con-xvfb.sh COMMAND [ARGS...].
set -euo pipefail
tmp=$(mktemp -d)
# A screen with room for a window at twice its size, as on a monitor set to 200 %.
Xvfb -displayfd 3 -screen 0 2560x1600x24 3>"$tmp/pantalla" >/dev/null 2>&1 &
xvfb=$!
trap 'kill $xvfb 2>/dev/null || true; rm -rf "$tmp"' EXIT
# Xvfb writes its display's number, a whole line, once it takes connections. On a machine
# busy with the other suites that can take more than a few seconds, and a command started
# before would find no display.
for _ in $(seq 600); do
    [ "$(wc -l <"$tmp/pantalla")" -ge 1 ] && break
    kill -0 $xvfb 2>/dev/null || { echo "con-xvfb.sh: Xvfb terminó sin abrir una pantalla" >&2; exit 1; }
    sleep 0.1
done
pantalla=$(head -n 1 "$tmp/pantalla")
# A Wine window needs a Wine desktop made on a display: one that a program without a display
# (an earlier test) began stays without one while that prefix's Wine runs, so it ends first.
if [ -n "${WINEPREFIX:-}" ]; then
    WINEPREFIX=$WINEPREFIX "$(command -v wineserver || echo /usr/lib/wine/wineserver)" -w || true
fi
[ -n "$pantalla" ] || { echo "con-xvfb.sh: Xvfb no abrió una pantalla en 60 s" >&2; exit 1; }
DISPLAY=:$pantalla "$@"
