#pragma once
// What pontavia-cli's exit code tells a script: one code per kind of fault, so that a script
// can tell input to mend from a table Tamberlo holds or a full disk.
#include <exception>

namespace pontavia {

enum CodigoSalida : int {
    kSalidaHecho = 0,
    kSalidaEntradaRechazada = 1, // mend the data: not well-formed, not VELMORA's, a bad value,
                                 // a damaged table
    kSalidaFaltaEntrada = 2,
    kSalidaTablaRetenida = 3, // close Tamberlo and try again
    kSalidaFalloDeDisco = 4,  // no room, no permission, or the disk failed
    kSalidaNadaQueRestaurar = 5,
    kSalidaUsoIncorrecto = 64, // as sysexits' EX_USAGE
    kSalidaFalloInterno = 70,  // as sysexits' EX_SOFTWARE
};

// The code of a run that ended with this exception.
int codigoDeSalida(const std::exception& e);

// The codes as --ayuda lists them.
const char* textoCodigosDeSalida();

} // namespace pontavia
