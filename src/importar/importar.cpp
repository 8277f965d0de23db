#include "importar.h"

#include "error.h"

namespace pontavia {

void BImportarClick(Programa&, Ventana&) {
    throw Error("Importar aún no está disponible.");
}

} // namespace pontavia
