#include "preparacion.h"

#include "archivo_atomico.h"
#include "bloqueo.h"
#include "carpeta_tamberlo.h"
#include "error.h"
#include "esquema_tamberlo.h"
#include "exportar.h"
#include "informe.h"
#include "movimiento.h"
#include "plataforma.h"
#include "registro_conjunto.h"
#include "restos.h"
#include "sistema.h"

#include <fstream>
#include <iterator>
#include <system_error>

namespace pontavia {

namespace {

constexpr const char* kPrefijo = ".pontavia-preparacion-";

[[noreturn]] void fallo(const std::filesystem::path& carpeta) {
    throw Error(ClaseError::FalloDeDisco, Hecho::CarpetaNoEscrita, {.archivo = carpeta.string()},
                sistema::textoError(sistema::ultimoError()));
}

std::vector<std::string> archivosDe(const ConjuntoTablas& conjunto) {
    std::vector<std::string> archivos;
    for (const auto& t : conjunto.tablas)
        archivos.push_back(t + ".DBF");
    for (const auto& t : conjunto.indices)
        archivos.push_back(t + ".MDX");
    return archivos;
}

} // namespace

const ConjuntoTablas& tablasExportadas() {
    static const ConjuntoTablas conjunto = [] {
        ConjuntoTablas c;
        for (const VistaTabla& t : tamberlo::kTablasTamberlo) {
            if (t.exportada()) c.tablas.push_back(t.nombre);
            if (t.papel == Papel::ExportadaConIndice) c.indices.push_back(t.nombre);
        }
        return c;
    }();
    return conjunto;
}

CarpetaPreparacion::CarpetaPreparacion(Disco& disco, const std::filesystem::path& base)
    : disco_(disco), ktemp_(base) {
    completarMovimientosInterrumpidos(disco_, base);
    // Another run clearing the folder may take the new one for abandoned before it is held:
    // it is made again, a few times at most.
    constexpr int kIntentos = 5;
    for (int intento = 1;; ++intento) {
        const auto carpeta = disco_.crearCarpetaUnica(base, kPrefijo);
        if (carpeta.empty())
            throw Error(ClaseError::FalloDeDisco, Hecho::PreparacionNoHecha,
                        {.archivo = base.string()}, sistema::textoError(sistema::ultimoError()));
        retencion_ = disco_.retenerEnUso(carpeta);
        if (retencion_.abierto()) {
            carpeta_ = carpeta;
            return;
        }
        if (intento == kIntentos)
            throw Error(ClaseError::FalloDeDisco, Hecho::PreparacionRetirada,
                        {.archivo = base.string()});
    }
}

CarpetaPreparacion::~CarpetaPreparacion() {
    // Released first: Windows removes no folder that a handle is open on. Should the removal
    // fail, the next run removes what is left.
    retencion_ = sistema::Archivo();
    if (!pendiente_) disco_.borrarCarpeta(carpeta_);
}

void CarpetaPreparacion::confirmar(const std::filesystem::path& entrantes,
                                   const ConjuntoTablas& conjunto, ArchivoPreparado* informe) {
    // Hold every table Tamberlo may have open before touching any of them.
    // Each folder is read once for all the names, the Tamberlo folder again after the locks.
    const auto archivos = archivosDe(conjunto);
    std::vector<BloqueoExclusivo> bloqueos;
    for (const auto& actual : buscarEnCarpeta(ktemp_, archivosDe({conjunto.tablas, {}}), disco_))
        if (existeArchivo(actual, disco_)) bloqueos.emplace_back(disco_, actual);

    // The incoming tables were written without waiting for the disk: each is made safe on
    // it, once, before any name changes.
    const auto entrantesPorNombre = buscarEnCarpeta(entrantes, archivos, disco_);
    for (const auto& entrante : entrantesPorNombre)
        if (existeArchivo(entrante, disco_) && !disco_.vaciarArchivo(entrante)) {
            if (sistema::enUsoPorOtro(sistema::ultimoError()))
                tablaEnUso(ktemp_ / entrante.filename());
            fallo(entrantes);
        }
    // Windows refuses to move a file that a handle of ours holds open: the locks go just
    // before the first move.
    bloqueos.clear();

    // The files in place keep a second name in the staging folder, so that the set they make
    // is whole on disk throughout, and the next run finds it there should this one be cut off.
    const auto apartados = carpeta_ / kApartados;
    if (!disco_.crearCarpeta(apartados)) fallo(carpeta_);
    PlanMovimiento plan;
    plan.generacion = kCarpetaAnterior;
    const auto relativa = [&](const std::filesystem::path& ruta) {
        return ruta.lexically_relative(ktemp_).generic_string();
    };
    const std::vector<std::filesystem::path> destinos = buscarEnCarpeta(ktemp_, archivos, disco_);
    // The set replaced is kept with its record: where it came from, as the record of the set in
    // place says, and which tables it holds, so that restaurar removes a table only where there
    // was none, never where one was lost.
    RegistroConjunto apartado{origenEnCarpeta(), {}};
    for (std::size_t i = 0; i < archivos.size(); ++i) {
        const auto& entrante = entrantesPorNombre[i];
        const bool habia = existeArchivo(destinos[i], disco_);
        if (habia && i < conjunto.tablas.size()) apartado.tablas.push_back(conjunto.tablas[i]);
        if (habia) apartar(destinos[i], apartados / destinos[i].filename());
        // A file takes the name its predecessor had, or its own when it had none.
        if (existeArchivo(entrante, disco_))
            plan.entradas.push_back(
                {relativa(entrante), (habia ? destinos[i] : entrante).filename().string()});
        else if (habia)
            plan.retiradas.push_back(destinos[i].filename().string());
    }
    escribirAtomico(disco_, apartados / kRegistroConjunto, textoRegistro(apartado));
    // The incoming set's record takes the place of the one in place, which no longer says
    // what the folder holds.
    const auto registroEntrante = buscarEnCarpeta(entrantes, kRegistroConjunto, disco_);
    const auto registroEnCarpeta = buscarEnCarpeta(ktemp_, kRegistroConjunto, disco_);
    if (existeArchivo(registroEntrante, disco_))
        plan.entradas.push_back(
            {relativa(registroEntrante), registroEnCarpeta.filename().string()});
    else if (existeArchivo(registroEnCarpeta, disco_))
        plan.retiradas.push_back(registroEnCarpeta.filename().string());
    if (informe) {
        informe->confirmar();
        plan.entradas.push_back(
            {relativa(informe->destino()),
             buscarEnCarpeta(ktemp_, kNombreInforme, disco_).filename().string()});
    }
    if (!disco_.vaciarEntradas(apartados)) fallo(apartados);
    // The record is the point of no return: once it is on disk, the move is finished, by this
    // run or by the next.
    escribirAtomico(disco_, carpeta_ / kRegistroMovimiento, textoPlan(plan));
    if (!disco_.vaciarEntradas(carpeta_)) fallo(carpeta_);
    pendiente_ = true;
    try {
        completarMovimiento(disco_, ktemp_, carpeta_, plan);
    } catch (const Error&) {
        // A moment's failure; one that lasts is left to the next run.
        completarMovimiento(disco_, ktemp_, carpeta_, plan);
    }
    pendiente_ = false;
}

std::optional<OrigenConjunto> CarpetaPreparacion::origenEnCarpeta() {
    std::string texto;
    RegistroConjunto registro;
    // A folder whose tables an older Pontavia wrote, or whose record is gone or damaged: where
    // they came from is not known, and the kept set says so. A record there that cannot be
    // read now is not taken for one that says nothing: the run stops before any name changes.
    const auto ruta = buscarEnCarpeta(ktemp_, kRegistroConjunto, disco_);
    if (!existeArchivo(ruta, disco_)) return std::nullopt;
    if (!disco_.leerArchivo(ruta, texto))
        throw Error(ClaseError::FalloDeDisco, Hecho::ArchivoNoLeido, {.archivo = ruta.string()});
    if (!leerRegistro(texto, registro)) return std::nullopt;
    return registro.origen;
}

void CarpetaPreparacion::apartar(const std::filesystem::path& actual,
                                 const std::filesystem::path& copia) {
    if (disco_.enlazar(actual, copia)) return;
    // Where the file system has no second names, a copy safe on disk stands in.
    std::string bytes;
    if (!disco_.leerArchivo(actual, bytes)) fallo(ktemp_);
    escribirAtomico(disco_, copia, bytes);
}

void completarMovimientoInterrumpido(const std::filesystem::path& ktemp, Disco& disco) {
    completarMovimientosInterrumpidos(disco, ktemp);
}

bool hayMovimientoInterrumpido(const std::filesystem::path& base, Disco& disco) {
    std::vector<std::filesystem::path> entradas;
    disco.listar(base.empty() ? "." : base, entradas);
    for (const auto& entrada : entradas)
        if (esNombreTemporal(entrada.filename().string(), kPrefijo) &&
            movimientoPendiente(disco, entrada))
            return true;
    return false;
}

void completarMovimientosInterrumpidos(Disco& disco, const std::filesystem::path& base) {
    std::vector<std::filesystem::path> entradas;
    // A listing cut short still clears what it found; the next run clears the rest.
    disco.listar(base.empty() ? "." : base, entradas);
    for (const auto& entrada : entradas) {
        if (!esNombreTemporal(entrada.filename().string(), kPrefijo)) continue;
        if (movimientoPendiente(disco, entrada)) {
            // Held while it is finished: a live run's folder is not to be touched, and no other
            // run finishes the same move at once.
            sistema::Archivo retencion = disco.retenerAbandonada(entrada);
            if (!retencion.abierto()) continue;
            const auto ruta = entrada / kRegistroMovimiento;
            sistema::Retencion tomado;
            const sistema::Archivo registro = disco.abrirExclusivo(ruta, tomado);
            if (tomado == sistema::Retencion::EnUso) continue; // another run finishes it
            std::string texto;
            // A record that cannot be read now may be read later: a run going on meanwhile
            // would put its own tables in place, and finishing the old move afterwards would
            // then mix the two schools' tables. The run stops, nothing changed.
            if (tomado != sistema::Retencion::Tomada ||
                disco.leerTodo(registro, texto) == sistema::Archivo::Lectura::Fallo)
                throw Error(ClaseError::FalloDeDisco, Hecho::MovimientoNoLeido,
                            {.archivo = ruta.string()},
                            sistema::textoError(sistema::ultimoError()));
            PlanMovimiento plan;
            if (!leerPlan(texto, plan))
                continue; // damaged for good; its second names may be a set's only copy: it stays
            completarMovimiento(disco, base, entrada, plan);
        }
        disco.retirarSiAbandonado(entrada);
    }
}

} // namespace pontavia
