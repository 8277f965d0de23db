#pragma once
// A file's bytes mapped into memory instead of read into a buffer: the pages come from the
// system's file cache as they are touched, with no copy. Either read-only, or as a private
// copy the program may write into (a page is copied only when written; the file never
// changes). The mapping ends with the object.
#include "sistema.h"

#include <cstddef>
#include <filesystem>
#include <optional>
#include <string_view>

namespace pontavia {

class Mapeo {
  public:
    enum class Acceso { Lectura, CopiaPrivada };

    // Raises "No se pudo abrir el archivo …" or "No se pudo leer el archivo …".
    Mapeo(const std::filesystem::path& ruta, Acceso acceso);
    // The error a mapping that fails raises, for a disk that fails it on purpose too.
    enum class Fallo { Abrir, Leer };
    [[noreturn]] static void fallar(Fallo fallo, const std::filesystem::path& ruta);
    // A read-only view of a file the program holds open for reading (a table kept for its
    // exclusive use), where the system gives one without risk to the file; nullopt otherwise
    // (not a regular file, no view to be had), and the caller reads the file instead.
    static std::optional<Mapeo> deAbierto(const sistema::Archivo& archivo);
    Mapeo(Mapeo&& otro) noexcept;
    Mapeo& operator=(Mapeo&& otro) noexcept;
    Mapeo(const Mapeo&) = delete;
    Mapeo& operator=(const Mapeo&) = delete;
    ~Mapeo();

    // Writable only for Acceso::CopiaPrivada. An empty file gives an empty range.
    char* datos() const { return static_cast<char*>(base_); }
    std::size_t tamano() const { return tamano_; }
    std::string_view bytes() const { return {datos(), tamano_}; }
    // Gives back the memory of the whole pages within parte, bytes of a read-only mapping that
    // were read and are not needed soon: a later read of them comes again from the file.
    void soltar(std::string_view parte) const noexcept;

  private:
    Mapeo() = default;
    void liberar() noexcept;

    void* base_ = nullptr;
    std::size_t tamano_ = 0;
};

} // namespace pontavia
