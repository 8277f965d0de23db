#include "preparacion.h"

#include "archivo_atomico.h"
#include "bloqueo.h"
#include "error.h"
#include "esquema_tamberlo.h"
#include "plataforma.h"
#include "restos.h"
#include "sistema.h"

#include <system_error>

namespace pontavia {

namespace {

struct Movimiento {
    std::filesystem::path desde;
    std::filesystem::path hasta;
};

// Renames in order and, when one fails, undoes those done, newest first.
class Movimientos {
  public:
    explicit Movimientos(Disco& disco) : disco_(disco) {}
    Movimientos(const Movimientos&) = delete;
    Movimientos& operator=(const Movimientos&) = delete;
    ~Movimientos() {
        if (confirmados_) return;
        for (auto it = hechos_.rbegin(); it != hechos_.rend(); ++it)
            disco_.reemplazar(it->hasta, it->desde);
    }

    void mover(const std::filesystem::path& desde, const std::filesystem::path& hasta) {
        if (!disco_.reemplazar(desde, hasta))
            throw Error(ClaseError::FalloDeDisco, Hecho::NoMovido,
                        {.archivo = desde.string(), .destino = hasta.string()},
                        sistema::textoError(sistema::ultimoError()));
        hechos_.push_back({desde, hasta});
    }
    void confirmar() { confirmados_ = true; }

  private:
    Disco& disco_;
    std::vector<Movimiento> hechos_;
    bool confirmados_ = false;
};

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
    constexpr const char* kPrefijo = ".pontavia-preparacion-";
    retirarAbandonados(disco_, base, kPrefijo);
    // Another run clearing the folder may take the new one for abandoned before it is held:
    // it is made again, a few times at most.
    constexpr int kIntentos = 5;
    for (int intento = 1;; ++intento) {
        const auto carpeta = disco_.crearCarpetaUnica(base, kPrefijo);
        if (carpeta.empty())
            throw Error(ClaseError::FalloDeDisco, Hecho::PreparacionNoHecha,
                        {.archivo = base.string()}, sistema::textoError(sistema::ultimoError()));
        retencion_ = sistema::retenerEnUso(sistema::abrirCarpeta(carpeta), carpeta);
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
    disco_.borrarCarpeta(carpeta_);
}

void CarpetaPreparacion::confirmar(const std::filesystem::path& entrantes,
                                   const ConjuntoTablas& conjunto, ArchivoPreparado* informe) {
    // Hold every table Tamberlo may have open before touching any of them.
    // Each folder is read once for all the names, the Tamberlo folder again after the locks.
    const auto archivos = archivosDe(conjunto);
    std::vector<BloqueoExclusivo> bloqueos;
    for (const auto& actual : buscarEnCarpeta(ktemp_, archivosDe({conjunto.tablas, {}})))
        if (existeArchivo(actual)) bloqueos.emplace_back(disco_, actual);

    // The incoming tables were written without waiting for the disk: each is made safe on
    // it, once, before any name changes.
    const auto entrantesPorNombre = buscarEnCarpeta(entrantes, archivos);
    for (const auto& entrante : entrantesPorNombre)
        if (existeArchivo(entrante) && !disco_.vaciarArchivo(entrante)) fallo(entrantes);
    // Windows refuses to move a file that a handle of ours holds open: the locks go just
    // before the first move.
    bloqueos.clear();

    const auto apartados = carpeta_ / "apartados";
    if (!disco_.crearCarpeta(apartados)) fallo(carpeta_);
    Movimientos movimientos(disco_);
    // The files in place step aside first, each keeping its name, so that a failure can put
    // them back and the next generation holds them as they were.
    const std::vector<std::filesystem::path> destinos = buscarEnCarpeta(ktemp_, archivos);
    for (const auto& actual : destinos)
        if (existeArchivo(actual)) movimientos.mover(actual, apartados / actual.filename());
    for (std::size_t i = 0; i < archivos.size(); ++i) {
        const auto& entrante = entrantesPorNombre[i];
        if (!existeArchivo(entrante)) continue;
        // A file takes the name its predecessor had, or its own when it had none.
        const auto destino = existeArchivo(apartados / destinos[i].filename())
                                 ? destinos[i]
                                 : ktemp_ / entrante.filename();
        movimientos.mover(entrante, destino);
    }

    // The replaced set becomes the one generation kept; the one before it goes.
    const auto anterior = ktemp_ / kCarpetaAnterior;
    if (disco_.examinar(anterior) != Disco::Entrada::Ninguna)
        movimientos.mover(anterior, carpeta_ / "descartada");
    movimientos.mover(apartados, anterior);
    // The new names are on disk before the run says it is done; failing that, the old ones
    // go back.
    if (!disco_.vaciarEntradas(ktemp_)) fallo(ktemp_);
    // The report last, the one step that can still fail after it being the one that makes it
    // take its place: until then the old one can go back.
    if (informe) {
        informe->terminar();
        if (existeArchivo(informe->destino()))
            movimientos.mover(informe->destino(), carpeta_ / "informe-reemplazado");
        informe->confirmar();
    }
    movimientos.confirmar();
}

} // namespace pontavia
