#include "memoria_xml.h"

#include "sanitizador.h"

#include <pugixml.hpp>
#include <sys/mman.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <mutex>

namespace pontavia {

namespace {

#ifdef PONTAVIA_CON_SANITIZADOR
// The sanitizers check pugixml's memory only when it comes from the system's allocator.
void instalar() {}
void pedirPaginasGrandes() {}
#else
// Address space, not memory: a page is given only when first written.
constexpr std::size_t kReserva = std::size_t{1} << 36;
constexpr std::size_t kPaginaGrande = std::size_t{2} << 20;
constexpr std::size_t kAlineacion = alignof(std::max_align_t);

std::mutex cerrojo;
char* inicio = nullptr;
std::size_t usado = 0;
std::size_t vivos = 0;

void* asignar(std::size_t n) {
    const std::size_t medida = (n + kAlineacion - 1) & ~(kAlineacion - 1);
    {
        const std::lock_guard<std::mutex> cierre(cerrojo);
        if (medida <= kReserva - usado) {
            void* p = inicio + usado;
            usado += medida;
            ++vivos;
            return p;
        }
    }
    return std::malloc(n);
}

void liberar(void* p) {
    const auto dir = reinterpret_cast<std::uintptr_t>(p);
    const auto base = reinterpret_cast<std::uintptr_t>(inicio);
    if (dir < base || dir >= base + kReserva) {
        std::free(p);
        return;
    }
    // Nothing is reused piece by piece: once everything given is back (a run's tree is
    // dropped), the arena starts again from its beginning, on pages already there.
    const std::lock_guard<std::mutex> cierre(cerrojo);
    if (--vivos == 0) usado = 0;
}

void instalar() {
    void* reserva = ::mmap(nullptr, kReserva + kPaginaGrande, PROT_READ | PROT_WRITE,
                           MAP_PRIVATE | MAP_ANONYMOUS | MAP_NORESERVE, -1, 0);
    // Without the address space (a limit on it, no overcommit) pugixml keeps malloc.
    if (reserva == MAP_FAILED) return;
    // Huge pages start at their own size's boundaries.
    const auto alineada =
        (reinterpret_cast<std::uintptr_t>(reserva) + kPaginaGrande - 1) & ~(kPaginaGrande - 1);
    inicio = reinterpret_cast<char*>(alineada);
    pugi::set_memory_management_functions(asignar, liberar);
}

void pedirPaginasGrandes() {
#ifdef MADV_HUGEPAGE
    if (inicio) ::madvise(inicio, kReserva, MADV_HUGEPAGE);
#endif
}
#endif

} // namespace

void usarMemoriaXML() {
    static std::once_flag una;
    std::call_once(una, instalar);
}

void prepararMemoriaXML(std::size_t bytes) {
    constexpr std::size_t kDocumentoGrande = std::size_t{512} << 10;
    if (bytes < kDocumentoGrande) return;
    usarMemoriaXML();
    static std::once_flag una;
    std::call_once(una, pedirPaginasGrandes);
}

} // namespace pontavia
