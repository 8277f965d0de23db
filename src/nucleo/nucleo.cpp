#include "nucleo.h"

#include "exportar.h"
#include "importar.h"
#include "plataforma.h"
#include "preparacion.h"

namespace pontavia {

Resultado exportar(const std::filesystem::path& xml, const std::filesystem::path& ktemp,
                   Informe& informe, Disco& disco) {
    if (!existeArchivo(xml)) return Resultado::FaltaEntrada;
    exportarCentro(xml, ktemp, informe, disco);
    return Resultado::Hecho;
}

Resultado comprobar(const std::filesystem::path& xml, Informe& informe, Disco& disco) {
    if (!existeArchivo(xml)) return Resultado::FaltaEntrada;
    comprobarCentro(xml, informe, disco);
    return Resultado::Hecho;
}

Resultado importar(const std::filesystem::path& xml, const std::filesystem::path& ktemp,
                   Informe& informe, Disco& disco) {
    prepararCarpetaTamberlo(ktemp);
    // The tables it reads are those a run cut off would have left.
    completarMovimientoInterrumpido(ktemp, disco);
    if (!existeArchivo(xml) || !existeEnCarpeta(ktemp, "SOLUC.DBF")) return Resultado::FaltaEntrada;
    importarHorario(xml, ktemp, informe, disco);
    return Resultado::Hecho;
}

std::vector<std::string> restaurar(const std::filesystem::path& ktemp, Disco& disco) {
    return restaurarExportacion(ktemp, disco);
}

bool movimientoInterrumpido(const std::filesystem::path& ktemp) {
    return hayMovimientoInterrumpido(ktemp);
}

} // namespace pontavia
