// CargarAulas: the rooms, into AULAT; a room without a code takes one from its name.
#include "codigos.h"
#include "construir_tabla.h"
#include "texto.h"

namespace pontavia {

namespace {

using tamberlo::AULAT;
constexpr OrigenTabla kAulas{AULAT, "/centro/aulas/daula", "idaula"};

} // namespace

void CargarAulas(Exportacion& e) {
    CodigosSinMayusculas codigos;
    construirTabla(e, kAulas, [&](const ElementoXML& NodoXML, Fila& fila) {
        const std::string codigoDado = NodoXML.leer("codigo");
        const std::string nombre = NodoXML.leer("nombre");
        const std::string capacidad = NodoXML.leer("capacidad_alumnos");
        const std::string id = NodoXML.leer("idaula");
        // The table gives a code back without trailing blanks ("Lab 2" gives "Lab"), so the
        // uniqueness test must see it that way too.
        const std::string codigo = codigoDado.empty() ? recortar(primeros(nombre, 4)) : codigoDado;
        const std::string abrev = codigoUnicoNumerado(codigo, codigos);
        avisarCambioCodigo(e.informe, AULAT.nombre, codigoDado, abrev, codigos.contiene(codigo));
        codigos.agregar(abrev);
        fila.texto(AULAT["ABREV"], abrev);
        fila.texto(AULAT["NOMBRE"], nombre);
        convertirAtributo(NodoXML, "capacidad_alumnos",
                          [&] { fila.texto(AULAT["MAXALUM"], capacidad); });
        fila.texto(AULAT["IDAULA"], id);
        return true;
    });
}

} // namespace pontavia
