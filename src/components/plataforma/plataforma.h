#pragma once
// The small platform layer: Tamberlo's folder made ready, whether a file is there, and where
// the running program lives. How names in Tamberlo's folder are matched is Tamberlo's
// (carpeta_tamberlo.h): it folds case as text does.
#include "disco.h"

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace pontavia {

namespace fs = std::filesystem;

// Makes sure Tamberlo's working folder, as the front end named it, is there: created when
// missing, an error when a file holds its name or it cannot be made.
void prepararCarpetaTamberlo(const fs::path& carpeta, Disco& disco);

// Whether a regular file (or a link to one) exists at ruta; the empty path never does.
bool existeArchivo(const fs::path& ruta, Disco& disco);

// The current date and time in the locale's own formats (LC_TIME's D_FMT and T_FMT; on
// Windows the user's short date and time formats).
std::string fechaHoraLocal();

// The folder of the running executable.
fs::path carpetaDelEjecutable();

} // namespace pontavia
