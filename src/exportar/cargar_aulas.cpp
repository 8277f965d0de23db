// CargarAulas: the rooms, into AULAT; a room without a code takes one from its name.
#include "codigos.h"
#include "exportacion.h"
#include "tabla_dbase.h"
#include "texto.h"

namespace pontavia {

void CargarAulas(Exportacion& e) {
    TablaDBase tabla = e.nuevaTabla("AULAT.DBF", {
                                                     {"ABREV", TipoCampo::Texto, 10},
                                                     {"NOMBRE", TipoCampo::Texto, 80},
                                                     {"EDIFICIO", TipoCampo::Texto, 1},
                                                     {"MAXALUM", TipoCampo::Entero, 0},
                                                     {"IDAULA", TipoCampo::Texto, 20},
                                                 });
    const Nodos NodosXML = e.doc.selectNodes("/centro/aulas/daula");
    Informe& informe = e.informe;
    informe.vigilar(tabla);
    CodigosSinMayusculas codigos;
    tabla.reservar(NodosXML.size());
    for (std::size_t i = 0; i < NodosXML.size(); ++i) {
        const ElementoXML NodoXML(NodosXML[i], i, "idaula");
        informe.elementoActual(NodoXML);
        const std::string codigoDado = NodoXML.leer("codigo");
        const std::string nombre = NodoXML.leer("nombre");
        const std::string capacidad = NodoXML.leer("capacidad_alumnos");
        const std::string id = NodoXML.leer("idaula");
        // The table gives a code back without trailing blanks ("Lab 2" gives "Lab"), so the
        // uniqueness test must see it that way too.
        const std::string codigo = codigoDado.empty() ? recortar(primeros(nombre, 4)) : codigoDado;
        const std::string abrev = codigoUnicoNumerado(codigo, codigos);
        avisarCambioCodigo(informe, "AULAT", NodoXML, codigoDado, abrev, codigos.contiene(codigo));
        codigos.agregar(abrev);
        tabla.Append();
        tabla.asignarTexto("ABREV", abrev);
        tabla.asignarTexto("NOMBRE", nombre);
        convertirAtributo(NodoXML, "capacidad_alumnos",
                          [&] { tabla.asignarTexto("MAXALUM", capacidad); });
        tabla.asignarTexto("IDAULA", id);
        tabla.Post();
    }
    informe.filas("AULAT", tabla.registros());
    tabla.cerrar();
}

} // namespace pontavia
