#include "nucleo.h"

#include "archivo_atomico.h"
#include "exportar.h"
#include "importar.h"
#include "plataforma.h"

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
    if (!existeArchivo(xml) || !existeEnCarpeta(ktemp, "SOLUC.DBF")) return Resultado::FaltaEntrada;
    importarHorario(xml, ktemp, informe, disco);
    return Resultado::Hecho;
}

std::vector<std::string> restaurar(const std::filesystem::path& ktemp, Disco& disco) {
    return restaurarExportacion(ktemp, disco);
}

std::vector<std::string> planRestaurar(const std::filesystem::path& ktemp) {
    return planRestauracion(ktemp);
}

std::filesystem::path informeDeExportar(const std::filesystem::path& ktemp) {
    return buscarEnCarpeta(ktemp, kNombreInforme);
}

std::filesystem::path informeDeImportar(const std::filesystem::path& ktemp) {
    return buscarEnCarpeta(ktemp, kNombreInformeImportar);
}

std::filesystem::path resultadoDeImportar(const std::filesystem::path& xml) {
    return archivoResultado(xml);
}

void guardarInforme(const Informe& informe, const std::filesystem::path& archivo, Disco& disco) {
    escribirAtomico(disco, archivo, informe.contenidoArchivo());
}

std::filesystem::path ultimoInforme(const std::filesystem::path& ktemp) {
    std::filesystem::path ultimo;
    std::filesystem::file_time_type cuando{};
    for (const auto& ruta : {informeDeExportar(ktemp), informeDeImportar(ktemp)}) {
        std::error_code ec;
        const auto t = std::filesystem::last_write_time(ruta, ec);
        if (ec || (!ultimo.empty() && t < cuando)) continue;
        ultimo = ruta;
        cuando = t;
    }
    return ultimo;
}

} // namespace pontavia
