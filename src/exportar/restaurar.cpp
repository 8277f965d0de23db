// restaurar: the undo of exportar, from the one generation of tables it keeps and the record
// that says what that generation is.
#include "carpeta_tamberlo.h"
#include "error.h"
#include "esquema_tamberlo.h"
#include "exportar.h"
#include "plataforma.h"
#include "preparacion.h"
#include "registro_conjunto.h"

namespace pontavia {

namespace {

struct ConjuntoGuardado {
    std::filesystem::path carpeta;
    RegistroConjunto registro;
};

// The set kept by the last exportar, whole as its record says; an error when there is none.
// A set without its record, or with tables missing that it lists, is refused rather than read
// as a folder that had none: putting it back would remove tables Tamberlo had.
ConjuntoGuardado conjuntoGuardado(const std::filesystem::path& ktemp, Disco& disco) {
    const auto anterior = ktemp / kCarpetaAnterior;
    if (disco.examinar(anterior) != Disco::Entrada::Carpeta)
        throw Error(ClaseError::NadaQueRestaurar, Hecho::NadaQueRestaurar,
                    {.archivo = ktemp.string()});
    const auto ruta = buscarEnCarpeta(anterior, kRegistroConjunto, disco);
    if (!existeArchivo(ruta, disco))
        throw Error(ClaseError::NadaQueRestaurar, Hecho::ConjuntoSinRegistro,
                    {.archivo = anterior.string()});
    std::string texto;
    if (!disco.leerArchivo(ruta, texto))
        throw Error(ClaseError::FalloDeDisco, Hecho::ArchivoNoLeido, {.archivo = ruta.string()});
    ConjuntoGuardado guardado{anterior, {}};
    if (!leerRegistro(texto, guardado.registro))
        throw Error(ClaseError::TablaDanada, Hecho::RegistroConjuntoDanado,
                    {.archivo = ruta.string()});
    for (const auto& t : guardado.registro.tablas)
        if (!existeEnCarpeta(anterior, t + ".DBF", disco))
            throw Error(ClaseError::TablaDanada, Hecho::TablaGuardadaPerdida,
                        {.archivo = anterior.string(), .tabla = t});
    return guardado;
}

bool lista(const RegistroConjunto& registro, const std::string& tabla) {
    for (const auto& t : registro.tablas)
        if (t == tabla) return true;
    return false;
}

// How the lines speak: of what will be done, before the user is asked, or of what was.
struct Tiempo {
    const char* vuelven;
    const char* restaurada;
    const char* retirada;
    bool conContenido; // each table named by what it holds too
};
// Asked before anything changes: each table by what it holds, and what will become of it.
constexpr Tiempo kFuturo{"Volverán ", ": se volverá a poner la de antes",
                         ": se quitará (no existía antes)", true};
constexpr Tiempo kPasado{"Han vuelto ", ": restaurada", ": retirada (no existía antes)", false};

std::string nombreDe(const std::string& tabla, const Tiempo& tiempo) {
    return tiempo.conContenido ? tamberlo::conSuContenido(tabla) : tabla;
}

// The export it goes back to, then what becomes of each table.
std::vector<std::string> lineas(const std::filesystem::path& ktemp, const ConjuntoGuardado& g,
                                const Tiempo& tiempo, Disco& disco) {
    std::vector<std::string> plan{tiempo.vuelven + describirConjunto(g.registro) + "."};
    for (const auto& t : tablasExportadas().tablas) {
        if (lista(g.registro, t))
            plan.push_back(nombreDe(t, tiempo) + tiempo.restaurada);
        else if (existeEnCarpeta(ktemp, t + ".DBF", disco))
            plan.push_back(nombreDe(t, tiempo) + tiempo.retirada);
    }
    return plan;
}

} // namespace

std::vector<std::string> planRestauracion(const std::filesystem::path& ktemp, Disco& disco) {
    return lineas(ktemp, conjuntoGuardado(ktemp, disco), kFuturo, disco);
}

std::vector<std::string> restaurarExportacion(const std::filesystem::path& ktemp, Disco& disco) {
    prepararCarpetaTamberlo(ktemp, disco);
    // A move a run cut off left begun is finished first: the generation kept is then the
    // one that run would have left.
    CarpetaPreparacion preparacion(disco, ktemp);
    const ConjuntoGuardado guardado = conjuntoGuardado(ktemp, disco);
    std::vector<std::string> hecho = lineas(ktemp, guardado, kPasado, disco);
    preparacion.confirmar(guardado.carpeta, tablasExportadas());
    return hecho;
}

} // namespace pontavia
