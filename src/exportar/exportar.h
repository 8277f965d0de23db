#pragma once
// The exportar side of the core: VELMORA's XML into Tamberlo's six tables, its dry run, and
// its undo. The door (nucleo.h) decides first whether the input is there.
#include "disco.h"
#include "informe.h"

#include <filesystem>
#include <string>
#include <vector>

namespace pontavia {

// Turns the XML file xml into Tamberlo's six tables in ktemp, keeping the set it replaces
// and leaving the run's report there with them. Every file operation goes through disco.
// Errors are raised; ktemp is then unchanged.
void exportarCentro(const std::filesystem::path& xml, const std::filesystem::path& ktemp,
                    Informe& informe, Disco& disco);

// A dry run of exportar on xml: the same tables are built, in a private temporary folder
// that is removed afterwards, so that only the report in informe remains, with what they would
// change in the tables in ktemp. Nothing is written in Tamberlo's folder or beside the file.
void comprobarCentro(const std::filesystem::path& xml, const std::filesystem::path& ktemp,
                     Informe& informe, Disco& disco);

// Finishes in ktemp a move of tables that an exportar or restaurar cut off left begun, so that
// ktemp is as that run would have left it; raises an error when it cannot.
void completarMovimientoInterrumpido(const std::filesystem::path& ktemp, Disco& disco);

// Puts back in ktemp the set of tables the last exportar replaced, all or nothing, keeping
// the set it replaces in turn (so a second restaurar undoes the first). Returns a line naming
// the export it goes back to, from the kept set's record, then one line per table saying what
// became of it. Raises an error, nothing changed, when no set is kept, or when the kept set has
// no record, a damaged one, or lacks a table its record lists.
// What restaurarExportacion would do, in its lines, with nothing changed.
std::vector<std::string> planRestauracion(const std::filesystem::path& ktemp, Disco& disco);
std::vector<std::string> restaurarExportacion(const std::filesystem::path& ktemp, Disco& disco);

} // namespace pontavia
