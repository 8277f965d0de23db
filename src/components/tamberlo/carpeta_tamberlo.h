#pragma once
// How names in Tamberlo's folders are matched: without regard to case, as Tamberlo and Windows
// match them, with the same folding of case that codes are compared with, on every system.
#include "disco.h"

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace pontavia {

// The entry of carpeta whose name equals nombre without regard to case, since Tamberlo and
// Windows treat soluc.dbf and SOLUC.DBF as one file; carpeta/nombre when there is none.
std::filesystem::path buscarEnCarpeta(const std::filesystem::path& carpeta, std::string_view nombre,
                                      Disco& disco);
// The same for several names, in their order, reading the folder once at most.
std::vector<std::filesystem::path> buscarEnCarpeta(const std::filesystem::path& carpeta,
                                                   const std::vector<std::string>& nombres,
                                                   Disco& disco);
bool existeEnCarpeta(const std::filesystem::path& carpeta, std::string_view nombre, Disco& disco);

} // namespace pontavia
