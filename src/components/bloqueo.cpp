#include "bloqueo.h"

#include "error.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

namespace pontavia {

BloqueoExclusivo::BloqueoExclusivo(const std::filesystem::path& ruta) {
    fd_ = ::open(ruta.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd_ < 0)
        throw Error("No se pudo abrir la tabla " + ruta.string() + ": " + std::strerror(errno) +
                    ".");
    if (::flock(fd_, LOCK_EX | LOCK_NB) != 0) {
        const int e = errno;
        ::close(fd_);
        fd_ = -1;
        if (e == EWOULDBLOCK)
            throw Error("La tabla " + ruta.string() +
                        " está en uso por otro programa (¿está Tamberlo abierto?).");
        throw Error("No se pudo bloquear la tabla " + ruta.string() + ": " + std::strerror(e) +
                    ".");
    }
}

BloqueoExclusivo::~BloqueoExclusivo() {
    if (fd_ >= 0) ::close(fd_); // closing the last descriptor releases the lock
}

BloqueoExclusivo::BloqueoExclusivo(BloqueoExclusivo&& otro) noexcept : fd_(otro.fd_) {
    otro.fd_ = -1;
}

BloqueoExclusivo& BloqueoExclusivo::operator=(BloqueoExclusivo&& otro) noexcept {
    if (this != &otro) {
        if (fd_ >= 0) ::close(fd_);
        fd_ = otro.fd_;
        otro.fd_ = -1;
    }
    return *this;
}

} // namespace pontavia
