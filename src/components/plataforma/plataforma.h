#pragma once
// The small platform layer: Tamberlo's folder made ready, how names in it are matched, and
// where the running program lives.
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

// The entry of carpeta whose name equals nombre without regard to case, since Tamberlo and
// Windows treat soluc.dbf and SOLUC.DBF as one file; carpeta/nombre when there is none.
fs::path buscarEnCarpeta(const fs::path& carpeta, std::string_view nombre, Disco& disco);
// The same for several names, in their order, reading the folder once at most.
std::vector<fs::path> buscarEnCarpeta(const fs::path& carpeta,
                                      const std::vector<std::string>& nombres, Disco& disco);
bool existeEnCarpeta(const fs::path& carpeta, std::string_view nombre, Disco& disco);

// Whether a regular file (or a link to one) exists at ruta; the empty path never does.
bool existeArchivo(const fs::path& ruta, Disco& disco);

// The current date and time in the locale's own formats (LC_TIME's D_FMT and T_FMT; on
// Windows the user's short date and time formats).
std::string fechaHoraLocal();

// The folder of the running executable.
fs::path carpetaDelEjecutable();

} // namespace pontavia
