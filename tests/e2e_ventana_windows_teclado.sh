#!/usr/bin/env bash
# pontavia.exe under Wine and Xvfb, driven from the keyboard: one case of ventana_teclado.sh.
#   e2e_ventana_windows_teclado.sh PONTAVIA.EXE PONTAVIA-CLI.EXE LEER_CAJA.EXE SAMPLE-XML CASE
# The system's viewer is Windows' own: the file's association (notepad for a .TXT), whose
# window must come up showing the report. The Wine prefix is $WINEPREFIX when set (made
# on first use), else one of its own.
set -euo pipefail
binario=$1
cli_binario=$2
leer=$3
ejemplo=$4
caso=$5
raiz=$(cd "$(dirname "$0")/.." && pwd)
tmp=$(mktemp -d)
prefijo=${WINEPREFIX:-$tmp/wine}
wineserver=$(command -v wineserver || echo /usr/lib/wine/wineserver)
programa=
pantalla_xvfb=
visores=()
terminar() {
    if [ -n "$programa" ]; then kill "$programa" 2>/dev/null || true; fi
    for v in "${visores[@]}"; do kill "$v" 2>/dev/null || true; done
    if [ -z "${WINEPREFIX:-}" ]; then WINEPREFIX=$prefijo "$wineserver" -k 2>/dev/null || true; fi
    if [ -n "$pantalla_xvfb" ]; then kill "$pantalla_xvfb" 2>/dev/null || true; fi
    rm -rf "$tmp"
}
trap terminar EXIT
source "$raiz/tests/ventana_teclado.sh"
abrir_pantalla

# A Wine window needs a Wine desktop made on a display: one that a program without a display
# (an earlier test) began stays without one while the prefix's Wine runs, so it ends first.
WINEPREFIX=$prefijo "$wineserver" -w 2>/dev/null || true

# Wine shows the Linux root as drive Z:.
windows() { printf 'Z:%s' "${1//\//\\}"; }
ktemp=$tmp/KTEMP
velmora=$tmp/VELMORA
# A copy of the program, so that its status file is written beside it in the temporary folder.
carpeta_programa=$tmp/programa
mkdir -p "$carpeta_programa"
cp "$binario" "$carpeta_programa/pontavia.exe"

lanzar() {
    (cd "$carpeta_programa" && PONTAVIA_KTEMP=$(windows "$ktemp") \
        exec bash "$raiz/scripts/con-wine" "$prefijo" "$carpeta_programa/pontavia.exe" "$@" \
        >/dev/null 2>&1) &
    programa=$!
}
ruta_dialogo() { windows "$1"; }
# Wine's boxes copy nothing with Ctrl+C: a program of the same Wine reads their controls.
texto_caja() { bash "$raiz/scripts/con-wine" "$prefijo" "$leer" "$1" 2>/dev/null | tr -d '\r'; }
# Wine gives the keyboard to a window another program's took it from only on a click, as a
# user brings a window back: on a bare spot of the top left panel.
volver_a_la_ventana() {
    enfocar "^Exportar e importar"
    xdotool mousemove --window "$(xdotool search --onlyvisible --name "^Exportar e importar" | tail -n 1)" 8 8 click 1
    sleep 0.3
}
cli() {
    local argumentos=()
    for a in "$@"; do
        if [[ $a == /* ]]; then argumentos+=("$(windows "$a")"); else argumentos+=("$a"); fi
    done
    PONTAVIA_KTEMP=$(windows "$ktemp") bash "$raiz/scripts/con-wine" "$prefijo" "$cli_binario" \
        "${argumentos[@]}" 2>/dev/null | tr -d '\r'
}
# The viewer's window, titled after the file it shows; once seen, it is ended.
visor_abrio() {
    local id
    for _ in $(seq 300); do
        id=$(xdotool search --onlyvisible --name "$1" 2>/dev/null | tail -n 1 || true)
        if [ -n "$id" ]; then
            visores+=("$(xdotool getwindowpid "$id")")
            sleep 1
            kill "${visores[-1]}" 2>/dev/null || true
            for _ in $(seq 50); do
                xdotool search --onlyvisible --name "$1" >/dev/null 2>&1 || break
                sleep 0.1
            done
            return 0
        fi
        sleep 0.1
    done
    echo "ninguna ventana muestra $1: $(xdotool search --onlyvisible --name . getwindowname %@ 2>/dev/null | tr '\n' '|')"
    return 1
}

# Every Windows opens a .TXT with notepad; Wine's fresh prefix has notepad and its "txtfile"
# class, but not the extension's link to it.
bash "$raiz/scripts/con-wine" "$prefijo" reg add 'HKCR\.txt' /ve /d txtfile /f \
    >/dev/null 2>&1

correr "$caso"
