#include "mapeo.h"

#include "error.h"

#include <cerrno>
#include <cstdint>
#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

namespace pontavia {

Mapeo::Mapeo(const std::filesystem::path& ruta, Acceso acceso) {
    const int fd = ::open(ruta.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        throw Error(errno == ENOENT ? ClaseError::FaltaEntrada : ClaseError::FalloDeDisco,
                    Hecho::ArchivoNoAbierto, {.archivo = ruta.string()});
    struct stat st {};
    const bool medido = ::fstat(fd, &st) == 0 && S_ISREG(st.st_mode);
    if (medido && st.st_size > 0) {
        tamano_ = static_cast<std::size_t>(st.st_size);
        // A private copy is written nearly everywhere (a parse in place ends every name and
        // value): copying all its pages in one call costs less than one fault per page.
        void* base = acceso == Acceso::Lectura
                         ? ::mmap(nullptr, tamano_, PROT_READ, MAP_PRIVATE, fd, 0)
                         : ::mmap(nullptr, tamano_, PROT_READ | PROT_WRITE,
                                  MAP_PRIVATE | MAP_POPULATE, fd, 0);
        base_ = base == MAP_FAILED ? nullptr : base;
    }
    ::close(fd);
    if (!medido || (tamano_ > 0 && !base_))
        throw Error(ClaseError::FalloDeDisco, Hecho::ArchivoNoLeido, {.archivo = ruta.string()});
}

std::optional<Mapeo> Mapeo::deAbierto(const sistema::Archivo& archivo) {
    struct stat st {};
    if (::fstat(archivo.nativo(), &st) != 0 || !S_ISREG(st.st_mode)) return std::nullopt;
    Mapeo m;
    if (st.st_size == 0) return m;
    // Every page is read anyway: all of them in one call costs less than one fault each.
    const auto tamano = static_cast<std::size_t>(st.st_size);
    void* base =
        ::mmap(nullptr, tamano, PROT_READ, MAP_PRIVATE | MAP_POPULATE, archivo.nativo(), 0);
    if (base == MAP_FAILED) return std::nullopt;
    m.base_ = base;
    m.tamano_ = tamano;
    return m;
}

void Mapeo::soltar(std::string_view parte) const noexcept {
    const auto pagina = static_cast<std::uintptr_t>(::sysconf(_SC_PAGESIZE));
    const auto desde =
        (reinterpret_cast<std::uintptr_t>(parte.data()) + pagina - 1) & ~(pagina - 1);
    const auto hasta =
        (reinterpret_cast<std::uintptr_t>(parte.data()) + parte.size()) & ~(pagina - 1);
    if (hasta > desde) ::madvise(reinterpret_cast<void*>(desde), hasta - desde, MADV_DONTNEED);
}

void Mapeo::liberar() noexcept {
    if (base_) ::munmap(base_, tamano_);
    base_ = nullptr;
    tamano_ = 0;
}

} // namespace pontavia
