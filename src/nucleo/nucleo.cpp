#include "nucleo.h"

#include "archivo_atomico.h"
#include "disco.h"
#include "error.h"
#include "exportar.h"
#include "importar.h"
#include "mostrar.h"
#include "plataforma.h"
#include "preparacion.h"
#include "sistema.h"
#include "tabla_dbase.h"

namespace pontavia {

Resultado exportar(const std::filesystem::path& xml, const std::filesystem::path& ktemp,
                   Informe& informe, Disco& disco) {
    if (!existeArchivo(xml, disco)) return Resultado::FaltaEntrada;
    exportarCentro(xml, ktemp, informe, disco);
    return Resultado::Hecho;
}

Resultado comprobar(const std::filesystem::path& xml, Informe& informe, Disco& disco) {
    if (!existeArchivo(xml, disco)) return Resultado::FaltaEntrada;
    comprobarCentro(xml, carpetaKTEMP(), informe, disco);
    return Resultado::Hecho;
}

Resultado importar(const std::filesystem::path& xml, const std::filesystem::path& ktemp,
                   Informe& informe, Disco& disco) {
    prepararCarpetaTamberlo(ktemp, disco);
    // The tables it reads are those a run cut off would have left.
    completarMovimientoInterrumpido(ktemp, disco);
    if (!existeArchivo(xml, disco) || !existeEnCarpeta(ktemp, "SOLUC.DBF", disco))
        return Resultado::FaltaEntrada;
    importarHorario(xml, ktemp, informe, disco);
    return Resultado::Hecho;
}

std::vector<std::string> restaurar(const std::filesystem::path& ktemp, Disco& disco) {
    return restaurarExportacion(ktemp, disco);
}

void escribirArchivoEntero(const std::filesystem::path& destino, std::string_view datos,
                           Disco& disco) {
    escribirAtomico(disco, destino, datos);
}

std::filesystem::path buscarTabla(const std::string& tabla, const std::filesystem::path& ktemp,
                                  Disco& disco) {
    if (existeArchivo(sistema::ruta(tabla), disco)) return sistema::ruta(tabla);
    std::string nombre = tabla;
    if (std::filesystem::path(nombre).extension().empty()) nombre += ".DBF";
    prepararCarpetaTamberlo(ktemp, disco);
    const auto ruta = buscarEnCarpeta(ktemp, nombre, disco);
    if (!existeArchivo(ruta, disco))
        throw Error(ClaseError::FaltaEntrada, Hecho::NoExisteTabla, {.tabla = ruta.string()});
    return ruta;
}

void mostrarTablaCSV(const std::filesystem::path& tabla, std::ostream& salida, Disco& disco) {
    TablaDBase t = TablaDBase::abrir(tabla, Durable::Si, disco);
    mostrarCSV(t, salida);
}

void mostrarEstructuraTabla(const std::filesystem::path& tabla, std::ostream& salida,
                            Disco& disco) {
    mostrarEstructura(TablaDBase::abrir(tabla, Durable::Si, disco), salida);
}

std::filesystem::path rutaDeTexto(std::string_view utf8) {
    return sistema::ruta(utf8);
}

std::string textoDeRuta(const std::filesystem::path& ruta) {
    const std::u8string u = ruta.u8string();
    return {u.begin(), u.end()};
}

std::vector<std::string> argumentosEnUtf8(int argc, char** argv) {
    return sistema::argumentos(argc, argv);
}

void prepararConsola() {
    sistema::prepararConsola();
}

void prepararMemoria(char** argv, const std::filesystem::path& entrada, Disco& disco) {
    if (const auto bytes = disco.tamano(entrada)) sistema::prepararMemoria(argv, *bytes);
}

bool movimientoInterrumpido(const std::filesystem::path& ktemp, Disco& disco) {
    return hayMovimientoInterrumpido(ktemp, disco);
}

std::string queFalta(const std::filesystem::path& xml, const std::filesystem::path& ktemp,
                     Disco& disco) {
    constexpr const char* kNadaCambiado = " No se ha cambiado nada.";
    if (xml.empty())
        return std::string("No se ha elegido ningún archivo de VELMORA: elija el archivo XML que "
                           "exportó VELMORA.") +
               kNadaCambiado;
    if (ktemp.empty() || !existeArchivo(xml, disco))
        return "No se encuentra el archivo de VELMORA " + textoDeRuta(xml) +
               ": elija el archivo XML que exportó VELMORA." + kNadaCambiado;
    return "No se encuentra el horario de Tamberlo " +
           textoDeRuta(buscarEnCarpeta(ktemp, "SOLUC.DBF", disco)) +
           ": guarde el horario en Tamberlo y vuelva a intentarlo." + kNadaCambiado;
}

std::vector<std::string> planRestaurar(const std::filesystem::path& ktemp, Disco& disco) {
    return planRestauracion(ktemp, disco);
}

std::filesystem::path informeDeExportar(const std::filesystem::path& ktemp, Disco& disco) {
    return buscarEnCarpeta(ktemp, kNombreInforme, disco);
}

std::filesystem::path informeDeImportar(const std::filesystem::path& ktemp, Disco& disco) {
    return buscarEnCarpeta(ktemp, kNombreInformeImportar, disco);
}

std::filesystem::path informeDeComprobar(Disco& disco) {
    return disco.carpetaTemporal() / kNombreInformeComprobar;
}

std::filesystem::path resultadoDeImportar(const std::filesystem::path& xml) {
    return archivoResultado(xml);
}

void guardarInforme(const Informe& informe, const std::filesystem::path& archivo, Disco& disco) {
    escribirAtomico(disco, archivo, informe.contenidoArchivo());
}

std::filesystem::path ultimoInforme(const std::filesystem::path& ktemp, Disco& disco) {
    std::filesystem::path ultimo;
    std::filesystem::file_time_type cuando{};
    for (const auto& ruta : {informeDeExportar(ktemp, disco), informeDeImportar(ktemp, disco)}) {
        const auto t = disco.modificado(ruta);
        if (!t || (!ultimo.empty() && *t < cuando)) continue;
        ultimo = ruta;
        cuando = *t;
    }
    return ultimo;
}

} // namespace pontavia
