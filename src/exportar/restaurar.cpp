// restaurar: the undo of exportar, from the one generation of tables it keeps.
#include "carpeta_tamberlo.h"
#include "error.h"
#include "exportar.h"
#include "plataforma.h"
#include "preparacion.h"

namespace pontavia {

namespace {

// The set kept by the last exportar; an error when there is none.
std::filesystem::path conjuntoGuardado(const std::filesystem::path& ktemp, Disco& disco) {
    const auto anterior = ktemp / kCarpetaAnterior;
    if (disco.examinar(anterior) != Disco::Entrada::Carpeta)
        throw Error(ClaseError::NadaQueRestaurar, Hecho::NadaQueRestaurar,
                    {.archivo = ktemp.string()});
    return anterior;
}

} // namespace

std::vector<std::string> planRestauracion(const std::filesystem::path& ktemp, Disco& disco) {
    const auto anterior = conjuntoGuardado(ktemp, disco);
    std::vector<std::string> plan;
    for (const auto& t : tablasExportadas().tablas) {
        const bool guardada = existeEnCarpeta(anterior, t + ".DBF", disco);
        const bool actual = existeEnCarpeta(ktemp, t + ".DBF", disco);
        if (guardada)
            plan.push_back(t + ": restaurada");
        else if (actual)
            plan.push_back(t + ": retirada (no existía antes)");
    }
    return plan;
}

std::vector<std::string> restaurarExportacion(const std::filesystem::path& ktemp, Disco& disco) {
    prepararCarpetaTamberlo(ktemp, disco);
    // A move a run cut off left begun is finished first: the generation kept is then the
    // one that run would have left.
    CarpetaPreparacion preparacion(disco, ktemp);
    const auto anterior = conjuntoGuardado(ktemp, disco);
    std::vector<std::string> hecho = planRestauracion(ktemp, disco);
    preparacion.confirmar(anterior, tablasExportadas());
    return hecho;
}

} // namespace pontavia
