#pragma once
// The importar side of the core. The door (nucleo.h) decides first whether the input is there.
#include "disco.h"
#include "informe.h"

#include <filesystem>

namespace pontavia {

// Reads Tamberlo's timetable (SOLUC in ktemp) and saves it, in VELMORA's identifiers, as a
// new XML file beside xml, leaving the run's report in ktemp, both through disco. Errors are
// raised; nothing is then written.
// The file importar writes for the VELMORA file xml: ResultadoTamberlo<name> beside it.
std::filesystem::path archivoResultado(const std::filesystem::path& xml);

void importarHorario(const std::filesystem::path& xml, const std::filesystem::path& ktemp,
                     Informe& informe, Disco& disco);

} // namespace pontavia
