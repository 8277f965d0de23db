#include "restos.h"

#include "archivo_atomico.h"

#include <cctype>
#include <fcntl.h>
#include <string>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace pontavia {

namespace {

bool esTemporal(std::string_view nombre, std::string_view prefijo) {
    constexpr std::size_t kSufijo = 6; // the XXXXXX of the template
    if (nombre.size() != prefijo.size() + kSufijo || nombre.substr(0, prefijo.size()) != prefijo)
        return false;
    for (char c : nombre.substr(prefijo.size()))
        if (!std::isalnum(static_cast<unsigned char>(c))) return false;
    return true;
}

} // namespace

bool reservarEnUso(int fd, const std::filesystem::path& ruta) {
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) return false;
    struct stat abierto {};
    struct stat nombrado {};
    return ::fstat(fd, &abierto) == 0 && ::lstat(ruta.c_str(), &nombrado) == 0 &&
           abierto.st_dev == nombrado.st_dev && abierto.st_ino == nombrado.st_ino;
}

void retirarAbandonados(const std::filesystem::path& carpeta, std::string_view prefijo) {
    std::error_code ec;
    std::filesystem::directory_iterator it(carpeta.empty() ? "." : carpeta, ec);
    if (ec) return;
    for (; !ec && it != std::filesystem::directory_iterator(); it.increment(ec)) {
        const auto& entrada = *it;
        if (!esTemporal(entrada.path().filename().string(), prefijo)) continue;
        const int fd = ::open(entrada.path().c_str(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC);
        if (fd < 0) continue;
        struct stat st {};
        // Held by the lock until removed: a live run cannot take it in between.
        if (::flock(fd, LOCK_EX | LOCK_NB) == 0 && ::fstat(fd, &st) == 0) {
            if (S_ISDIR(st.st_mode))
                borrarCarpeta(entrada.path());
            else if (S_ISREG(st.st_mode))
                borrar(entrada.path());
        }
        ::close(fd);
    }
}

} // namespace pontavia
