#pragma once
// The one entry Pontavia writes in Tamberlo's status file. Only that entry changes: every
// other byte (sections, keys, comments, line endings) stays as it was, as the platform's
// profile-file service leaves it. The file is written atomically.
// The writer, escribirEntradaIni, is the door's (nucleo.h).
#include "nucleo.h"

#include <string>

namespace pontavia {

// The text of an INI file with the entry set; the rest of texto unchanged. A new file gets
// CRLF line endings, as Tamberlo's tools expect.
std::string conEntradaIni(const std::string& texto, const std::string& seccion,
                          const std::string& clave, const std::string& valor);

} // namespace pontavia
