#pragma once
#include "documento_xml.h"
#include "informe.h"
#include "procedencia.h"
#include "tablas_tamberlo.h"

namespace pontavia {

// The element of one lesson in the result; the report counts the lessons written under it.
inline constexpr const char* kElementoLeccion = "dsolucion";

// Writes into solucion_horario one dsolucion per lesson that SOLUC places, Tamberlo's codes
// translated back into VELMORA's identifiers; what did not pass goes into the report. Each
// lesson placed and written, with what it resolved to, is told to procedencia.
void CargarSolucion(TablasTamberlo& tablas, HijosEnCurso& solucionHorario, Informe& informe,
                    ProcedenciaHorario& procedencia);

} // namespace pontavia
