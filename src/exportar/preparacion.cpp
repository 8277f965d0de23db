#include "preparacion.h"

#include "archivo_atomico.h"
#include "bloqueo.h"
#include "error.h"
#include "plataforma.h"
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
    Movimientos() = default;
    Movimientos(const Movimientos&) = delete;
    Movimientos& operator=(const Movimientos&) = delete;
    ~Movimientos() {
        if (confirmados_) return;
        for (auto it = hechos_.rbegin(); it != hechos_.rend(); ++it)
            sistema::reemplazar(it->hasta, it->desde);
    }

    void mover(const std::filesystem::path& desde, const std::filesystem::path& hasta) {
        if (!sistema::reemplazar(desde, hasta))
            throw Error("No se pudo mover " + desde.string() + " a " + hasta.string() + ": " +
                        sistema::textoError(sistema::ultimoError()) + ".");
        hechos_.push_back({desde, hasta});
    }
    void confirmar() { confirmados_ = true; }

  private:
    std::vector<Movimiento> hechos_;
    bool confirmados_ = false;
};

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
    static const ConjuntoTablas conjunto{
        {"ASIGNOMT", "PROFT", "AULAT", "GRUPOST", "DIASHORAST", "ASIGT"},
        {"ASIGNOMT", "PROFT", "AULAT", "GRUPOST", "ASIGT"}};
    return conjunto;
}

CarpetaPreparacion::CarpetaPreparacion(const std::filesystem::path& base) : ktemp_(base) {
    carpeta_ = sistema::crearCarpetaUnica(base, ".pontavia-preparacion-");
    if (carpeta_.empty())
        throw Error("No se pudo preparar la exportación en " + base.string() + ": " +
                    sistema::textoError(sistema::ultimoError()) + ".");
}

CarpetaPreparacion::~CarpetaPreparacion() {
    std::error_code ec;
    std::filesystem::remove_all(carpeta_, ec);
}

void CarpetaPreparacion::confirmar(const std::filesystem::path& entrantes,
                                   const ConjuntoTablas& conjunto) {
    // Hold every table Tamberlo may have open before touching any of them.
    std::vector<BloqueoExclusivo> bloqueos;
    for (const auto& t : conjunto.tablas) {
        const auto actual = buscarEnCarpeta(ktemp_, t + ".DBF");
        if (existeArchivo(actual)) bloqueos.emplace_back(actual);
    }

    // The incoming tables were written without waiting for the disk: they are all safe on
    // it before any name changes.
    sincronizarCarpeta(entrantes);
    // Windows refuses to move a file that a handle of ours holds open: the locks go just
    // before the first move.
    bloqueos.clear();

    const auto apartados = carpeta_ / "apartados";
    std::filesystem::create_directory(apartados);
    Movimientos movimientos;
    // The files in place step aside first, each keeping its name, so that a failure can put
    // them back and the next generation holds them as they were.
    const auto archivos = archivosDe(conjunto);
    std::vector<std::filesystem::path> destinos;
    for (const auto& nombre : archivos) {
        const auto actual = buscarEnCarpeta(ktemp_, nombre);
        destinos.push_back(actual);
        if (existeArchivo(actual)) movimientos.mover(actual, apartados / actual.filename());
    }
    for (std::size_t i = 0; i < archivos.size(); ++i) {
        const auto entrante = buscarEnCarpeta(entrantes, archivos[i]);
        if (!existeArchivo(entrante)) continue;
        // A file takes the name its predecessor had, or its own when it had none.
        const auto destino = existeArchivo(apartados / destinos[i].filename())
                                 ? destinos[i]
                                 : ktemp_ / entrante.filename();
        movimientos.mover(entrante, destino);
    }

    // The replaced set becomes the one generation kept; the one before it goes.
    const auto anterior = ktemp_ / kCarpetaAnterior;
    std::error_code ec;
    if (std::filesystem::exists(anterior, ec)) movimientos.mover(anterior, carpeta_ / "descartada");
    movimientos.mover(apartados, anterior);
    movimientos.confirmar();
}

} // namespace pontavia
