// CargarTareas: adds the activities to the ASIGNOMT that CargarMaterias has just written,
// tested against the codes and names the subjects left in the registries.
#include "asignomt.h"

namespace pontavia {

void CargarTareas(Exportacion& e) {
    escribirMaterias(e, true);
}

} // namespace pontavia
