#include "plataforma.h"

#include "error.h"
#include "sistema.h"

#include <system_error>

namespace pontavia {

void prepararCarpetaTamberlo(const fs::path& carpeta, Disco& disco) {
    const Disco::Entrada hay = disco.examinar(carpeta);
    if (hay == Disco::Entrada::Carpeta) return;
    if (hay != Disco::Entrada::Ninguna)
        throw Error(ClaseError::FalloDeDisco, Hecho::CarpetaEsArchivo,
                    {.archivo = carpeta.string()});
    std::error_code ec;
    if (!disco.crearCarpetas(carpeta, ec))
        throw Error(ClaseError::FalloDeDisco, Hecho::CarpetaNoCreada, {.archivo = carpeta.string()},
                    ec.message());
}

bool existeArchivo(const fs::path& ruta, Disco& disco) {
    return !ruta.empty() && disco.examinar(ruta) == Disco::Entrada::Archivo;
}

fs::path carpetaDelEjecutable() {
    return sistema::carpetaDelEjecutable();
}

std::string fechaHoraLocal() {
    return sistema::fechaHoraLocal();
}

} // namespace pontavia
