#!/usr/bin/env bash
# pontavia-cli.exe under Wine against the Linux build, end to end on the sample school: from
# a folder whose name holds spaces, brackets and an ñ, exportar gives the same six tables byte
# for byte (the header's date of last update aside), mostrar the same CSV with its CRLF, and
# importar of the sample SOLUC the same result but for fecha_exportacion.
# e2e_windows.sh WINE_RUNNER WINE_PREFIX PONTAVIA_CLI_EXE PONTAVIA_CLI_LINUX EXAMPLES
set -euo pipefail
wine=$1 prefijo=$2 exe=$3 linux=$4 ejemplos=$5
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
datos="$tmp/Jefatura de Estudios/Horarios 2026-27 (ñ)"
mkdir -p "$datos/windows" "$datos/linux" "$tmp/ktemp-windows" "$tmp/ktemp-linux"
cp "$ejemplos/centro.xml" "$datos/windows/centro.xml"
cp "$ejemplos/centro.xml" "$datos/linux/centro.xml"

windows() { PONTAVIA_KTEMP="Z:$tmp/ktemp-windows" "$wine" "$prefijo" "$exe" "$@"; }

# The Windows path Wine gives a Linux one (Z: is the root of the Linux file system).
windows exportar "Z:$datos/windows/centro.xml" >"$tmp/salida-windows"
PONTAVIA_KTEMP="$tmp/ktemp-linux" "$linux" exportar "$datos/linux/centro.xml" >/dev/null

sin_fecha() { # a dBase table with its date of last update (bytes 1 to 3) blanked
    { head -c 1 "$1"; printf '\0\0\0'; tail -c +5 "$1"; } | od -An -tx1 -v
}
tablas=0
lista=$("$linux" mostrar --tablas)
for t in $lista; do
    if ! cmp -s <(sin_fecha "$tmp/ktemp-windows/$t.DBF") <(sin_fecha "$tmp/ktemp-linux/$t.DBF"); then
        echo "$t.DBF difiere entre Windows y Linux" >&2
        exit 1
    fi
    tablas=$((tablas + 1))
done
[[ $tablas -gt 0 ]]
grep -q "Proceso finalizado" "$tmp/salida-windows"

# mostrar writes CSV lines with CRLF, on Windows too.
cmp <(windows mostrar PROFT) <(PONTAVIA_KTEMP="$tmp/ktemp-linux" "$linux" mostrar PROFT)

# importar of the sample SOLUC: the same result, whose date is each system's own.
cp "$ejemplos/SOLUC.DBF" "$tmp/ktemp-windows/SOLUC.DBF"
cp "$ejemplos/SOLUC.DBF" "$tmp/ktemp-linux/SOLUC.DBF"
windows importar "Z:$datos/windows/centro.xml" >/dev/null
PONTAVIA_KTEMP="$tmp/ktemp-linux" "$linux" importar "$datos/linux/centro.xml" >/dev/null
sin_fecha_xml() { sed -E 's/fecha_exportacion="[^"]*"/fecha_exportacion=""/' "$1"; }
cmp <(sin_fecha_xml "$datos/windows/ResultadoTamberlocentro.xml") \
    <(sin_fecha_xml "$datos/linux/ResultadoTamberlocentro.xml")
echo "Windows y Linux coinciden: 6 tablas, mostrar e importar"
