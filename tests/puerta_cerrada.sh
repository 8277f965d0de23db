#!/usr/bin/env bash
# A front end sees the door and nothing else of the core: a front end of one file (a third
# window, tests/puerta/tercera_ventana.cpp) builds against it, and one that includes any of the
# headers behind the door, given after the build folder, fails because that header is not
# there for it.
set -uo pipefail
build=$1
shift
if ! salida=$(cmake --build "$build" --target tercera_ventana 2>&1); then
    echo "Una interfaz que solo usa la puerta no compila:"
    echo "$salida"
    exit 1
fi
fallos=0
for cabecera in "$@"; do
    objetivo=detras_de_la_puerta_${cabecera%.h}
    if salida=$(cmake --build "$build" --target "$objetivo" 2>&1); then
        echo "Una interfaz que incluye $cabecera compila: la puerta está abierta."
        fallos=1
    elif ! grep -q "$cabecera: No such file or directory" <<<"$salida"; then
        echo "$objetivo no compila, pero no porque falte $cabecera:"
        echo "$salida"
        fallos=1
    fi
done
exit $fallos
