#include "bloqueo.h"

#include "error.h"

namespace pontavia {

void tablaEnUso(const std::filesystem::path& ruta) {
    throw Error("La tabla " + ruta.string() +
                " está en uso por otro programa (¿está Tamberlo abierto?).");
}

BloqueoExclusivo::BloqueoExclusivo(Disco& disco, const std::filesystem::path& ruta) {
    sistema::Retencion resultado;
    archivo_ = disco.abrirExclusivo(ruta, resultado);
    switch (resultado) {
    case sistema::Retencion::Tomada:
        return;
    case sistema::Retencion::EnUso:
        tablaEnUso(ruta);
    case sistema::Retencion::NoAbre:
        throw Error("No se pudo abrir la tabla " + ruta.string() + ": " +
                    sistema::textoError(sistema::ultimoError()) + ".");
    case sistema::Retencion::NoBloquea:
        break;
    }
    throw Error("No se pudo bloquear la tabla " + ruta.string() + ": " +
                sistema::textoError(sistema::ultimoError()) + ".");
}

} // namespace pontavia
