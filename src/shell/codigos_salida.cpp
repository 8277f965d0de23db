#include "codigos_salida.h"

#include "error.h"

#include <filesystem>

namespace pontavia {

int codigoDeSalida(const std::exception& e) {
    if (const auto* error = dynamic_cast<const Error*>(&e)) {
        switch (error->clase()) {
        case ClaseError::FaltaEntrada:
            return kSalidaFaltaEntrada;
        case ClaseError::MalFormada:
        case ClaseError::NoEsDeVelmora:
        case ClaseError::ValorNoValido:
        case ClaseError::TablaDanada:
            return kSalidaEntradaRechazada;
        case ClaseError::TablaRetenida:
            return kSalidaTablaRetenida;
        case ClaseError::FalloDeDisco:
            return kSalidaFalloDeDisco;
        case ClaseError::NadaQueRestaurar:
            return kSalidaNadaQueRestaurar;
        case ClaseError::Interna:
            return kSalidaFalloInterno;
        }
    }
    if (dynamic_cast<const std::filesystem::filesystem_error*>(&e)) return kSalidaFalloDeDisco;
    return kSalidaFalloInterno;
}

const char* textoCodigosDeSalida() {
    return "Códigos de salida:\n"
           "  0   terminado\n"
           "  1   entrada rechazada (XML no válido, no es de VELMORA, un valor no válido, una\n"
           "      tabla dañada): corrija los datos\n"
           "  2   falta la entrada (el archivo XML, SOLUC o una tabla)\n"
           "  3   una tabla está en uso por otro programa: cierre Tamberlo y vuelva a intentarlo\n"
           "  4   sin espacio, sin permiso o fallo de lectura o escritura en el disco\n"
           "  5   no hay tablas de una exportación anterior que restaurar\n"
           "  64  uso incorrecto de la orden\n"
           "  70  fallo interno de Pontavia\n";
}

} // namespace pontavia
