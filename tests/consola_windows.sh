#!/usr/bin/env bash
# pontavia-cli.exe in a console of its own, as a person runs it from cmd: the screen shows,
# accents and all, the same lines that a file receives when the output is redirected (the help
# on standard output, a missing file's message on standard error, a table of the sample school
# longer than one write), and the console's code page is the user's again at its end.
# consola_windows.sh WINE_RUNNER WINE_PREFIX LEER_CONSOLA_EXE PONTAVIA_CLI_EXE EXAMPLES
set -euo pipefail
wine=$1 prefijo=$2 leer=$3 exe=$4 ejemplos=$5
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
export PONTAVIA_KTEMP="Z:$tmp/ktemp"
mkdir -p "$tmp/ktemp" "$tmp/Horarios (ñ)"
cp "$ejemplos/centro.xml" "$tmp/Horarios (ñ)/centro.xml"
"$wine" "$prefijo" "$exe" exportar "Z:$tmp/Horarios (ñ)/centro.xml" >/dev/null

fallos=0
# caso NOMBRE CODIGO_ESPERADO ARGS...: the screen against the redirected output.
caso() {
    local nombre=$1 esperado=$2 codigo=0
    shift 2
    "$wine" "$prefijo" "$exe" "$@" >"$tmp/redirigida" 2>&1 || true
    "$wine" "$prefijo" "$leer" "Z:$tmp/pantalla" "$exe" "$@" || codigo=$?
    if [[ $codigo != "$esperado" ]]; then
        echo "$nombre: código de salida $codigo, se esperaba $esperado" >&2
        fallos=$((fallos + 1))
    fi
    # Rows without their trailing spaces, and no empty rows after the last line.
    filas() { sed -e 's/\r$//' -e 's/ *$//' | sed -e :a -e '/^\n*$/{$d;N;ba' -e '}'; }
    if ! diff <(filas <"$tmp/redirigida") <(head -n -1 "$tmp/pantalla" | filas) >"$tmp/diff"; then
        echo "$nombre: la consola no muestra lo que recibe un archivo:" >&2
        head -n 20 "$tmp/diff" >&2
        fallos=$((fallos + 1))
    fi
    if ! tail -n 1 "$tmp/pantalla" | grep -qx "página de códigos 850 -> 850"; then
        echo "$nombre: $(tail -n 1 "$tmp/pantalla")" >&2
        fallos=$((fallos + 1))
    fi
}

caso ayuda 0 --ayuda
grep -q "Las tablas de Tamberlo están en la carpeta" "$tmp/pantalla"
caso archivo_que_falta 2 exportar "Z:$tmp/Horarios (ñ)/no está.xml"
grep -q "exportó VELMORA" "$tmp/pantalla"
caso tabla 0 mostrar ASIGNOMT
[[ $(wc -c <"$tmp/redirigida") -gt 4096 ]]
exit $((fallos > 0))
