#include "archivo_atomico.h"

#include "error.h"

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
    temporal_ = (destino.parent_path() / ("." + destino.filename().string() + ".XXXXXX")).string();
    fd_ = ::mkstemp(temporal_.data());
    if (fd_ < 0) {
        temporal_.clear();
        fallo();
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
    if (!confirmado_ && !temporal_.empty()) ::unlink(temporal_.c_str());
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
    if (durable_ == Durable::Si && ::fsync(fd_) != 0) fallo();
    const int r = ::close(fd_);
    fd_ = -1;
    if (r != 0) fallo();
}

void ArchivoPreparado::confirmar() {
    terminar();
    if (::rename(temporal_.c_str(), destino_.c_str()) != 0) fallo();
    confirmado_ = true;
}

void escribirAtomico(const std::filesystem::path& destino, std::string_view datos,
                     Durable durable) {
    ArchivoPreparado(destino, datos, durable).confirmar();
}

void sincronizarCarpeta(const std::filesystem::path& carpeta) {
    const int fd = ::open(carpeta.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0 || ::syncfs(fd) != 0) {
        const int error = errno;
        if (fd >= 0) ::close(fd);
        throw Error("No se pudo escribir en " + carpeta.string() + ": " + std::strerror(error) +
                    ".");
    }
    ::close(fd);
}

LimiteEscritura::LimiteEscritura(std::size_t bytes) {
    g_restantes = static_cast<long long>(bytes);
}
LimiteEscritura::~LimiteEscritura() {
    g_restantes = -1;
}

} // namespace pontavia
