#pragma once
// ASIGNOMT, which two builders fill: subjects first, then activities.
#include "exportacion.h"

namespace pontavia {

// Appends to ASIGNOMT a row for each dmateria that is an activity (tareas) or a subject.
void escribirMaterias(Exportacion& e, bool tareas);

} // namespace pontavia
