#include "nucleo.h"

#include "archivo_atomico.h"
#include "carpeta_tamberlo.h"
#include "disco.h"
#include "error.h"
#include "esquema_tamberlo.h"
#include "exportar.h"
#include "importar.h"
#include "mostrar.h"
#include "plataforma.h"
#include "preparacion.h"
#include "sistema.h"
#include "tabla_dbase.h"

namespace pontavia {

namespace {

// The report the run made goes to the caller's read side however the run ends: a run that
// fails half-way leaves what it found so far.
class EntregaInforme {
  public:
    explicit EntregaInforme(InformeLeido& destino) : destino_(destino) {}
    ~EntregaInforme() { destino_ = std::move(static_cast<InformeLeido&>(informe)); }
    EntregaInforme(const EntregaInforme&) = delete;
    EntregaInforme& operator=(const EntregaInforme&) = delete;
    Informe informe;

  private:
    InformeLeido& destino_;
};

// A run's input that is not there: the program's own words, with which file it is.
[[noreturn]] void faltaEntrada(Hecho hecho, const std::filesystem::path& xml,
                               const std::filesystem::path& soluc = {}) {
    throw Error(ClaseError::FaltaEntrada, hecho,
                {.archivo = textoDeRuta(xml), .tabla = soluc.empty() ? "" : textoDeRuta(soluc)});
}

} // namespace

void exportar(const std::filesystem::path& xml, const std::filesystem::path& ktemp,
              InformeLeido& informe, Disco& disco) {
    if (!existeArchivo(xml, disco)) faltaEntrada(Hecho::NoExisteArchivo, xml);
    EntregaInforme entrega(informe);
    exportarCentro(xml, ktemp, entrega.informe, disco);
}

void comprobar(const std::filesystem::path& xml, InformeLeido& informe, Disco& disco) {
    if (!existeArchivo(xml, disco)) faltaEntrada(Hecho::NoExisteArchivo, xml);
    EntregaInforme entrega(informe);
    comprobarCentro(xml, carpetaKTEMP(), entrega.informe, disco);
}

void importar(const std::filesystem::path& xml, const std::filesystem::path& ktemp,
              InformeLeido& informe, Disco& disco) {
    prepararCarpetaTamberlo(ktemp, disco);
    // The tables it reads are those a run cut off would have left.
    completarMovimientoInterrumpido(ktemp, disco);
    if (!existeArchivo(xml, disco)) faltaEntrada(Hecho::NoExisteArchivoOSolucion, xml);
    const auto soluc = buscarEnCarpeta(ktemp, tamberlo::SOLUC.archivo(), disco);
    if (!existeArchivo(soluc, disco)) faltaEntrada(Hecho::NoExisteArchivoOSolucion, xml, soluc);
    EntregaInforme entrega(informe);
    importarHorario(xml, ktemp, entrega.informe, disco);
}

FinDeCorrida correr(Corrida corrida, const std::filesystem::path& xml, Disco& disco) {
    FinDeCorrida fin(corrida);
    try {
        fin.ktemp_ = carpetaKTEMP();
        switch (corrida) {
        case Corrida::Exportar:
            exportar(xml, fin.ktemp_, fin.informe_, disco);
            fin.archivoInforme_ = informeDeExportar(fin.ktemp_, disco);
            break;
        case Corrida::Importar:
            importar(xml, fin.ktemp_, fin.informe_, disco);
            fin.archivoInforme_ = informeDeImportar(fin.ktemp_, disco);
            fin.resultado_ = resultadoDeImportar(xml);
            break;
        case Corrida::Comprobar:
            comprobar(xml, fin.informe_, disco);
            fin.archivoInforme_ = informeDeComprobar(disco);
            fin.movimientoInterrumpido_ = hayMovimientoInterrumpido(fin.ktemp_, disco);
            break;
        }
    } catch (const std::exception& e) {
        const auto* error = dynamic_cast<const Error*>(&e);
        fin.como_ = error && error->faltaEntradaDeCorrida() ? FinDeCorrida::Como::FaltaEntrada
                                                            : FinDeCorrida::Como::Fallida;
        fin.clase_ = claseDe(e);
        fin.mensaje_ = mensajeParaElUsuario(e);
    }
    return fin;
}

std::vector<std::string> restaurar(const std::filesystem::path& ktemp, Disco& disco) {
    return restaurarExportacion(ktemp, disco);
}

void escribirArchivoEntero(const std::filesystem::path& destino, std::string_view datos,
                           Disco& disco) {
    escribirAtomico(disco, destino, datos);
}

namespace {

std::filesystem::path buscarTabla(const std::string& tabla, const std::filesystem::path& ktemp,
                                  Disco& disco) {
    if (existeArchivo(sistema::ruta(tabla), disco)) return sistema::ruta(tabla);
    std::string nombre = tabla;
    if (std::filesystem::path(nombre).extension().empty()) nombre += ".DBF";
    prepararCarpetaTamberlo(ktemp, disco);
    const auto ruta = buscarEnCarpeta(ktemp, nombre, disco);
    if (!existeArchivo(ruta, disco))
        throw Error(ClaseError::FaltaEntrada, Hecho::NoExisteTabla, {.tabla = textoDeRuta(ruta)});
    return ruta;
}

// Opens the table the user named, and shows it; a fault in a file outside Tamberlo's folder
// is told as that file's.
template <typename Mostrar>
void mostrarTabla(const std::string& tabla, const std::filesystem::path& ktemp, Disco& disco,
                  Mostrar mostrar) {
    const auto ruta = buscarTabla(tabla, ktemp, disco);
    try {
        TablaDBase t = TablaDBase::abrir(ruta, Durable::Si, disco);
        mostrar(t);
    } catch (const Error& e) {
        if (ruta.parent_path() == ktemp) throw;
        throw e.enTablaElegida();
    }
}

} // namespace

void mostrarTablaCSV(const std::string& tabla, const std::filesystem::path& ktemp,
                     std::ostream& salida, Disco& disco) {
    mostrarTabla(tabla, ktemp, disco, [&](TablaDBase& t) { mostrarCSV(t, salida); });
}

void mostrarEstructuraTabla(const std::string& tabla, const std::filesystem::path& ktemp,
                            std::ostream& salida, Disco& disco) {
    mostrarTabla(tabla, ktemp, disco, [&](TablaDBase& t) { mostrarEstructura(t, salida); });
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

void guardarInforme(const InformeLeido& informe, const std::filesystem::path& archivo,
                    Disco& disco) {
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
