#pragma once
// Files that appear whole or not at all: the bytes go to a temporary file in the same
// folder, which then replaces the target in one rename. A failed write leaves the old file.
#include "sistema.h"

#include <cstddef>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace pontavia {

// Whether a file's bytes are safe on disk before it takes its name. Durable::No is for the
// files of a folder that is made safe as a whole (sincronizarCarpeta) before they are put in
// place: one wait for the disk instead of one per file.
enum class Durable : bool { No, Si };

void escribirAtomico(const std::filesystem::path& destino, std::string_view datos,
                     Durable durable = Durable::Si);

// Waits until everything written to the file system that holds carpeta is safe on disk.
void sincronizarCarpeta(const std::filesystem::path& carpeta);

// The same in steps, for a file written a piece at a time or one that must appear only if
// other work succeeds: escribir() as often as needed (buffered), terminar() makes the bytes
// safe on disk, confirmar() puts them in place. Destroyed unconfirmed, it leaves no trace.
class ArchivoPreparado {
  public:
    explicit ArchivoPreparado(const std::filesystem::path& destino, Durable durable = Durable::Si);
    // Writes datos and terminates at once.
    ArchivoPreparado(const std::filesystem::path& destino, std::string_view datos,
                     Durable durable = Durable::Si);
    ~ArchivoPreparado();
    ArchivoPreparado(const ArchivoPreparado&) = delete;
    ArchivoPreparado& operator=(const ArchivoPreparado&) = delete;

    void escribir(std::string_view datos);
    void terminar();
    void confirmar(); // terminates first when still open

  private:
    void vaciar();
    [[noreturn]] void fallo() const;

    std::filesystem::path destino_;
    std::filesystem::path temporal_;
    sistema::Archivo archivo_;
    std::string pendiente_;
    Durable durable_;
    bool confirmado_ = false;
};

// Seam for tests: while a limit is set, every write path of the program fails, as a full
// disk would, once that many bytes have been written in all since the limit was set.
class LimiteEscritura {
  public:
    explicit LimiteEscritura(std::size_t bytes);
    ~LimiteEscritura();
    LimiteEscritura(const LimiteEscritura&) = delete;
    LimiteEscritura& operator=(const LimiteEscritura&) = delete;
};

} // namespace pontavia
