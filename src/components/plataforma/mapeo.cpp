// What a mapping does the same on every system; making and ending one is each system's own
// (mapeo_posix.cpp, mapeo_win32.cpp).
#include "mapeo.h"

#include "error.h"

#include <utility>

namespace pontavia {

void Mapeo::fallar(Fallo fallo, const std::filesystem::path& ruta) {
    throw Error(ClaseError::FalloDeDisco,
                fallo == Fallo::Abrir ? Hecho::ArchivoNoAbierto : Hecho::ArchivoNoLeido,
                {.archivo = ruta.string()});
}

Mapeo::Mapeo(Mapeo&& otro) noexcept
    : base_(std::exchange(otro.base_, nullptr)), tamano_(std::exchange(otro.tamano_, 0)) {}

Mapeo& Mapeo::operator=(Mapeo&& otro) noexcept {
    if (this != &otro) {
        liberar();
        base_ = std::exchange(otro.base_, nullptr);
        tamano_ = std::exchange(otro.tamano_, 0);
    }
    return *this;
}

Mapeo::~Mapeo() {
    liberar();
}

} // namespace pontavia
