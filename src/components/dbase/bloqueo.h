#pragma once
// Exclusive use of a table, held for as long as the object lives: an advisory lock (flock) on
// POSIX, the file opened with no sharing for writing and locked whole on Windows. Another
// program holding the table makes the lock fail at once, never wait.
#include "disco.h"
#include "sistema.h"

#include <filesystem>

namespace pontavia {

// The error of a table that another program holds (Tamberlo keeps its tables open).
[[noreturn]] void tablaEnUso(const std::filesystem::path& ruta);

class BloqueoExclusivo {
  public:
    // Opens ruta and takes its lock; raises an error that names the table when another
    // program holds it or the file cannot be opened.
    BloqueoExclusivo(Disco& disco, const std::filesystem::path& ruta);

    // The table's file, open for reading.
    const sistema::Archivo& archivo() const { return archivo_; }

  private:
    sistema::Archivo archivo_;
};

} // namespace pontavia
