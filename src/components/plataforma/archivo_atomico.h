#pragma once
// Files that appear whole or not at all: the bytes go to a temporary file in the same
// folder, which then replaces the target in one rename. A failed write leaves the old file.
#include "disco.h"
#include "sistema.h"

#include <filesystem>
#include <string>
#include <string_view>

namespace pontavia {

// Whether a file's bytes are safe on disk before it takes its name. Durable::No is for the
// files of a staging folder, each made safe on disk once, when the set is complete and
// before it is put in place (CarpetaPreparacion::confirmar). Such a folder is the run's own
// and held while it works: no other run left temporary files in it to clear.
enum class Durable : bool { No, Si };

void escribirAtomico(Disco& disco, const std::filesystem::path& destino, std::string_view datos,
                     Durable durable = Durable::Si);

// The same in steps, for a file written a piece at a time or one that must appear only if
// other work succeeds: escribir() as often as needed (buffered), terminar() makes the bytes
// safe on disk, confirmar() puts them in place. Destroyed unconfirmed, it leaves no trace.
class ArchivoPreparado {
  public:
    ArchivoPreparado(Disco& disco, const std::filesystem::path& destino,
                     Durable durable = Durable::Si);
    // Writes datos and terminates at once.
    ArchivoPreparado(Disco& disco, const std::filesystem::path& destino, std::string_view datos,
                     Durable durable = Durable::Si);
    ~ArchivoPreparado();
    ArchivoPreparado(const ArchivoPreparado&) = delete;
    ArchivoPreparado& operator=(const ArchivoPreparado&) = delete;

    void escribir(std::string_view datos);
    void terminar();
    void confirmar(); // terminates first when still open
    // Puts this file in place, then siguiente, as one step: should siguiente fail to take its
    // place, the file this one replaced goes back (or this one goes, when it replaced none).
    void confirmarAntesDe(ArchivoPreparado& siguiente);

    const std::filesystem::path& destino() const { return destino_; }

  private:
    void vaciar();
    std::filesystem::path segundoNombre();
    void escribirTodo(const char* p, std::size_t n);
    [[noreturn]] void fallo() const;

    Disco& disco_;
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

} // namespace pontavia
