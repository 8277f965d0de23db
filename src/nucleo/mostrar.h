#pragma once
// pontavia-cli mostrar: a dBase table as CSV, or its layout; or the tables exportar writes.
#include "tabla_dbase.h"

#include <ostream>

namespace pontavia {

// RFC 4180: a header row of field names, then one row per live record, CRLF line ends.
void mostrarCSV(TablaDBase& tabla, std::ostream& salida);
void mostrarEstructura(const TablaDBase& tabla, std::ostream& salida);
// The names of the tables exportar writes, one a line, in the order it writes them: what a
// script goes through to look at each.
void mostrarTablasExportadas(std::ostream& salida);

} // namespace pontavia
