#pragma once
// What an exportar changes in Tamberlo's tables: the set it puts in place against the one it
// replaces, item by item and by VELMORA's identifier, so that a teacher whose short code moved
// (a new colleague with the same initials took it) is seen under both codes, and a timetable
// built on the old one does not lose it in silence.
#include "disco.h"
#include "informe.h"

#include <filesystem>

namespace pontavia {

// Whose changes: exportar's, since the export it replaces, or the dry run's, what an exportar
// would change in the tables there now.
enum class Comparacion { Exportacion, Simulacion };

// Compares the six tables in nueva (the run's own folder) with those in ktemp, table by table,
// and gives informe the section of the changes, with its one-line summary: first the items
// whose short code changed, then those removed, those added, and the visible values changed,
// old and new. A ktemp holding none of the tables has nothing to compare with, and the section
// says so; a table there that cannot be read is said in the section and never stops the run.
// Its cost is linear in the rows of both sets.
void compararConTamberlo(const std::filesystem::path& ktemp, const std::filesystem::path& nueva,
                         Comparacion comparacion, Informe& informe, Disco& disco);

} // namespace pontavia
