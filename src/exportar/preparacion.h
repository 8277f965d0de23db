#pragma once
// All or nothing for the tables of Tamberlo's folder: a new set is written into a staging
// folder inside it and moved into place only when complete. Until then, and whenever anything
// fails, Tamberlo's folder stays exactly as it was. The set a move replaces is kept, one
// generation deep, so that it can be put back.
#include "archivo_atomico.h"
#include "disco.h"
#include "registro_conjunto.h"
#include "sistema.h"

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace pontavia {

// The tables of a set, and the index files of theirs that a new set makes stale.
struct ConjuntoTablas {
    std::vector<std::string> tablas;
    std::vector<std::string> indices;
};

// The tables exportar writes, as esquema_tamberlo.h describes them, with the index files
// that are Pontavia's to remove.
const ConjuntoTablas& tablasExportadas();

// The folder inside Tamberlo's where the set last replaced is kept; Tamberlo reads only the
// files of its own folder.
inline constexpr const char* kCarpetaAnterior = ".pontavia-anterior";

// Finishes in base (Tamberlo's folder) every move of tables that a run cut off left begun,
// each once held so that no other run finishes it too, and removes the staging folders killed
// runs left; one that still holds the only copy of a set (its record unreadable) is never
// removed. Raises an error when a move cannot be finished: the next run tries again.
void completarMovimientosInterrumpidos(Disco& disco, const std::filesystem::path& base);

// Whether base holds a move that a run cut off left begun (for a run that only reports it).
bool hayMovimientoInterrumpido(const std::filesystem::path& base, Disco& disco);

class CarpetaPreparacion {
  public:
    // The staging folder is made inside base (Tamberlo's folder, or a temporary one for a run
    // that must write nothing there); first, the moves killed runs left begun there are
    // finished and their folders go (completarMovimientosInterrumpidos). Every file
    // operation goes through disco.
    CarpetaPreparacion(Disco& disco, const std::filesystem::path& base);
    // Removes the staging folder, unless its move is begun and not finished: the next run
    // finishes it.
    ~CarpetaPreparacion();
    CarpetaPreparacion(const CarpetaPreparacion&) = delete;
    CarpetaPreparacion& operator=(const CarpetaPreparacion&) = delete;

    const std::filesystem::path& carpeta() const { return carpeta_; }

    // Replaces the set's files in Tamberlo's folder with those of entrantes (a set's file
    // missing there is missing afterwards too), and keeps the replaced files as the new
    // generation in kCarpetaAnterior. Refuses, changing nothing, when another program holds
    // any of the tables. Each file of entrantes, the second names of those it replaces and the
    // record of the move are safe on disk before any name changes, and the new names before
    // it returns. A failure before the first name changes leaves everything as it was; after
    // it, the move is tried once more, and what is still left the next run finishes. A report
    // given (made in the staging folder) takes its place with the tables, or not at all; the
    // report it replaces is not kept. The record of entrantes (kRegistroConjunto, safe on disk)
    // takes the place of the folder's; the kept generation gets its own, written with it.
    void confirmar(const std::filesystem::path& entrantes, const ConjuntoTablas& conjunto,
                   ArchivoPreparado* informe = nullptr);

  private:
    // Where the set in Tamberlo's folder came from, as its record says; nothing when unknown.
    std::optional<OrigenConjunto> origenEnCarpeta();
    // Gives the file actual the second name copia, or where the file system has none, a copy
    // safe on disk.
    void apartar(const std::filesystem::path& actual, const std::filesystem::path& copia);

    Disco& disco_;
    std::filesystem::path ktemp_;
    std::filesystem::path carpeta_;
    sistema::Archivo retencion_; // the mark of a live run, held while it works
    bool pendiente_ = false;     // its move begun and not finished
};

} // namespace pontavia
