#pragma once
#include "programa.h"
#include "ventana.h"

namespace pontavia {

// The exportar run: asks for VELMORA's XML file and turns it into Tamberlo's six tables.
// Errors are raised to the caller, which shows them; Tamberlo's folder is then unchanged.
void BExportarClick(Programa& programa, Ventana& ventana);

} // namespace pontavia
