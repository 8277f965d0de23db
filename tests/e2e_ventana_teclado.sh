#!/usr/bin/env bash
# The Qt window under Xvfb, driven from the keyboard: one case of ventana_teclado.sh.
#   e2e_ventana_teclado.sh PONTAVIA PONTAVIA-CLI SAMPLE-XML CASE
# The system's viewer is what Qt asks to open a file with, xdg-open: a stand-in first on PATH
# records each file it is given, as a viewer would open it.
set -euo pipefail
binario=$1
cli_binario=$2
ejemplo=$3
caso=$4
tmp=$(mktemp -d)
programa=
pantalla_xvfb=
terminar() {
    if [ -n "$programa" ]; then kill "$programa" 2>/dev/null || true; fi
    if [ -n "$pantalla_xvfb" ]; then kill "$pantalla_xvfb" 2>/dev/null || true; fi
    rm -rf "$tmp"
}
trap terminar EXIT
source "$(dirname "$0")/ventana_teclado.sh"
abrir_pantalla

ktemp=$tmp/KTEMP
velmora=$tmp/VELMORA
# A copy of the program, so that its status file is written beside it in the temporary folder.
carpeta_programa=$tmp/programa
mkdir -p "$carpeta_programa" "$tmp/bin"
cp "$binario" "$carpeta_programa/pontavia"
printf '#!/bin/sh\nprintf "%%s\\n" "$1" >>"%s/visor"\n' "$tmp" >"$tmp/bin/xdg-open"
chmod +x "$tmp/bin/xdg-open"

lanzar() {
    PATH=$tmp/bin:$PATH PONTAVIA_KTEMP=$ktemp "$carpeta_programa/pontavia" "$@" >/dev/null 2>&1 &
    programa=$!
}
ruta_dialogo() { printf '%s' "$1"; }
# The box copies its text with Ctrl+C, as a user may copy it.
texto_caja() {
    xdotool key ctrl+c
    sleep 0.3
    xclip -o -selection clipboard 2>/dev/null
}
volver_a_la_ventana() { enfocar "^Exportar e importar"; }
cli() { PONTAVIA_KTEMP=$ktemp "$cli_binario" "$@"; }
visor_abrio() {
    local url
    for _ in $(seq 100); do
        url=$(grep "/$1\$" "$tmp/visor" 2>/dev/null | tail -n 1 || true)
        # The file as the viewer gets it: a file URL of a report that is there.
        [[ $url == file://* && -s ${url#file://} ]] && return 0
        sleep 0.1
    done
    echo "se pidió al visor: $(cat "$tmp/visor" 2>/dev/null)"
    return 1
}

correr "$caso"
