#!/usr/bin/env bash
# The compiled guide in Wine's own help viewer (hh.exe), on a Spanish machine under Xvfb: the
# viewer's window carries the guide's title as the project gives it, accents and all (a title
# the viewer misread showed "GuÃ­a de Pontavia").
#   guia_en_visor_windows.sh PONTAVIA.CHM PONTAVIA.HHP
# The Wine prefix is $WINEPREFIX when set (made on first use), else one of its own.
set -euo pipefail
guia=$1
proyecto=$2
raiz=$(cd "$(dirname "$0")/.." && pwd)
tmp=$(mktemp -d)
prefijo=${WINEPREFIX:-$tmp/wine}
wineserver=$(command -v wineserver || echo /usr/lib/wine/wineserver)
visor=
pantalla_xvfb=
terminar() {
    if [ -n "$visor" ]; then kill "$visor" 2>/dev/null || true; fi
    if [ -z "${WINEPREFIX:-}" ]; then WINEPREFIX=$prefijo "$wineserver" -k 2>/dev/null || true; fi
    if [ -n "$pantalla_xvfb" ]; then kill "$pantalla_xvfb" 2>/dev/null || true; fi
    rm -rf "$tmp"
}
trap terminar EXIT
source "$raiz/tests/ventana_teclado.sh"
abrir_pantalla
WINEPREFIX=$prefijo "$wineserver" -w 2>/dev/null || true
export LC_ALL=es_ES.UTF-8

titulo=$(sed -n 's/^Title=//p' "$proyecto" | tr -d '\r')
[ -n "$titulo" ] || fallo "$proyecto no da título"
cp "$guia" "$tmp/Pontavia.chm"
(exec bash "$raiz/scripts/con-wine" "$prefijo" hh.exe "Z:${tmp//\//\\}\\Pontavia.chm" \
    >/dev/null 2>&1) &
visor=$!
for _ in $(seq 600); do
    id=$(xdotool search --onlyvisible --name "Pontavia" 2>/dev/null | tail -n 1 || true)
    [ -n "$id" ] && break
    sleep 0.1
done
[ -n "${id:-}" ] || fallo "el visor de ayuda no abrió ninguna ventana"
sleep 1
leido=$(xdotool getwindowname "$id")
[ "$leido" = "$titulo" ] || fallo "el visor muestra el título «$leido», no «$titulo»"
echo "1 passed, 0 failed"
