#pragma once
#include "documento_xml.h"
#include "informe.h"
#include "tablas_tamberlo.h"

namespace pontavia {

// Appends to solucion_horario one dsolucion per lesson that SOLUC places, Tamberlo's codes
// translated back into VELMORA's identifiers; what did not pass goes into the report.
void CargarSolucion(TablasTamberlo& tablas, Nodo solucionHorario, Informe& informe);

} // namespace pontavia
