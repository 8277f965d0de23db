#!/usr/bin/env bash
# pontavia.exe under Wine and Xvfb, driven from the keyboard as a user would: Tamberlo starts
# "pontavia.exe exportar x" from its own folder, whose name is not plain ASCII; the user types
# the sample school's file name into the file dialog, which opens in that folder, and confirms
# "Proceso finalizado"; then the six tables exist and Tamberlo.ini beside the program holds 1.
# The Wine prefix is $WINEPREFIX when set (made on first use), else one of its own.
set -euo pipefail
binario=$1
ejemplo=$2
cli=$3 # the list of the tables exportar writes
raiz=$(cd "$(dirname "$0")/.." && pwd)
tmp=$(mktemp -d)
prefijo=${WINEPREFIX:-$tmp/wine}
wineserver=$(command -v wineserver || echo /usr/lib/wine/wineserver)

Xvfb -displayfd 3 -screen 0 1024x768x24 3>"$tmp/pantalla" >/dev/null 2>&1 &
xvfb=$!
programa=
terminar() {
    if [ -n "$programa" ]; then kill "$programa" 2>/dev/null || true; fi
    if [ -z "${WINEPREFIX:-}" ]; then WINEPREFIX=$prefijo "$wineserver" -k 2>/dev/null || true; fi
    kill $xvfb 2>/dev/null || true
    rm -rf "$tmp"
}
trap terminar EXIT
for _ in $(seq 100); do [ -s "$tmp/pantalla" ] && break; sleep 0.1; done
export DISPLAY=:$(cat "$tmp/pantalla")

# A Wine window needs a Wine desktop made on a display: one that a program without a display
# (an earlier test) began stays without one while the prefix's Wine runs, so it ends first.
WINEPREFIX=$prefijo "$wineserver" -w 2>/dev/null || true


# A copy of the program in a folder standing for Tamberlo's, so that its status file is
# written beside it. Wine shows the Linux root as drive Z:.
windows() { printf 'Z:%s' "${1//\//\\}"; }
tamberlo="$tmp/Jefatura de Estudios/Horarios 2026-27 (ñ)"
mkdir -p "$tamberlo"
cp "$binario" "$tamberlo/pontavia.exe"
cp "$ejemplo" "$tamberlo/centro.xml"
cd "$tamberlo"
PONTAVIA_KTEMP=$(windows "$tmp/KTEMP") \
    bash "$raiz/scripts/con-wine" "$prefijo" "$tamberlo/pontavia.exe" exportar x >/dev/null 2>&1 &
programa=$!

source "$raiz/tests/enfocar.sh"
# The first start of a prefix makes it, which takes a while.
enfocar "Seleccione Archivo XML" 900 0.5
# The name alone: xdotool cannot type the folder's ñ into Wine.
xdotool type --delay 5 "centro.xml"
xdotool key Return

enfocar "^Pontavia$" 900 0.5
xdotool key Return

timeout 30 tail --pid=$programa -f /dev/null
programa=
tablas=$(bash "$raiz/scripts/con-wine" "$prefijo" "$cli" mostrar --tablas | tr -d '\r')
[ -n "$tablas" ] || { echo "pontavia-cli.exe mostrar --tablas no lista ninguna tabla"; exit 1; }
for t in $tablas; do
    test -s "$tmp/KTEMP/$t.DBF" || { echo "falta $t.DBF"; exit 1; }
done
grep -q $'^Transformado=1\r$' "$tamberlo/Tamberlo.ini" ||
    { echo "Tamberlo.ini:"; cat "$tamberlo/Tamberlo.ini"; exit 1; }
echo "1 passed, 0 failed"
