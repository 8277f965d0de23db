#!/usr/bin/env bash
# The real window under Xvfb, driven from the keyboard as a user would: Tamberlo starts
# "pontavia exportar x", the user types the sample school's path into the file dialog and
# confirms "Proceso finalizado"; then the six tables exist and Tamberlo.ini holds 1.
set -euo pipefail
binario=$1
ejemplo=$2
cli=$3 # the list of the tables exportar writes
tmp=$(mktemp -d)
# Xvfb picks a free display itself and tells which once it is ready.
Xvfb -displayfd 3 -screen 0 1024x768x24 3>"$tmp/pantalla" >/dev/null 2>&1 &
xvfb=$!
trap 'kill $xvfb 2>/dev/null || true; rm -rf "$tmp"' EXIT
for _ in $(seq 100); do [ -s "$tmp/pantalla" ] && break; sleep 0.1; done
export DISPLAY=:$(cat "$tmp/pantalla")

# A copy of the program, so that its status file is written beside it in the temporary folder.
cp "$binario" "$tmp/pontavia"
cp "$ejemplo" "$tmp/centro.xml"
PONTAVIA_KTEMP="$tmp/KTEMP" "$tmp/pontavia" exportar x &
programa=$!

source "$(dirname "$0")/enfocar.sh"

enfocar "Seleccione Archivo XML"
xdotool type --delay 5 "$tmp/centro.xml"
xdotool key Return

enfocar "^Pontavia$"
xdotool key Return

timeout 20 tail --pid=$programa -f /dev/null
tablas=$("$cli" mostrar --tablas)
[ -n "$tablas" ] || { echo "pontavia-cli mostrar --tablas no lista ninguna tabla"; exit 1; }
for t in $tablas; do
    test -s "$tmp/KTEMP/$t.DBF" || { echo "falta $t.DBF"; exit 1; }
done
grep -q $'^Transformado=1\r$' "$tmp/Tamberlo.ini" || { echo "Tamberlo.ini:"; cat "$tmp/Tamberlo.ini"; exit 1; }
echo "1 passed, 0 failed"
