#include "bloqueo.h"

#include "error.h"

namespace pontavia {

void tablaEnUso(const std::filesystem::path& ruta) {
    throw Error(ClaseError::TablaRetenida, Hecho::TablaEnUso, {.tabla = ruta.string()});
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
        throw Error(ClaseError::FalloDeDisco, Hecho::TablaNoAbierta, {.tabla = ruta.string()},
                    sistema::textoError(sistema::ultimoError()));
    case sistema::Retencion::NoBloquea:
        break;
    }
    throw Error(ClaseError::FalloDeDisco, Hecho::TablaNoBloqueada, {.tabla = ruta.string()},
                sistema::textoError(sistema::ultimoError()));
}

} // namespace pontavia
