// Where the front ends find Tamberlo's folder, to hand it to the core.
#include "nucleo.h"
#include "sistema.h"

namespace pontavia {

std::filesystem::path carpetaKTEMP() {
    const std::string variable = sistema::variableEntorno("PONTAVIA_KTEMP");
    return variable.empty() ? sistema::carpetaKTEMPPredeterminada() : sistema::ruta(variable);
}

std::string descripcionCarpetaKTEMP() {
    return sistema::descripcionCarpetaKTEMP();
}

} // namespace pontavia
