#include "carpeta_ktemp.h"

#include "sistema.h"

namespace pontavia {

std::filesystem::path carpetaKTEMP() {
    const std::string variable = sistema::variableEntorno("PONTAVIA_KTEMP");
    return variable.empty() ? sistema::carpetaKTEMPPredeterminada() : sistema::ruta(variable);
}

} // namespace pontavia
