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

    const std::filesystem::path& destino() const { return destino_; }

  private:
    void vaciar();
    [[noreturn]] void fallo() const;

    std::filesystem::path destino_;
    std::filesystem::path temporal_;
    sistema::Archivo archivo_;
    // Held from the temporary file's making until it takes its name or goes: the mark that
    // tells it from one a killed run left.
    sistema::Archivo retencion_;
    std::string pendiente_;
    Durable durable_;
    bool confirmado_ = false;
};

// The steps that move, remove or make safe on disk, as the program takes them: through the
// seam below. Each returns false, with errno set, when it fails.
bool renombrar(const std::filesystem::path& desde, const std::filesystem::path& hasta);
bool borrar(const std::filesystem::path& ruta);
bool borrarCarpeta(const std::filesystem::path& carpeta); // and all it holds
bool asegurarEnDisco(sistema::Archivo& archivo);          // what it was given is on disk
bool asegurarCarpeta(const std::filesystem::path& carpeta); // every file of it is on disk

// Seam for tests: while it lives, the k-th of those steps (counted from 1 since it was set)
// fails, as on a failing disk; k = 0 fails none and only counts them.
class FalloEnPaso {
  public:
    explicit FalloEnPaso(std::size_t k);
    ~FalloEnPaso();
    FalloEnPaso(const FalloEnPaso&) = delete;
    FalloEnPaso& operator=(const FalloEnPaso&) = delete;
    std::size_t pasos() const; // taken since it was set
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
