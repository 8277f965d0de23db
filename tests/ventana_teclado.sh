# Sourced by the keyboard-driven tests of the real windows (the Qt window under Xvfb, the
# Win32 one under Wine and Xvfb): what a user does with either window, and what must follow.
# Keys drive the windows (a click only brings Wine's back from the viewer); what the test
# reads back is the boxes' text, the files, and what the system's viewer was asked to open.
#
# The sourcing script sets $tmp (a folder of its own), $ktemp and $velmora (Tamberlo's folder
# and the folder of VELMORA's file, both inside $tmp), $ejemplo (the sample school) and
# defines, for its window:
#   lanzar ARGS...          starts the window with ARGS in the background, its pid in $programa
#   ruta_dialogo ARCHIVO    what a user types into the file dialog to choose ARCHIVO
#   cli ARGS...             pontavia-cli of the same build, with the same $ktemp
#   visor_abrio NOMBRE      succeeds once the system's viewer shows a file NOMBRE (it waits)
#   texto_caja TITULO       prints the text of the box of that title, which has the keyboard
#   volver_a_la_ventana     gives the keyboard back to the main window from the viewer
# and sets $carpeta_programa, the folder of the program's copy (its status file beside it).

source "$(dirname "${BASH_SOURCE[0]}")/enfocar.sh"

# A failure says what failed; with CAPTURA_AL_FALLAR set, the screen is kept there as a picture.
fallo() {
    [ -z "${CAPTURA_AL_FALLAR:-}" ] || import -window root "$CAPTURA_AL_FALLAR"
    echo "FALLO: $*"
    echo "0 passed, 1 failed"
    exit 1
}

# A display of its own; $pantalla_xvfb is its server's pid.
abrir_pantalla() {
    Xvfb -displayfd 3 -screen 0 1024x768x24 3>"$tmp/pantalla" >/dev/null 2>&1 &
    pantalla_xvfb=$!
    for _ in $(seq 600); do
        [ -s "$tmp/pantalla" ] && break
        sleep 0.1
    done
    export DISPLAY=:$(head -n 1 "$tmp/pantalla")
}

# Every file under a folder with its checksum, to compare byte for byte.
huella() {
    (cd "$1" && find . -type f -print0 | sort -z | xargs -0 -r sha256sum)
}

# The text of a box of that title, a new one (not the box read last), once it holds every
# word given, as often as it takes the box to show; the box is left with the keyboard. The
# text is in $caja.
leer_caja() {
    local titulo=$1 id falta
    shift
    caja=
    for _ in $(seq 60); do
        id=$(xdotool search --onlyvisible --name "^$titulo\$" 2>/dev/null | tail -n 1 || true)
        if [ -n "$id" ] && [ "$id" != "${ultima_caja:-}" ] &&
            xdotool windowfocus --sync "$id" 2>/dev/null; then
            sleep 0.2
            caja=$(texto_caja "$titulo" || true)
            falta=
            for palabra in "$@"; do
                [[ $caja == *"$palabra"* ]] || falta=$palabra
            done
            if [ -z "$falta" ]; then
                # Reading may have moved the keyboard (Wine's reader is a program of its own).
                xdotool windowfocus --sync "$id" 2>/dev/null || true
                sleep 0.2
                ultima_caja=$id
                return 0
            fi
        fi
        sleep 0.5
    done
    fallo "la caja «$titulo» no dice «$*»: ${caja:-(nada)}"
}

# Waits for the window to end by itself.
esperar_fin() {
    timeout "${1:-30}" tail --pid="$programa" -f /dev/null || fallo "la ventana no se cerró"
    programa=
}

# The folders the tests start with: VELMORA's file alone in its folder, and Tamberlo's
# folder holding the tables of an earlier exportar.
preparar() {
    mkdir -p "$velmora"
    cp "$ejemplo" "$velmora/centro.xml"
    cli exportar "$velmora/centro.xml" >/dev/null
}

