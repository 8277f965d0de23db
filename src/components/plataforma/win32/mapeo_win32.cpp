#include "mapeo.h"

#include "error.h"

#include <windows.h>

namespace pontavia {

namespace {

struct CerrarHandle {
    HANDLE h;
    ~CerrarHandle() {
        if (h && h != INVALID_HANDLE_VALUE) ::CloseHandle(h);
    }
};

} // namespace

Mapeo::Mapeo(const std::filesystem::path& ruta, Acceso acceso) {
    // Others may read and write the file meanwhile, as with any other way of reading it.
    const CerrarHandle archivo{::CreateFileW(
        ruta.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
        OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr)};
    if (archivo.h == INVALID_HANDLE_VALUE)
        throw Error(::GetLastError() == ERROR_FILE_NOT_FOUND ||
                            ::GetLastError() == ERROR_PATH_NOT_FOUND
                        ? ClaseError::FaltaEntrada
                        : ClaseError::FalloDeDisco,
                    Hecho::ArchivoNoAbierto, {.archivo = ruta.string()});
    LARGE_INTEGER tamano{};
    if (!::GetFileSizeEx(archivo.h, &tamano))
        throw Error(ClaseError::FalloDeDisco, Hecho::ArchivoNoLeido, {.archivo = ruta.string()});
    // An empty file cannot be mapped; it is an empty range.
    if (tamano.QuadPart == 0) return;
    const CerrarHandle mapeo{::CreateFileMappingW(
        archivo.h, nullptr, acceso == Acceso::Lectura ? PAGE_READONLY : PAGE_WRITECOPY, 0, 0,
        nullptr)};
    if (!mapeo.h)
        throw Error(ClaseError::FalloDeDisco, Hecho::ArchivoNoLeido, {.archivo = ruta.string()});
    // The view keeps the mapping alive once both handles are closed.
    base_ = ::MapViewOfFile(mapeo.h, acceso == Acceso::Lectura ? FILE_MAP_READ : FILE_MAP_COPY, 0,
                            0, 0);
    if (!base_)
        throw Error(ClaseError::FalloDeDisco, Hecho::ArchivoNoLeido, {.archivo = ruta.string()});
    tamano_ = static_cast<std::size_t>(tamano.QuadPart);
}

// A view keeps its file from being replaced until it ends, and a table's new bytes replace it
// once written: a table is read instead.
std::optional<Mapeo> Mapeo::deAbierto(const sistema::Archivo&) {
    return std::nullopt;
}

// Windows takes a view's pages back by itself when memory runs short; a read page is not
// given back on request.
void Mapeo::soltar(std::string_view) const noexcept {}

void Mapeo::liberar() noexcept {
    if (base_) ::UnmapViewOfFile(base_);
    base_ = nullptr;
    tamano_ = 0;
}

} // namespace pontavia
