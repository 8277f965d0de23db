#include "archivo_atomico.h"

#include "error.h"
#include "restos.h"
#include "sistema.h"

#include <string>

namespace pontavia {

namespace {

// Pieces are gathered up to this size before each write.
constexpr std::size_t kTrozo = 1 << 18;

} // namespace

ArchivoPreparado::ArchivoPreparado(Disco& disco, const std::filesystem::path& destino,
                                   Durable durable)
    : disco_(disco), destino_(destino), durable_(durable) {
    if (durable_ == Durable::Si)
        retirarAbandonados(disco_, destino.parent_path(), "." + destino.filename().string() + ".");
    // Another run clearing the folder may take the new file for abandoned before it is held:
    // it is made again, a few times at most.
    constexpr int kIntentos = 5;
    for (int intento = 1;; ++intento) {
        archivo_ = disco_.crearJunto(destino, temporal_);
        if (!archivo_.abierto()) {
            temporal_.clear();
            fallo();
        }
        retencion_ = sistema::retenerEnUso(archivo_, temporal_);
        if (retencion_.abierto()) break;
        archivo_ = sistema::Archivo();
        if (intento == kIntentos) {
            temporal_.clear();
            throw Error(ClaseError::FalloDeDisco, Hecho::TemporalesRetirados,
                        {.archivo = destino_.string()});
        }
    }
    pendiente_.reserve(kTrozo);
}

ArchivoPreparado::ArchivoPreparado(Disco& disco, const std::filesystem::path& destino,
                                   std::string_view datos, Durable durable)
    : ArchivoPreparado(disco, destino, durable) {
    escribir(datos);
    terminar();
}

ArchivoPreparado::~ArchivoPreparado() {
    archivo_ = sistema::Archivo();
    // Released first: Windows removes no file that a handle is open on.
    retencion_ = sistema::Archivo();
    if (!confirmado_ && !temporal_.empty()) disco_.borrar(temporal_);
}

void ArchivoPreparado::fallo() const {
    throw Error(ClaseError::FalloDeDisco, Hecho::NoEscrito, {.archivo = destino_.string()},
                sistema::textoError(sistema::ultimoError()));
}

void ArchivoPreparado::escribirTodo(const char* p, std::size_t n) {
    while (n > 0) {
        const long long escrito = disco_.escribir(archivo_, p, n);
        if (escrito < 0) fallo();
        // Every pass writes at least a byte, or the loop would not end.
        if (escrito == 0) {
            sistema::fijarError(sistema::errorEntradaSalida());
            fallo();
        }
        p += escrito;
        n -= static_cast<std::size_t>(escrito);
    }
}

void ArchivoPreparado::vaciar() {
    escribirTodo(pendiente_.data(), pendiente_.size());
    pendiente_.clear();
}

void ArchivoPreparado::escribir(std::string_view datos) {
    if (pendiente_.size() + datos.size() > kTrozo) {
        vaciar();
        // A large piece goes straight through, without a copy.
        if (datos.size() >= kTrozo) {
            escribirTodo(datos.data(), datos.size());
            return;
        }
    }
    pendiente_.append(datos);
}

void ArchivoPreparado::terminar() {
    if (!archivo_.abierto()) return;
    vaciar();
    if (durable_ == Durable::Si && !disco_.vaciar(archivo_)) fallo();
    if (!disco_.cerrar(archivo_)) fallo();
}

void ArchivoPreparado::confirmar() {
    terminar();
    // Released first: Windows moves no file that a handle is open on.
    retencion_ = sistema::Archivo();
    if (!disco_.reemplazar(temporal_, destino_)) fallo();
    confirmado_ = true;
}

std::filesystem::path ArchivoPreparado::segundoNombre() {
    if (disco_.examinar(destino_) != Disco::Entrada::Archivo) return {};
    // A free hidden name of the kind the next run clears, should this one leave it behind.
    std::filesystem::path nombre;
    sistema::Archivo reserva = disco_.crearJunto(destino_, nombre);
    if (!reserva.abierto()) fallo();
    const bool cerrado = disco_.cerrar(reserva);
    if (!disco_.borrar(nombre) || !cerrado) fallo();
    // Where the file system has no second names, the earlier file cannot go back.
    if (!disco_.enlazar(destino_, nombre)) return {};
    return nombre;
}

void ArchivoPreparado::confirmarAntesDe(ArchivoPreparado& siguiente) {
    terminar();
    siguiente.terminar();
    // The file this one replaces keeps a second name until siguiente is in place: it stays
    // whole on disk throughout, and can go back.
    const std::filesystem::path anterior = segundoNombre();
    try {
        confirmar();
    } catch (const Error&) {
        if (!anterior.empty()) disco_.borrar(anterior);
        throw;
    }
    try {
        siguiente.confirmar();
    } catch (const Error&) {
        if (!anterior.empty())
            disco_.reemplazar(anterior, destino_);
        else
            disco_.borrar(destino_);
        throw;
    }
    if (!anterior.empty()) disco_.borrar(anterior);
}

void escribirAtomico(Disco& disco, const std::filesystem::path& destino, std::string_view datos,
                     Durable durable) {
    ArchivoPreparado(disco, destino, datos, durable).confirmar();
}

} // namespace pontavia
