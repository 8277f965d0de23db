#!/usr/bin/env bash
# The installer over an earlier install while Pontavia is open, under Wine and Xvfb in Spanish:
# silently it ends at once with code 2 and touches nothing; by hand it asks to close Pontavia,
# naming its window, with Reintentar and Cancelar (Cancelar: code 2, nothing touched;
# Reintentar once Pontavia is closed: the upgrade goes on); the guide open in the help viewer
# stops it as well. The upgrade takes away what 1.0 left in the Start menu and the uninstall
# entry, and keeps Tamberlo's files, Tamberlo.ini among them, byte for byte; the uninstaller
# says it takes Pontavia's files and leaves them.
#   instalador_abierto_windows.sh SETUP.EXE LEER_CAJA.EXE
# The Wine prefix is $WINEPREFIX when set (made on first use), else one of its own.
set -euo pipefail
instalador=$1
leer=$2
raiz=$(cd "$(dirname "$0")/.." && pwd)
tmp=$(mktemp -d)
prefijo=${WINEPREFIX:-$tmp/wine}
wineserver=$(command -v wineserver || echo /usr/lib/wine/wineserver)
nombre=Tamberlo-abierto-$$
carpeta="C:\\$nombre"
instalada=$prefijo/drive_c/$nombre
programa=
asistente=
pantalla_xvfb=
terminar() {
    for p in "$programa" "$asistente"; do
        if [ -n "$p" ]; then kill "$p" 2>/dev/null || true; fi
    done
    if [ -z "${WINEPREFIX:-}" ]; then WINEPREFIX=$prefijo "$wineserver" -k 2>/dev/null || true; fi
    if [ -n "$pantalla_xvfb" ]; then kill "$pantalla_xvfb" 2>/dev/null || true; fi
    # Tamberlo's files, which the uninstaller rightly left.
    rm -rf "$tmp" "$instalada"
}
trap terminar EXIT
source "$raiz/tests/ventana_teclado.sh"
abrir_pantalla
WINEPREFIX=$prefijo "$wineserver" -w 2>/dev/null || true

# Spanish, as the school's Windows is: the boxes' own buttons are Windows' words.
export LC_ALL=es_ES.UTF-8
# Wine would copy the Start-menu entries into the desktop's own menus; not from a test.
export WINEDLLOVERRIDES="winemenubuilder.exe=d"
wine() { timeout 120 bash "$raiz/scripts/con-wine" "$prefijo" "$@"; }
texto_caja() { bash "$raiz/scripts/con-wine" "$prefijo" "$leer" "$1" 2>/dev/null | tr -d '\r'; }

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
ausente() { ! "$@"; }
esperar() { # Up to 60 s for a condition.
    for _ in $(seq 600); do "$@" && return 0; sleep 0.1; done
    return 1
}
programas=$prefijo/drive_c/ProgramData/Microsoft/Windows/Start\ Menu/Programs
sueltos() { find "$programas" -maxdepth 1 -name 'Pontavia*.lnk' | grep -q .; }
en_carpeta() { [ "$(find "$programas/Pontavia" -name '*.lnk' 2>/dev/null | wc -l)" -eq 5 ]; }
enlace_local() { wine reg query "$clave" /v HelpLink 2>/dev/null | grep -q REG_SZ; }
# The wizard's caption gains a blank on some pages: what its page says, under either.
pagina_dice() { # TITLE WORDS...
    local titulo=$1 texto
    shift
    texto=$(texto_caja "$titulo" || true; texto_caja "$titulo " || true)
    for palabra in "$@"; do [[ $texto == *"$palabra"* ]] || return 1; done
}
codigo_de() { # The exit code of a command.
    local c=0
    "$@" >/dev/null 2>&1 || c=$?
    echo "$c"
}

# What 1.0 left: its entries loose in the Start menu and the guide's file as the entry's help
# link; and beside Pontavia, Tamberlo's own files, which no installer of Pontavia may touch.
wine "$instalador" /S "/D=$carpeta"
test -s "$instalada/pontavia.exe" || fallo "la primera instalación no dejó pontavia.exe"
un_acceso=$(find "$programas" -name 'Pontavia.lnk' | head -n 1)
for acceso in "Pontavia" "Pontavia - Ver el último informe" "Pontavia - Guía"; do
    [ "$un_acceso" -ef "$programas/$acceso.lnk" ] || cp "$un_acceso" "$programas/$acceso.lnk"
done
wine reg add "$clave" /v HelpLink /t REG_SZ /d "$carpeta\\Pontavia.chm" /f >/dev/null
printf '[Tamberlo]\r\nCurso=2025-2026\r\n[Transformadores]\r\nTransformado=1\r\n' >"$instalada/Tamberlo.ini"
mkdir -p "$instalada/HORARIOS"
printf 'horario de Tamberlo\r\n' >"$instalada/HORARIOS/CENTRO.HOR"
de_tamberlo() { cd "$instalada" && sha256sum Tamberlo.ini HORARIOS/CENTRO.HOR; }
tamberlo=$(de_tamberlo)
antes=$(huella "$instalada")
nada_cambiado() { [ "$(huella "$instalada")" = "$antes" ] && sueltos && enlace_local; }

# Pontavia open from its folder, as Tamberlo or the timetabler left it.
(cd "$instalada" && exec bash "$raiz/scripts/con-wine" "$prefijo" "$carpeta\\pontavia.exe" \
    >/dev/null 2>&1) &
programa=$!
enfocar "^Exportar e importar" 600 || fallo "pontavia.exe no abrió su ventana"

