#pragma once
// How a run ends, the same for exportar and importar: what the user is told, and the status
// Tamberlo reads when it started the program with a mode word (the window then closes).
#include "programa.h"
#include "ventana.h"

#include <string>

namespace pontavia {

// The input is missing: the message, and in command-line mode status -1.
inline void faltaEntrada(Programa& p, Ventana& v, const std::string& mensaje) {
    v.mensaje(mensaje);
    if (p.ModoLinea == 2) {
        p.EstadoTransformado = -1;
        v.cerrar();
    }
}

// The run ended normally: status 1 and "Proceso finalizado".
inline void procesoFinalizado(Programa& p, Ventana& v) {
    p.EstadoTransformado = 1;
    v.mensaje("Proceso finalizado");
    if (p.ModoLinea == 2) v.cerrar();
}

} // namespace pontavia
