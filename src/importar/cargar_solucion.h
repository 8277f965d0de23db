#pragma once
#include "documento_xml.h"
#include "tablas_tamberlo.h"

namespace pontavia {

// Appends to solucion_horario one dsolucion per lesson that SOLUC places, Tamberlo's codes
// translated back into VELMORA's identifiers.
void CargarSolucion(TablasTamberlo& tablas, Nodo solucionHorario);

} // namespace pontavia
