#!/usr/bin/env bash
# The installer under Wine: a silent install into a folder standing for Tamberlo's,
# pontavia-cli.exe run from there (its help, and exportar on the sample school), a silent
# uninstall, and nothing of Pontavia's left behind. The Wine prefix is $WINEPREFIX when set
# (made on first use), else one of its own.
set -euo pipefail
instalador=$1
ejemplo=$2
raiz=$(cd "$(dirname "$0")/.." && pwd)
tmp=$(mktemp -d)
prefijo=${WINEPREFIX:-$tmp/wine}
wineserver=$(command -v wineserver || echo /usr/lib/wine/wineserver)
terminar() {
    if [ -z "${WINEPREFIX:-}" ]; then WINEPREFIX=$prefijo "$wineserver" -k 2>/dev/null || true; fi
    rm -rf "$tmp"
}
trap terminar EXIT
# Wine would copy the Start-menu entry into the desktop's own menus; not from a test.
export WINEDLLOVERRIDES="winemenubuilder.exe=d"
wine() { timeout 120 bash "$raiz/scripts/con-wine" "$prefijo" "$@"; }
# Wine shows the Linux root as drive Z:.
windows() { printf 'Z:%s' "${1//\//\\}"; }

nombre=Tamberlo-prueba-$$
carpeta="C:\\$nombre"
instalada=$prefijo/drive_c/$nombre
clave='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Pontavia'
bien=0
mal=0
comprobar() { # DESCRIPTION COMMAND...
    local que=$1
    shift
    if "$@" >/dev/null 2>&1; then
        bien=$((bien + 1))
    else
        mal=$((mal + 1))
        echo "FALLA: $que"
    fi
}
# The Start menu's folder "Pontavia": the window, its own tasks, each a shortcut of its own,
# and the guide; nothing of Pontavia loose beside the folder.
menu() { find "$prefijo/drive_c" -type d -path '*/Start Menu/Programs/Pontavia'; }
acceso_directo() { find "$(menu)" -name 'Pontavia.lnk' 2>/dev/null | grep -q .; }
accesos_de_tareas() { # present|absent
    local n
    n=$(find "$(menu)" -name '*.lnk' 2>/dev/null | wc -l)
    if [ "$1" = present ]; then [ "$n" -eq 5 ]; else [ "$n" -eq 0 ]; fi
}
sueltos() { find "$prefijo/drive_c" -path '*/Start Menu/Programs/Pontavia*.lnk' ! -path '*/Pontavia/*' | grep -q .; }
registrado() { wine reg query "$clave" /v InstallLocation 2>/dev/null | grep -qF "$carpeta"; }
ausente() { ! "$@"; }
esperar() { # Up to 60 s for a condition.
    for _ in $(seq 600); do "$@" && return 0; sleep 0.1; done
    return 1
}

wine "$instalador" /S "/D=$carpeta"
comprobar "instala pontavia.exe" test -s "$instalada/pontavia.exe"
comprobar "instala pontavia-cli.exe" test -s "$instalada/pontavia-cli.exe"
comprobar "instala el desinstalador" test -s "$instalada/desinstalar-pontavia.exe"
comprobar "entrada en la carpeta Pontavia del menú Inicio" acceso_directo
comprobar "ninguna entrada suelta en el menú Inicio" ausente sueltos
comprobar "registrado para desinstalar" registrado
comprobar "instala la licencia" test -s "$instalada/LICENSE.txt"
comprobar "instala las licencias de terceros" grep -q "^== pugixml " "$instalada/LICENCIAS-TERCEROS.txt"
tamano() { wine reg query "$clave" /v EstimatedSize 2>/dev/null | grep -qE 'REG_DWORD[[:space:]]+0x[0-9a-f]*[1-9a-f]'; }
comprobar "la entrada de desinstalación da su tamaño" tamano
# A help link is a web address, never a file of this machine; there is none to give.
enlace_local() { wine reg query "$clave" /v HelpLink 2>/dev/null | grep -q REG_SZ; }
comprobar "la entrada de desinstalación no enlaza un archivo local" ausente enlace_local
# The version in the installer's name is the one pontavia-cli.exe gives.
version=$(basename "$instalador" .exe)
version=${version#pontavia-}
version=${version%-setup}
dice=$(wine "$carpeta\\pontavia-cli.exe" --version 2>/dev/null | tr -d '\r' || true)
comprobar "pontavia-cli.exe --version da la del instalador" test "$dice" = "pontavia-cli $version"
comprobar "instala la guía Pontavia.chm" test -s "$instalada/Pontavia.chm"
comprobar "accesos de Pontavia, informe, comprobar, deshacer y guía" accesos_de_tareas present
# A shortcut's arguments may be stored as UTF-16: its bytes read without the zeros.
con_palabra() { find "$(menu)" -name '*.lnk' -exec cat {} + | tr -d '\0' | grep -qa "$1"; }
for palabra in informe comprobar restaurar; do
    comprobar "el acceso con la palabra $palabra" con_palabra "$palabra"
done

ayuda=$(wine "$carpeta\\pontavia-cli.exe" --ayuda 2>&1 || true)
comprobar "pontavia-cli.exe --ayuda desde la carpeta instalada" grep -q "exportar" <<<"$ayuda"
cp "$ejemplo" "$tmp/centro.xml"
comprobar "pontavia-cli.exe exportar desde la carpeta instalada" \
    env PONTAVIA_KTEMP="$(windows "$tmp/KTEMP")" \
    timeout 120 bash "$raiz/scripts/con-wine" "$prefijo" "$carpeta\\pontavia-cli.exe" exportar \
    "$(windows "$tmp/centro.xml")"
tablas=$(wine "$carpeta\\pontavia-cli.exe" mostrar --tablas | tr -d '\r')
comprobar "pontavia-cli.exe mostrar --tablas lista las tablas" test -n "$tablas"
for t in $tablas; do
    comprobar "exportar crea $t.DBF" test -s "$tmp/KTEMP/$t.DBF"
done

# The uninstaller runs from a copy of itself, so that it can remove its own file: the call
# returns at once, and the removal is waited for.
wine "$carpeta\\desinstalar-pontavia.exe" /S
comprobar "la carpeta desaparece, licencias incluidas" esperar ausente test -e "$instalada"
comprobar "sin entrada en el menú Inicio" esperar ausente acceso_directo
comprobar "sin accesos de tareas" esperar accesos_de_tareas absent
sin_menu() { [ -z "$(menu)" ]; }
comprobar "sin carpeta en el menú Inicio" esperar sin_menu
comprobar "sin registro para desinstalar" esperar ausente registrado
echo "$bien passed, $mal failed"
[ "$mal" -eq 0 ]
