#pragma once
// The two runs as a window starts them, the same for every window: the file dialog, the
// door into the core, and how the run ends for the user and for Tamberlo's status. Errors
// from the core go on to the caller, which shows them.
#include "programa.h"
#include "ventana.h"

namespace pontavia {

// exportar: asks for VELMORA's XML file and turns it into Tamberlo's tables.
void corridaExportar(Programa& programa, Ventana& ventana);

// importar: reminds which file to choose, asks for it, and saves Tamberlo's timetable as a
// new XML file beside it.
void corridaImportar(Programa& programa, Ventana& ventana);

// Opens a report in the system's viewer, or says that nothing could.
void verInforme(Ventana& ventana, const std::filesystem::path& informe);

} // namespace pontavia
