#!/usr/bin/env bash
# Every library a shipped program links has its entry in the third-party notices: the shared
# libraries and DLLs it imports (objdump -p), the archives the linker took members from (the
# program's link map), and the header-only libraries known from the build.
#   avisos_terceros.sh AVISOS OBJDUMP PROGRAMA:MAPA:SOLO_CABECERAS... [...]
# SOLO_CABECERAS: header-only libraries, comma-separated (may be empty).
set -euo pipefail
avisos=$1
objdump=$2
shift 2
mal=0
falla() {
    echo "FALLA: $*"
    mal=$((mal + 1))
}
# An entry's heading names the library as a word of its own: "== expat 2.5.0 ==".
tiene_entrada() { grep '^== ' "$avisos" | sed 's/$/ /' | grep -qF " $1 "; }

# The entry that covers a library, by its file (MinGW's libpthread is winpthreads).
entrada_de() {
    case $1 in
    *mingw32*/libpthread* | *mingw32*/libwinpthread*)
        echo MinGW-w64
        return
        ;;
    esac
    case ${1##*/} in
    libpugixml*) echo pugixml ;;
    libexpat*) echo expat ;;
    libicu*) echo ICU ;;
    libQt6*) echo "Qt 6" ;;
    libstdc++* | libsupc++*) echo 'libstdc++' ;;
    libgcc* | libgcc_s*) echo libgcc ;;
    libc.* | libc_nonshared* | libm.* | libm-* | libmvec* | libpthread* | libdl.* | librt.* | \
        libresolv* | ld-linux*) echo glibc ;;
    libmingw32.a | libmingwex.a | libmoldname.a | libwinpthread* | libuuid.a) echo MinGW-w64 ;;
    *) echo "" ;;
    esac
}

for argumento in "$@"; do
    IFS=: read -r programa mapa cabeceras <<<"$argumento"
    nombre=$(basename "$programa")
    [[ -f $programa ]] || falla "$nombre no existe"
    [[ -f $mapa ]] || falla "$nombre: falta su mapa de enlace $mapa"
    cabecera=$(sed '/^== /q' "$avisos")
    grep -qF "$nombre" <<<"$cabecera" || falla "$nombre no figura en la lista de programas"
    importadas=$("$objdump" -p "$programa" |
        sed -n -e 's/^ *NEEDED *//p' -e 's/^[[:space:]]*DLL Name: //p' | tr -d '\r')
    archivos=$(sed -n 's/^\([^ ]*\.a\)(.*/\1/p' "$mapa" | sort -u)
    for ruta in $importadas $archivos; do
        b=${ruta##*/}
        e=$(entrada_de "$ruta")
        if [[ -n $e ]]; then
            tiene_entrada "$e" || falla "$nombre enlaza $b y no hay entrada para $e"
        elif [[ $b == *.dll || $b == *.DLL || $b == *.ocx ]]; then
            # A DLL of Windows itself: named in the list of the system's own.
            grep -qiF "$b" <<<"$cabecera" || falla "$nombre importa $b, que no figura entre las de Windows"
        elif [[ $b == lib*.a ]] && grep -qix "${b#lib}" <<<"$(sed 's/\.dll$/.a/I' <<<"$importadas")"; then
            : # the import library of a DLL checked above
        elif [[ $b == libpontavia_* ]]; then
            : # the project's own
        else
            falla "$nombre enlaza $b, que no tiene entrada"
        fi
    done
    for c in ${cabeceras//,/ }; do
        tiene_entrada "$c" || falla "$nombre usa $c y no hay entrada para ella"
    done
    echo "$nombre: $(wc -w <<<"$importadas") importadas, $(wc -w <<<"$archivos") bibliotecas estáticas"
done
[[ $mal -eq 0 ]]
