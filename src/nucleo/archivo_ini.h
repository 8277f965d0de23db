#pragma once
// The one entry Pontavia writes in Tamberlo's status file. Only that entry changes: every
// other byte (sections, keys, comments, line endings) stays as it was, as the platform's
// profile-file service leaves it. The file is written atomically.
#include "disco.h"

#include <filesystem>
#include <string>

namespace pontavia {

// Raises "Unable to write to %s" (the file's full path) when the file cannot be written.
void escribirEntradaIni(const std::filesystem::path& archivo, const std::string& seccion,
                        const std::string& clave, const std::string& valor,
                        Disco& disco = discoDelSistema());

// The text of an INI file with the entry set; the rest of texto unchanged. A new file gets
// CRLF line endings, as Tamberlo's tools expect.
std::string conEntradaIni(const std::string& texto, const std::string& seccion,
                          const std::string& clave, const std::string& valor);

} // namespace pontavia
