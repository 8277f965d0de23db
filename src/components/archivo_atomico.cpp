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

class ArchivoTemporal {
  public:
    explicit ArchivoTemporal(const std::filesystem::path& destino) {
        plantilla_ =
            (destino.parent_path() / ("." + destino.filename().string() + ".XXXXXX")).string();
        fd_ = ::mkstemp(plantilla_.data());
        if (fd_ < 0)
            throw Error("No se pudo escribir " + destino.string() + ": " + std::strerror(errno) +
                        ".");
    }
    ~ArchivoTemporal() {
        if (fd_ >= 0) ::close(fd_);
        if (!confirmado_) ::unlink(plantilla_.c_str());
    }
    ArchivoTemporal(const ArchivoTemporal&) = delete;
    ArchivoTemporal& operator=(const ArchivoTemporal&) = delete;

    int fd() const { return fd_; }
    const std::string& ruta() const { return plantilla_; }
    bool cerrar() {
        const int r = ::close(fd_);
        fd_ = -1;
        return r == 0;
    }
    void confirmar() { confirmado_ = true; }

  private:
    std::string plantilla_;
    int fd_ = -1;
    bool confirmado_ = false;
};

} // namespace

ArchivoPreparado::ArchivoPreparado(const std::filesystem::path& destino, std::string_view datos)
    : destino_(destino) {
    ArchivoTemporal temporal(destino);
    auto falla = [&] {
        return Error("No se pudo escribir " + destino.string() + ": " + std::strerror(errno) + ".");
    };
    // Keep the usual permissions of a new file rather than mkstemp's private ones.
    const mode_t mascara = ::umask(0);
    ::umask(mascara);
    ::fchmod(temporal.fd(), 0666 & ~mascara);
    if (!escribirTodo(temporal.fd(), datos.data(), datos.size()) || ::fsync(temporal.fd()) != 0)
        throw falla();
    if (!temporal.cerrar()) throw falla();
    temporal.confirmar();
    temporal_ = temporal.ruta();
}

ArchivoPreparado::~ArchivoPreparado() {
    if (!confirmado_) ::unlink(temporal_.c_str());
}

void ArchivoPreparado::confirmar() {
    if (::rename(temporal_.c_str(), destino_.c_str()) != 0)
        throw Error("No se pudo escribir " + destino_.string() + ": " + std::strerror(errno) + ".");
    confirmado_ = true;
}

void escribirAtomico(const std::filesystem::path& destino, std::string_view datos) {
    ArchivoPreparado(destino, datos).confirmar();
}

LimiteEscritura::LimiteEscritura(std::size_t bytes) {
    g_restantes = static_cast<long long>(bytes);
}
LimiteEscritura::~LimiteEscritura() {
    g_restantes = -1;
}

} // namespace pontavia
