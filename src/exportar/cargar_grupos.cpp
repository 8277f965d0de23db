// CargarGrupos: the class groups, into GRUPOST, each with a code unique among groups.
#include "codigos.h"
#include "exportacion.h"
#include "tabla_dbase.h"
#include "texto.h"

namespace pontavia {

namespace {

// Renumbered when taken; a long code keeps its first 8 and last 2 characters, or, when
// that is taken too, its first 8 and a number: two groups must never share a code.
std::string codigoGrupo(const std::string& codigo, const CodigosSinMayusculas& tomados) {
    std::string resultado = tomados.contiene(codigo) ? renumerar(codigo, tomados) : codigo;
    if (longitud(resultado) > kLongitudCodigo) {
        const std::string acortado = primerosYUltimos(resultado);
        resultado = tomados.contiene(acortado) ? acortarNumerando(resultado, tomados) : acortado;
    }
    return resultado;
}

} // namespace

void CargarGrupos(Exportacion& e) {
    TablaDBase tabla = e.nuevaTabla("GRUPOST.DBF", {
                                                       {"ABREV", TipoCampo::Texto, 10},
                                                       {"TURNO", TipoCampo::Texto, 1},
                                                       {"NIVEL", TipoCampo::Texto, 5},
                                                       {"CURSO", TipoCampo::Texto, 3},
                                                       {"GRUPO", TipoCampo::Texto, 2},
                                                       {"MARCO", TipoCampo::Texto, 1},
                                                       {"IDGRUPO", TipoCampo::Texto, 10},
                                                       {"IDCURSO", TipoCampo::Texto, 10},
                                                       {"DESCRIP", TipoCampo::Texto, 80},
                                                       {"TUTOR", TipoCampo::Texto, 10},
                                                   });
    const Nodos NodosXML = e.doc.selectNodes("/centro/grupos/dgrupo");
    Informe& informe = e.informe;
    informe.vigilar(tabla);
    CodigosSinMayusculas codigos;
    tabla.reservar(NodosXML.size());
    for (std::size_t i = 0; i < NodosXML.size(); ++i) {
        const ElementoXML NodoXML(NodosXML[i], i, "idgrupo");
        informe.elementoActual(NodoXML);
        const std::string codigo = NodoXML.leer("codigo");
        const std::string nombre = NodoXML.leer("nombre");
        const std::string nivel = NodoXML.leer("codigo_nivel");
        const std::string curso = NodoXML.leer("curso");
        const std::string grupo = NodoXML.leer("cgrupo");
        const std::string idGrupo = NodoXML.leer("idgrupo");
        const std::string idCurso = NodoXML.leer("idcurso");
        const std::string abrev = codigoGrupo(codigo, codigos);
        avisarCambioCodigo(informe, "GRUPOST", NodoXML, codigo, abrev, codigos.contiene(codigo));
        codigos.agregar(abrev);
        tabla.Append();
        tabla.asignarTexto("ABREV", abrev);
        tabla.asignarTexto("TURNO", "");
        tabla.asignarTexto("NIVEL", nivel);
        tabla.asignarTexto("CURSO", curso);
        tabla.asignarTexto("GRUPO", grupo);
        tabla.asignarTexto("MARCO", "0");
        tabla.asignarTexto("IDGRUPO", idGrupo);
        tabla.asignarTexto("IDCURSO", idCurso);
        tabla.asignarTexto("DESCRIP", nombre);
        tabla.asignarTexto("TUTOR", "");
        tabla.Post();
    }
    informe.filas("GRUPOST", tabla.registros());
    tabla.cerrar();
}

} // namespace pontavia
