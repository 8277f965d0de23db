#include "archivo_atomico.h"

#include "error.h"
#include "sistema.h"

#include <algorithm>
#include <atomic>
#include <string>

namespace pontavia {

namespace {

std::atomic<long long> g_restantes{-1}; // -1: no limit

// Writes as much as the test limit lets through; false when the limit stops it.
bool escribirTodo(sistema::Archivo& archivo, const char* p, std::size_t n) {
    while (n > 0) {
        std::size_t trozo = n;
        long long restantes = g_restantes.load();
        if (restantes >= 0) {
            if (restantes == 0) {
                sistema::fijarError(sistema::errorDiscoLleno());
                return false;
            }
            trozo = std::min<std::size_t>(trozo, static_cast<std::size_t>(restantes));
        }
        const long long escrito = archivo.escribir(p, trozo);
        if (escrito < 0) return false;
        if (restantes >= 0) g_restantes -= escrito;
        p += escrito;
        n -= static_cast<std::size_t>(escrito);
    }
    return true;
}

// Pieces are gathered up to this size before each write.
constexpr std::size_t kTrozo = 1 << 18;

} // namespace

ArchivoPreparado::ArchivoPreparado(const std::filesystem::path& destino, Durable durable)
    : destino_(destino), durable_(durable) {
    archivo_ = sistema::crearJunto(destino, temporal_);
    if (!archivo_.abierto()) fallo();
    pendiente_.reserve(kTrozo);
}

ArchivoPreparado::ArchivoPreparado(const std::filesystem::path& destino, std::string_view datos,
                                   Durable durable)
    : ArchivoPreparado(destino, durable) {
    escribir(datos);
    terminar();
}

ArchivoPreparado::~ArchivoPreparado() {
    archivo_ = sistema::Archivo();
    if (!confirmado_ && !temporal_.empty()) sistema::borrar(temporal_);
}

void ArchivoPreparado::fallo() const {
    throw Error("No se pudo escribir " + destino_.string() + ": " +
                sistema::textoError(sistema::ultimoError()) + ".");
}

void ArchivoPreparado::vaciar() {
    if (!escribirTodo(archivo_, pendiente_.data(), pendiente_.size())) fallo();
    pendiente_.clear();
}

void ArchivoPreparado::escribir(std::string_view datos) {
    if (pendiente_.size() + datos.size() > kTrozo) {
        vaciar();
        // A large piece goes straight through, without a copy.
        if (datos.size() >= kTrozo) {
            if (!escribirTodo(archivo_, datos.data(), datos.size())) fallo();
            return;
        }
    }
    pendiente_.append(datos);
}

void ArchivoPreparado::terminar() {
    if (!archivo_.abierto()) return;
    vaciar();
    if (durable_ == Durable::Si && !archivo_.vaciar()) fallo();
    if (!archivo_.cerrar()) fallo();
}

void ArchivoPreparado::confirmar() {
    terminar();
    if (!sistema::reemplazar(temporal_, destino_)) fallo();
    confirmado_ = true;
}

void escribirAtomico(const std::filesystem::path& destino, std::string_view datos,
                     Durable durable) {
    ArchivoPreparado(destino, datos, durable).confirmar();
}

void sincronizarCarpeta(const std::filesystem::path& carpeta) {
    if (!sistema::sincronizarCarpeta(carpeta))
        throw Error("No se pudo escribir en " + carpeta.string() + ": " +
                    sistema::textoError(sistema::ultimoError()) + ".");
}

LimiteEscritura::LimiteEscritura(std::size_t bytes) {
    g_restantes = static_cast<long long>(bytes);
}
LimiteEscritura::~LimiteEscritura() {
    g_restantes = -1;
}

} // namespace pontavia
