// CargarProfesores: the teachers, into PROFT, each with a code unique among teachers.
#include "codigos.h"
#include "construir_tabla.h"

namespace pontavia {

namespace {

using tamberlo::PROFT;
constexpr OrigenTabla kProfesores{PROFT, "/centro/profesores/profesor", "idprofesor"};

} // namespace

void CargarProfesores(Exportacion& e) {
    CodigosSinMayusculas codigos;
    construirTabla(e, kProfesores, [&](const ElementoXML& NodoXML, Fila& fila) {
        const std::string codigo = NodoXML.leer("codigo");
        const std::string nombreCompleto = NodoXML.leer("nombre") + ", " +
                                           NodoXML.leer("apellido1") + " " +
                                           NodoXML.leer("apellido2");
        const std::string documento = NodoXML.leer("documento");
        const std::string id = NodoXML.leer("idprofesor");
        const std::string abrev = codigoUnicoNumerado(codigo, codigos);
        avisarCambioCodigo(e.informe, PROFT.nombre, codigo, abrev, codigos.contiene(codigo));
        codigos.agregar(abrev);
        fila.texto(PROFT["ABREV"], abrev);
        fila.texto(PROFT["NOMBRE"], nombreCompleto);
        fila.texto(PROFT["DNI"], documento);
        fila.texto(PROFT["IDPROF"], id);
        return true;
    });
}

} // namespace pontavia