# The key given closes the end box (named as the failure says it) and the window stays.
cerrar_caja_con() {
    xdotool key "$1"
    # Without a window manager a closed window leaves the screen slowly under Wine.
    for _ in $(seq 100); do
        xdotool search --onlyvisible --name "^Pontavia$" >/dev/null 2>&1 || break
        sleep 0.1
    done
    xdotool search --onlyvisible --name "^Pontavia$" >/dev/null 2>&1 &&
        fallo "$2 no cerró la caja final"
    kill -0 "$programa" 2>/dev/null || fallo "la ventana se cerró con la caja"
}

# exportar by hand: the end box says "Proceso finalizado" and what was done, Enter closes it
# and the window stays; a second run takes the file offered (the last one), and "Ver informe",
# chosen from the keyboard, opens exportar's report in the system's viewer.
escenario_exportar_a_mano() {
    mkdir -p "$velmora"
    cp "$ejemplo" "$velmora/centro.xml"
    lanzar
    enfocar "^Exportar e importar"
    # The tab order: Salir, F1 Ayuda, then exportar's OK.
    xdotool key Tab Tab space
    enfocar "Seleccione Archivo XML"
    xdotool type --delay 5 "$(ruta_dialogo "$velmora/centro.xml")"
    xdotool key Return
    leer_caja Pontavia "Proceso finalizado" "Materias y actividades (ASIGNOMT):" \
        "INFORME-PONTAVIA.TXT"
    cerrar_caja_con Return Intro
    for t in $(cli mostrar --tablas); do
        test -s "$ktemp/$t.DBF" || fallo "falta $t.DBF"
    done

    # Again, from where the keyboard was left: the same button, the file the dialog offers;
    # Escape closes the end box as Enter does.
    enfocar "^Exportar e importar"
    xdotool key space
    enfocar "Seleccione Archivo XML"
    xdotool key Return
    leer_caja Pontavia "Proceso finalizado"
    cerrar_caja_con Escape Escape

    # And once more, for its second button.
    enfocar "^Exportar e importar"
    xdotool key space
    enfocar "Seleccione Archivo XML"
    xdotool key Return
    leer_caja Pontavia "Proceso finalizado"
    # From OK, the default, to "Ver informe".
    xdotool key Tab space
    visor_abrio "INFORME-PONTAVIA.TXT" || fallo "«Ver informe» no abrió el informe"
    volver_a_la_ventana
    xdotool key alt+s
    esperar_fin
    [ ! -e "$carpeta_programa/Tamberlo.ini" ] || fallo "a mano no se deja estado"
}

# "pontavia informe": the last report in the viewer, and the window gone.
escenario_informe() {
    preparar
    lanzar informe
    visor_abrio "INFORME-PONTAVIA.TXT" || fallo "no se abrió el último informe"
    esperar_fin
}

# "pontavia comprobar": the file dialog, the end box, its report in the viewer, and nothing
# written in Tamberlo's folder nor beside VELMORA's file.
escenario_comprobar() {
    preparar
    huella "$ktemp" >"$tmp/ktemp.antes"
    huella "$velmora" >"$tmp/velmora.antes"
    lanzar comprobar
    enfocar "Comprobar un archivo XML de VELMORA"
    xdotool type --delay 5 "$(ruta_dialogo "$velmora/centro.xml")"
    xdotool key Return
    leer_caja Pontavia "Filas:" "INFORME-COMPROBAR"
    xdotool key Tab space
    visor_abrio "INFORME-COMPROBAR-PONTAVIA.TXT" || fallo "«Ver informe» no abrió el informe"
    esperar_fin
    huella "$ktemp" | diff "$tmp/ktemp.antes" - || fallo "comprobar cambió $ktemp"
    huella "$velmora" | diff "$tmp/velmora.antes" - || fallo "comprobar escribió junto al XML"
}