comprobar "/S con Pontavia abierto termina enseguida con el código 2" \
    test "$(codigo_de wine "$instalador" /S "/D=$carpeta")" -eq 2
comprobar "/S con Pontavia abierto no toca nada" nada_cambiado
# The uninstaller too; run in place (_?=), it gives its own exit code.
comprobar "desinstalar /S con Pontavia abierto termina con el código 2" \
    test "$(codigo_de wine "$carpeta\\desinstalar-pontavia.exe" /S "_?=$carpeta")" -eq 2
comprobar "desinstalar /S con Pontavia abierto no toca nada" nada_cambiado

# By hand: Siguiente, Acepto, Instalar; the folder offered is the earlier install's.
a_mano() {
    (
        c=0
        bash "$raiz/scripts/con-wine" "$prefijo" "$instalador" >/dev/null 2>&1 || c=$?
        echo "$c" >"$tmp/codigo"
    ) &
    asistente=$!
    rm -f "$tmp/codigo"
    for _ in 1 2 3; do
        enfocar "^Instalación de Pontavia" 600 1 || fallo "no apareció el asistente"
        xdotool key Return
    done
}
codigo_a_mano() { [ -s "$tmp/codigo" ] && [ "$(cat "$tmp/codigo")" -eq "$1" ]; }

a_mano
leer_caja "Instalación de Pontavia" "Pontavia está abierto" \
    "«Exportar e importar datos entre Tamberlo y VELMORA»" "Reintentar" "Cancelar" "$carpeta"
xdotool key Escape
comprobar "Cancelar deja la instalación con el código 2" esperar codigo_a_mano 2
comprobar "Cancelar no toca nada" nada_cambiado

a_mano
# The box of another run of the installer: X may give it the same window id.
ultima_caja=
leer_caja "Instalación de Pontavia" "Pontavia está abierto" "Reintentar"
# The timetabler closes Pontavia (Salir), then goes back to the box and retries.
# Wine gives the keyboard back to a window another program's took it from only on a click,
# as a user brings a window back: on a bare spot of the top left panel.
enfocar "^Exportar e importar" || fallo "no se pudo volver a la ventana de Pontavia"
xdotool mousemove --window "$(xdotool search --onlyvisible --name "^Exportar e importar" | tail -n 1)" \
    8 8 click 1
sleep 0.3
xdotool key alt+s
timeout 30 tail --pid="$programa" -f /dev/null || fallo "Pontavia no se cerró con Salir"
programa=
xdotool windowfocus --sync "$ultima_caja" || fallo "la caja que pide cerrar Pontavia se fue"
xdotool key Return
# The finish page, with the keyboard on "Iniciar Pontavia": unticked, then Terminar.
esperar pagina_dice "Instalación de Pontavia" "Iniciar Pontavia" || fallo "no llegó la última página"
enfocar "^Instalación de Pontavia" || fallo "el asistente se fue"
xdotool key space Return
comprobar "Reintentar con Pontavia cerrado instala (código 0)" esperar codigo_a_mano 0
comprobar "la actualización pone los accesos en la carpeta Pontavia" en_carpeta
comprobar "la actualización quita los accesos sueltos de 1.0" ausente sueltos
comprobar "la actualización quita el enlace de ayuda a un archivo local" ausente enlace_local
abierto() { xdotool search --onlyvisible --name "^Exportar e importar" >/dev/null 2>&1; }
comprobar "Terminar sin «Iniciar Pontavia» no lo abre" ausente abierto
comprobar "la actualización conserva Tamberlo.ini y los archivos de Tamberlo" \
    test "$(de_tamberlo)" = "$tamberlo"

# The guide open in the help viewer holds its file as Pontavia does its own.
antes=$(huella "$instalada")
(exec bash "$raiz/scripts/con-wine" "$prefijo" hh.exe "$carpeta\\Pontavia.chm" >/dev/null 2>&1) &
programa=$!
esperar xdotool search --onlyvisible --name "Guía de Pontavia" || fallo "el visor no abrió la guía"
comprobar "/S con la guía abierta termina con el código 2" \
    test "$(codigo_de wine "$instalador" /S "/D=$carpeta")" -eq 2
comprobar "/S con la guía abierta no toca nada" test "$(huella "$instalada")" = "$antes"
kill "$programa"
timeout 30 tail --pid="$programa" -f /dev/null || true
programa=

# The uninstaller says what it takes: Pontavia's files, not the folder.
(bash "$raiz/scripts/con-wine" "$prefijo" "$carpeta\\desinstalar-pontavia.exe" >/dev/null 2>&1) &
asistente=$!
comprobar "el desinstalador dice que quita los archivos de Pontavia y deja la carpeta" \
    esperar pagina_dice "Desinstalación de Pontavia" "Se quitarán los archivos de Pontavia" \
    "La carpeta se queda" "Carpeta de Tamberlo (se queda)"
enfocar "^Desinstalación de Pontavia" || fallo "no apareció el desinstalador"
xdotool key Return
quitado() { ! test -e "$instalada/pontavia.exe" && ! test -e "$instalada/Pontavia.chm"; }
comprobar "la desinstalación quita los archivos de Pontavia" esperar quitado
comprobar "la desinstalación conserva Tamberlo.ini y los archivos de Tamberlo" \
    test "$(de_tamberlo)" = "$tamberlo"
comprobar "la desinstalación quita la carpeta del menú Inicio" esperar ausente test -e "$programas/Pontavia"
# Its last page: Cerrar.
enfocar "^Desinstalación de Pontavia" && xdotool key Return
echo "$bien passed, $mal failed"
[ "$mal" -eq 0 ]
