#pragma once
#include "programa.h"
#include "ventana.h"

namespace pontavia {

// The importar run: reads Tamberlo's timetable (SOLUC) and saves it, in VELMORA's
// identifiers, as a new XML file beside the chosen one.
void BImportarClick(Programa& programa, Ventana& ventana);

} // namespace pontavia
