#include "archivo_atomico.h"

#include "error.h"
#include "restos.h"

#include <atomic>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

namespace pontavia {

namespace {

std::atomic<long long> g_restantes{-1}; // -1: no limit

// Writes as much as the test limit lets through; false when the limit stops it.
bool escribirTodo(int fd, const char* p, std::size_t n) {
    while (n > 0) {
        std::size_t trozo = n;
        long long restantes = g_restantes.load();
        if (restantes >= 0) {
            if (restantes == 0) {
                errno = ENOSPC;
                return false;
            }
            trozo = std::min<std::size_t>(trozo, static_cast<std::size_t>(restantes));
        }
        const ssize_t escrito = ::write(fd, p, trozo);
        if (escrito < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        // Every pass writes at least a byte, or the loop would not end.
        if (escrito == 0) {
            errno = EIO;
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

// Whether the seam lets the next step through; errno is EIO when it does not.
bool pasoPermitido() {
    const std::size_t paso = ++g_pasos;
    if (paso != g_pasoQueFalla.load()) return true;
    errno = EIO;
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
        temporal_ = (destino.parent_path() / (prefijo + "XXXXXX")).string();
        fd_ = ::mkstemp(temporal_.data());
        if (fd_ < 0) {
            temporal_.clear();
            fallo();
        }
        if (reservarEnUso(fd_, temporal_)) {
            // The same open file: it holds the lock after fd_ closes.
            cerrojo_ = ::fcntl(fd_, F_DUPFD_CLOEXEC, 0);
            break;
        }
        ::close(fd_);
        fd_ = -1;
        if (intento == kIntentos) {
            temporal_.clear();
            errno = EBUSY;
            fallo();
        }
    }
    // Keep the usual permissions of a new file rather than mkstemp's private ones.
    const mode_t mascara = ::umask(0);
    ::umask(mascara);
    ::fchmod(fd_, 0666 & ~mascara);
    pendiente_.reserve(kTrozo);
}

ArchivoPreparado::ArchivoPreparado(const std::filesystem::path& destino, std::string_view datos,
                                   Durable durable)
    : ArchivoPreparado(destino, durable) {
    escribir(datos);
    terminar();
}

ArchivoPreparado::~ArchivoPreparado() {
    if (fd_ >= 0) ::close(fd_);
    if (!confirmado_ && !temporal_.empty()) borrar(temporal_);
    if (cerrojo_ >= 0) ::close(cerrojo_);
}

void ArchivoPreparado::fallo() const {
    throw Error("No se pudo escribir " + destino_.string() + ": " + std::strerror(errno) + ".");
}

void ArchivoPreparado::vaciar() {
    if (!escribirTodo(fd_, pendiente_.data(), pendiente_.size())) fallo();
    pendiente_.clear();
}

void ArchivoPreparado::escribir(std::string_view datos) {
    if (pendiente_.size() + datos.size() > kTrozo) {
        vaciar();
        // A large piece goes straight through, without a copy.
        if (datos.size() >= kTrozo) {
            if (!escribirTodo(fd_, datos.data(), datos.size())) fallo();
            return;
        }
    }
    pendiente_.append(datos);
}

void ArchivoPreparado::terminar() {
    if (fd_ < 0) return;
    vaciar();
    if (durable_ == Durable::Si && !asegurarEnDisco(fd_)) fallo();
    const int r = ::close(fd_);
    fd_ = -1;
    if (r != 0) fallo();
}

void ArchivoPreparado::confirmar() {
    terminar();
    if (!renombrar(temporal_, destino_)) fallo();
    confirmado_ = true;
    ::close(cerrojo_);
    cerrojo_ = -1;
}

void escribirAtomico(const std::filesystem::path& destino, std::string_view datos,
                     Durable durable) {
    ArchivoPreparado(destino, datos, durable).confirmar();
}

void sincronizarCarpeta(const std::filesystem::path& carpeta) {
    const int fd = ::open(carpeta.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0 || !asegurarSistemaDeArchivos(fd)) {
        const int error = errno;
        if (fd >= 0) ::close(fd);
        throw Error("No se pudo escribir en " + carpeta.string() + ": " + std::strerror(error) +
                    ".");
    }
    ::close(fd);
}

bool renombrar(const std::filesystem::path& desde, const std::filesystem::path& hasta) {
    return pasoPermitido() && ::rename(desde.c_str(), hasta.c_str()) == 0;
}

bool borrar(const std::filesystem::path& ruta) {
    return pasoPermitido() && ::unlink(ruta.c_str()) == 0;
}

bool borrarCarpeta(const std::filesystem::path& carpeta) {
    if (!pasoPermitido()) return false;
    std::error_code ec;
    std::filesystem::remove_all(carpeta, ec);
    if (ec) errno = ec.value();
    return !ec;
}

bool asegurarEnDisco(int fd) {
    return pasoPermitido() && ::fsync(fd) == 0;
}

bool asegurarSistemaDeArchivos(int fd) {
    return pasoPermitido() && ::syncfs(fd) == 0;
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
