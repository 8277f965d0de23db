#include "archivo_atomico.h"

#include "error.h"
#include "restos.h"
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
        // Every pass writes at least a byte, or the loop would not end.
        if (escrito == 0) {
            sistema::fijarError(sistema::errorEntradaSalida());
            return false;
        }
        if (restantes >= 0) g_restantes -= escrito;
        p += escrito;
        n -= static_cast<std::size_t>(escrito);
    }
    return true;
}

std::atomic<std::size_t> g_pasos{0};
std::atomic<std::size_t> g_pasoQueFalla{0}; // 0: none

// Whether the seam lets the next step through; the last error is an I/O error when it does not.
bool pasoPermitido() {
    const std::size_t paso = ++g_pasos;
    if (paso != g_pasoQueFalla.load()) return true;
    sistema::fijarError(sistema::errorEntradaSalida());
    return false;
}

// Pieces are gathered up to this size before each write.
constexpr std::size_t kTrozo = 1 << 18;

} // namespace

ArchivoPreparado::ArchivoPreparado(const std::filesystem::path& destino, Durable durable)
    : destino_(destino), durable_(durable) {
    const std::string prefijo = "." + destino.filename().string() + ".";
    retirarAbandonados(destino.parent_path(), prefijo);
    // Another run clearing the folder may take the new file for abandoned before it is held:
    // it is made again, a few times at most.
    constexpr int kIntentos = 5;
    for (int intento = 1;; ++intento) {
        archivo_ = sistema::crearJunto(destino, temporal_);
        if (!archivo_.abierto()) {
            temporal_.clear();
            fallo();
        }
        retencion_ = sistema::retenerEnUso(archivo_, temporal_);
        if (retencion_.abierto()) break;
        archivo_ = sistema::Archivo();
        if (intento == kIntentos) {
            temporal_.clear();
            throw Error("No se pudo escribir " + destino_.string() +
                        ": otro programa retira sus archivos temporales.");
        }
    }
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
    // Released first: Windows removes no file that a handle is open on.
    retencion_ = sistema::Archivo();
    if (!confirmado_ && !temporal_.empty()) borrar(temporal_);
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
    if (durable_ == Durable::Si && !asegurarEnDisco(archivo_)) fallo();
    if (!archivo_.cerrar()) fallo();
}

void ArchivoPreparado::confirmar() {
    terminar();
    // Released first: Windows moves no file that a handle is open on.
    retencion_ = sistema::Archivo();
    if (!renombrar(temporal_, destino_)) fallo();
    confirmado_ = true;
}

void escribirAtomico(const std::filesystem::path& destino, std::string_view datos,
                     Durable durable) {
    ArchivoPreparado(destino, datos, durable).confirmar();
}

void sincronizarCarpeta(const std::filesystem::path& carpeta) {
    if (!asegurarCarpeta(carpeta))
        throw Error("No se pudo escribir en " + carpeta.string() + ": " +
                    sistema::textoError(sistema::ultimoError()) + ".");
}

bool renombrar(const std::filesystem::path& desde, const std::filesystem::path& hasta) {
    return pasoPermitido() && sistema::reemplazar(desde, hasta);
}

bool borrar(const std::filesystem::path& ruta) {
    return pasoPermitido() && sistema::borrar(ruta);
}

bool borrarCarpeta(const std::filesystem::path& carpeta) {
    return pasoPermitido() && sistema::borrarCarpeta(carpeta);
}

bool asegurarEnDisco(sistema::Archivo& archivo) {
    return pasoPermitido() && archivo.vaciar();
}

bool asegurarCarpeta(const std::filesystem::path& carpeta) {
    return pasoPermitido() && sistema::sincronizarCarpeta(carpeta);
}

FalloEnPaso::FalloEnPaso(std::size_t k) {
    g_pasos = 0;
    g_pasoQueFalla = k;
}
FalloEnPaso::~FalloEnPaso() {
    g_pasoQueFalla = 0;
}
std::size_t FalloEnPaso::pasos() const {
    return g_pasos.load();
}

LimiteEscritura::LimiteEscritura(std::size_t bytes) {
    g_restantes = static_cast<long long>(bytes);
}
LimiteEscritura::~LimiteEscritura() {
    g_restantes = -1;
}

} // namespace pontavia
