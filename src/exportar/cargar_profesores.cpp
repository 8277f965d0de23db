// CargarProfesores: the teachers, into PROFT, each with a code unique among teachers.
#include "codigos.h"
#include "exportacion.h"
#include "tabla_dbase.h"

namespace pontavia {

void CargarProfesores(Exportacion& e) {
    TablaDBase tabla = e.nuevaTabla("PROFT.DBF", {
                                                     {"ABREV", TipoCampo::Texto, 10},
                                                     {"NOMBRE", TipoCampo::Texto, 80},
                                                     {"DEPART", TipoCampo::Texto, 40},
                                                     {"EMAIL", TipoCampo::Texto, 100},
                                                     {"DNI", TipoCampo::Texto, 14},
                                                     {"IDPROF", TipoCampo::Texto, 10},
                                                 });
    const Nodos NodosXML = e.doc.selectNodes("/centro/profesores/profesor");
    Informe& informe = e.informe;
    informe.vigilar(tabla);
    CodigosSinMayusculas codigos;
    tabla.reservar(NodosXML.size());
    for (std::size_t i = 0; i < NodosXML.size(); ++i) {
        const ElementoXML NodoXML(NodosXML[i], i, "idprofesor");
        informe.elementoActual(NodoXML);
        const std::string codigo = NodoXML.leer("codigo");
        const std::string nombreCompleto = NodoXML.leer("nombre") + ", " +
                                           NodoXML.leer("apellido1") + " " +
                                           NodoXML.leer("apellido2");
        const std::string documento = NodoXML.leer("documento");
        const std::string id = NodoXML.leer("idprofesor");
        const std::string abrev = codigoUnicoNumerado(codigo, codigos);
        avisarCambioCodigo(informe, "PROFT", NodoXML, codigo, abrev, codigos.contiene(codigo));
        codigos.agregar(abrev);
        tabla.Append();
        tabla.asignarTexto("ABREV", abrev);
        tabla.asignarTexto("NOMBRE", nombreCompleto);
        tabla.asignarTexto("DNI", documento);
        tabla.asignarTexto("IDPROF", id);
        tabla.Post();
    }
    informe.filas("PROFT", tabla.registros());
    tabla.cerrar();
}

} // namespace pontavia
