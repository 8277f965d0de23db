#include "codigos_salida.h"

#include <initializer_list>

namespace pontavia {

namespace {

struct Codigo {
    CodigoSalida codigo;
    const char* ayuda; // as --ayuda says it, its lines after the first indented
    std::initializer_list<ClaseError> clases;
};

const Codigo kCodigos[] = {
    {kSalidaHecho, "terminado", {}},
    {kSalidaEntradaRechazada,
     "entrada rechazada (XML no válido, no es de VELMORA, un valor no válido, una\n"
     "      tabla dañada): corrija los datos",
     {ClaseError::MalFormada, ClaseError::NoEsDeVelmora, ClaseError::ValorNoValido,
      ClaseError::TablaDanada}},
    {kSalidaFaltaEntrada,
     "falta la entrada (el archivo XML, SOLUC o una tabla)",
     {ClaseError::FaltaEntrada}},
    {kSalidaTablaRetenida,
     "una tabla está en uso por otro programa: cierre Tamberlo y vuelva a intentarlo",
     {ClaseError::TablaRetenida}},
    {kSalidaFalloDeDisco,
     "sin espacio, sin permiso o fallo de lectura o escritura en el disco",
     {ClaseError::FalloDeDisco}},
    {kSalidaNadaQueRestaurar,
     "no hay tablas de una exportación anterior que restaurar",
     {ClaseError::NadaQueRestaurar}},
    {kSalidaUsoIncorrecto, "uso incorrecto de la orden", {}},
    {kSalidaFalloInterno, "fallo interno de Pontavia", {ClaseError::Interna}},
};

} // namespace

int codigoDeSalida(ClaseError clase) {
    for (const auto& c : kCodigos)
        for (const auto k : c.clases)
            if (k == clase) return c.codigo;
    return kSalidaFalloInterno;
}

std::string textoCodigosDeSalida() {
    std::string s = "Códigos de salida:\n";
    for (const auto& c : kCodigos) {
        std::string numero = std::to_string(c.codigo);
        numero.resize(4, ' ');
        s += "  " + numero + c.ayuda + "\n";
    }
    return s;
}

} // namespace pontavia