# "pontavia restaurar" after two exports: the question names the tables it will put back;
# accepted, the first export's tables are back, byte for byte.
escenario_restaurar() {
    preparar
    local tablas
    tablas=$(cli mostrar --tablas)
    mkdir -p "$tmp/primera"
    for t in $tablas; do
        cp "$ktemp/$t".* "$tmp/primera/"
    done
    # The second export: a school with one room more.
    sed 's#</aulas>#<daula codigo="NUEVA" nombre="Aula nueva" capacidad_alumnos="20" idaula="9999"/></aulas>#' \
        "$velmora/centro.xml" >"$velmora/otro.xml"
    cli exportar "$velmora/otro.xml" >/dev/null
    cmp -s "$ktemp/AULAT.DBF" "$tmp/primera/AULAT.DBF" && fallo "la segunda exportación no cambió AULAT"
    lanzar restaurar
    leer_caja Pontavia $tablas
    # "No" is the default: back to "Sí".
    xdotool key shift+Tab space
    leer_caja Pontavia "deshecha"
    xdotool key Return
    esperar_fin
    for f in "$tmp/primera"/*; do
        cmp "$f" "$ktemp/$(basename "$f")" || fallo "$(basename "$f") no volvió a como estaba"
    done
}

# A run refused from Tamberlo's start, its error box read: the box closed, then the window
# (only the run's side shows, without "Salir": Escape closes it); neither Tamberlo's folder
# nor VELMORA's changed since their fingerprints were taken, and the status left is 0.
cerrar_rechazado() {
    xdotool key Return
    enfocar "^Exportar e importar"
    xdotool key Escape
    esperar_fin
    huella "$ktemp" | diff "$tmp/ktemp.antes" - || fallo "cambió $ktemp"
    huella "$velmora" | diff "$tmp/velmora.antes" - || fallo "cambió la carpeta de VELMORA"
    grep -q $'^Transformado=0\r$' "$carpeta_programa/Tamberlo.ini" ||
        fallo "Tamberlo.ini: $(cat "$carpeta_programa/Tamberlo.ini")"
}

# A Tamberlo result chosen for exportar, Tamberlo's start: the error box names it, and
# neither Tamberlo's folder nor VELMORA's changes; the window stays until closed, status 0.
escenario_resultado_de_tamberlo() {
    preparar
    printf '<?xml version="1.0" encoding="UTF-8"?>\n<centro><solucion_horario/></centro>\n' \
        >"$velmora/ResultadoTamberlocentro.xml"
    huella "$ktemp" >"$tmp/ktemp.antes"
    huella "$velmora" >"$tmp/velmora.antes"
    lanzar exportar x
    enfocar "Seleccione Archivo XML"
    xdotool type --delay 5 "$(ruta_dialogo "$velmora/ResultadoTamberlocentro.xml")"
    xdotool key Return
    leer_caja Pontavia "ResultadoTamberlocentro.xml"
    [[ $caja != *"Proceso finalizado"* ]] || fallo "un resultado de Tamberlo se exportó"
    cerrar_rechazado
}

# importar from Tamberlo's start with another school's file: the sample timetable, made from
# the sample school's tables, and a file whose subjects have other identifiers. The error box
# says so and names the chosen file's school; nothing is written, the window stays until
# closed, and the status for Tamberlo is 0.
escenario_horario_de_otro_centro() {
    preparar
    cp "$(dirname "$ejemplo")/SOLUC.DBF" "$ktemp/SOLUC.DBF"
    sed -e 's/idmateria="/idmateria="9/g' "$velmora/centro.xml" >"$velmora/otro.xml"
    huella "$ktemp" >"$tmp/ktemp.antes"
    huella "$velmora" >"$tmp/velmora.antes"
    lanzar importar x
    leer_caja Pontavia "Deberá Abrir el fichero XML de VELMORA"
    xdotool key Return
    enfocar "Seleccione Archivo XML"
    xdotool type --delay 5 "$(ruta_dialogo "$velmora/otro.xml")"
    xdotool key Return
    leer_caja Pontavia "viene de otro archivo de VELMORA" "otro.xml" "código interno"
    [[ $caja != *"Proceso finalizado"* ]] || fallo "se importó el horario de otro centro"
    cerrar_rechazado
}

# Runs the case named (its function's name without "escenario_") and says it passed.
correr() {
    "escenario_$1"
    echo "1 passed, 0 failed"
}
