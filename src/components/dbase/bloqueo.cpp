#include "bloqueo.h"

#include "error.h"

namespace pontavia {

BloqueoExclusivo::BloqueoExclusivo(Disco& disco, const std::filesystem::path& ruta) {
    sistema::Retencion resultado;
    archivo_ = disco.abrirExclusivo(ruta, resultado);
    switch (resultado) {
    case sistema::Retencion::Tomada:
        return;
    case sistema::Retencion::EnUso:
        throw Error("La tabla " + ruta.string() +
                    " está en uso por otro programa (¿está Tamberlo abierto?).");
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
