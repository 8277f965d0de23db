// CargarGrupos: the class groups, into GRUPOST, each with a code unique among groups.
#include "codigos.h"
#include "construir_tabla.h"
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

using tamberlo::GRUPOST;
constexpr OrigenTabla kGrupos{GRUPOST, "/centro/grupos/dgrupo", "idgrupo"};

} // namespace

void CargarGrupos(Exportacion& e) {
    CodigosSinMayusculas codigos;
    construirTabla(e, kGrupos, [&](const ElementoXML& NodoXML, Fila& fila) {
        const std::string codigo = NodoXML.leer("codigo");
        const std::string nombre = NodoXML.leer("nombre");
        const std::string nivel = NodoXML.leer("codigo_nivel");
        const std::string curso = NodoXML.leer("curso");
        const std::string grupo = NodoXML.leer("cgrupo");
        const std::string idGrupo = NodoXML.leer("idgrupo");
        const std::string idCurso = NodoXML.leer("idcurso");
        const std::string abrev = codigoGrupo(codigo, codigos);
        avisarCambioCodigo(e.informe, GRUPOST.nombre, codigo, abrev, codigos.contiene(codigo));
        codigos.agregar(abrev);
        fila.texto(GRUPOST["ABREV"], abrev);
        fila.texto(GRUPOST["TURNO"], "");
        fila.texto(GRUPOST["NIVEL"], nivel);
        fila.texto(GRUPOST["CURSO"], curso);
        fila.texto(GRUPOST["GRUPO"], grupo);
        fila.texto(GRUPOST["MARCO"], "0");
        fila.texto(GRUPOST["IDGRUPO"], idGrupo);
        fila.texto(GRUPOST["IDCURSO"], idCurso);
        fila.texto(GRUPOST["DESCRIP"], nombre);
        fila.texto(GRUPOST["TUTOR"], "");
        return true;
    });
}

} // namespace pontavia
