#pragma once
// What pontavia-cli's exit code tells a script: one code per kind of fault, so that a script
// can tell input to mend from a table Tamberlo holds or a full disk. The codes, the kinds each
// stands for and the lines --ayuda lists them in are one table (codigos_salida.cpp); the
// README's list is checked against it.
#include "nucleo.h"

#include <string>

namespace pontavia {

enum CodigoSalida : int {
    kSalidaHecho = 0,
    kSalidaEntradaRechazada = 1,
    kSalidaFaltaEntrada = 2,
    kSalidaTablaRetenida = 3,
    kSalidaFalloDeDisco = 4,
    kSalidaNadaQueRestaurar = 5,
    kSalidaUsoIncorrecto = 64, // as sysexits' EX_USAGE
    kSalidaFalloInterno = 70,  // as sysexits' EX_SOFTWARE
};

// The code of a run that ended with a fault of this kind.
int codigoDeSalida(ClaseError clase);

// The codes as --ayuda lists them.
std::string textoCodigosDeSalida();

} // namespace pontavia
