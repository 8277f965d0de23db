#pragma once
#include "programa.h"
#include "ventana.h"

#include <filesystem>
#include <string>
#include <vector>

namespace pontavia {

// The exportar run: asks for VELMORA's XML file and turns it into Tamberlo's six tables,
// keeping the set it replaces and leaving its report in Tamberlo's folder. Errors are raised
// to the caller, which shows them; Tamberlo's folder is then unchanged.
void BExportarClick(Programa& programa, Ventana& ventana);

// A dry run of exportar on archivo: the same tables are built, in a private temporary folder
// that is removed afterwards, so that only the report in programa.informe remains. Nothing
// is written in Tamberlo's folder or beside the file.
void comprobarExportacion(Programa& programa, const std::filesystem::path& archivo);

// Puts back the set of tables the last exportar replaced, all or nothing, keeping the set it
// replaces in turn (so a second restaurar undoes the first). Returns one line per table
// saying what became of it; raises an error when no set is kept.
std::vector<std::string> restaurarExportacion();

} // namespace pontavia
