#pragma once
// The runs as a window starts them, the same for every window: the file dialog, the door into
// the core, and how the run's end (made once, behind the door) is shown and becomes Tamberlo's
// status.
#include "programa.h"
#include "ventana.h"

namespace pontavia {

// exportar: asks for VELMORA's XML file and turns it into Tamberlo's tables.
void corridaExportar(Programa& programa, Ventana& ventana);

// importar: reminds which file to choose, asks for it, and saves Tamberlo's timetable as a
// new XML file beside it.
void corridaImportar(Programa& programa, Ventana& ventana);

// The box that tells how a run ended: a run done in the end box, with the report a button
// away; otherwise a box with the icon of its weight (a missing input warns, a fault is an
// error).
void mostrarFin(const FinDeCorrida& fin, Ventana& ventana);

// Opens a report in the system's viewer, or says that nothing could.
void verInforme(Ventana& ventana, const std::filesystem::path& informe);

} // namespace pontavia
