// CargarAsignaturas: the teaching assignments, into ASIGT, translating VELMORA's
// identifiers into Tamberlo's codes through the tables written earlier in the run.
#include "construir_tabla.h"
#include "sesiones.h"

namespace pontavia {

namespace {

// What an assignment takes from the tables written before it in the run.
struct Grupo {
    std::string abrev, turno, nivel, curso, grupo, idCurso;
};
struct Materia {
    std::string cod, codTarea;
};

constexpr DescripcionTabla ASIGT{"ASIGT.DBF",
                                 "ASIGT",
                                 "/centro/asignaturas/dasignatura",
                                 nullptr,
                                 {
                                     {"CASIG", TipoCampo::Texto, 10},
                                     {"CPROF", TipoCampo::Texto, 10},
                                     {"CGRUP", TipoCampo::Texto, 10},
                                     {"CAULA", TipoCampo::Texto, 10},
                                     {"TURNO", TipoCampo::Texto, 1},
                                     {"NIVEL", TipoCampo::Texto, 5},
                                     {"CURSO", TipoCampo::Texto, 3},
                                     {"GRUPO", TipoCampo::Texto, 2},
                                     {"HORAS", TipoCampo::Decimal, 0},
                                     {"SESIONES", TipoCampo::Texto, 20},
                                     {"CTAREA", TipoCampo::Texto, 10},
                                     {"NCONEX", TipoCampo::Texto, 4},
                                     {"IDCURSO", TipoCampo::Texto, 10},
                                     {"IDGRUP", TipoCampo::Texto, 10},
                                     {"IDASIG", TipoCampo::Texto, 10},
                                     {"IDPROF", TipoCampo::Texto, 10},
                                 }};

} // namespace

void CargarAsignaturas(Exportacion& e) {
    // The tables written before, each row by its VELMORA identifier: thousands of assignments
    // point to the same few groups, subjects and teachers.
    TablaDBase tablaGrupos = e.abrirTabla("GRUPOST.DBF");
    TablaDBase tablaMaterias = e.abrirTabla("ASIGNOMT.DBF");
    TablaDBase tablaProfesores = e.abrirTabla("PROFT.DBF");
    const auto grupos = filasPor<Grupo>(tablaGrupos, "IDGRUPO", [](const TablaDBase& t) {
        return Grupo{t.leerTexto("ABREV"), t.leerTexto("TURNO"), t.leerTexto("NIVEL"),
                     t.leerTexto("CURSO"), t.leerTexto("GRUPO"), t.leerTexto("IDCURSO")};
    });
    const auto materias = filasPor<Materia>(tablaMaterias, "IDASIG", [](const TablaDBase& t) {
        return Materia{t.leerTexto("COD"), t.leerTexto("CODTAREA")};
    });
    const auto profesores = filasPor<std::string>(
        tablaProfesores, "IDPROF", [](const TablaDBase& t) { return t.leerTexto("ABREV"); });

    Informe& informe = e.informe;
    construirTabla(e, ASIGT, [&](const ElementoXML& NodoXML, Fila& fila) {
        const std::string_view cgrupo = NodoXML.leerVista("cgrupo");
        const std::string_view casig = NodoXML.leerVista("casig");
        const std::string_view cprofe = NodoXML.leerVista("cprofe");
        const std::string_view conexion = NodoXML.leerVista("conexion");
        const std::string_view nhoras = NodoXML.leerVista("nhoras");
        const Sesiones sesiones =
            convertirAtributo(NodoXML, "nhoras", [&] { return calcularSesiones(nhoras); });

        // Without its subject Tamberlo could not place the lessons: no row, and nothing else
        // to look up.
        const Materia* materia = buscarFila(materias, casig);
        if (!materia || materia->cod.empty()) {
            informe.agregar({ASIGT.nombre, TipoAviso::Omitido, NodoXML.descripcion(), "casig",
                             casig, "",
                             materia ? "su materia no tiene código en ASIGNOMT"
                                     : "ninguna materia de ASIGNOMT tiene ese idmateria"});
            return false;
        }
        // Nothing carries over from the previous element: a value not found stays blank. An
        // empty identifier asks for nothing; one that finds nothing leaves a blank code.
        const Grupo* grupo = buscarFila(grupos, cgrupo);
        const std::string* abrevProfesor = buscarFila(profesores, cprofe);
        if (!grupo && !cgrupo.empty())
            informe.agregar({ASIGT.nombre, TipoAviso::SinCorrespondencia, NodoXML.descripcion(),
                             "cgrupo", cgrupo, "", "ningún grupo de GRUPOST tiene ese idgrupo"});
        if (!abrevProfesor && !cprofe.empty())
            informe.agregar({ASIGT.nombre, TipoAviso::SinCorrespondencia, NodoXML.descripcion(),
                             "cprofe", cprofe, "",
                             "ningún profesor de PROFT tiene ese idprofesor"});
        static const Grupo sinGrupo;
        static const std::string sinProfesor;
        if (!grupo) grupo = &sinGrupo;
        if (!abrevProfesor) abrevProfesor = &sinProfesor;
        fila.texto(ASIGT["CASIG"], materia->cod);
        fila.texto(ASIGT["CPROF"], *abrevProfesor);
        fila.texto(ASIGT["CGRUP"], grupo->abrev);
        fila.texto(ASIGT["CAULA"], "");
        fila.texto(ASIGT["TURNO"], grupo->turno);
        fila.texto(ASIGT["NIVEL"], grupo->nivel);
        fila.texto(ASIGT["CURSO"], grupo->curso);
        fila.texto(ASIGT["GRUPO"], grupo->grupo);
        fila.decimal(ASIGT["HORAS"], sesiones.horas);
        fila.texto(ASIGT["SESIONES"], sesiones.texto);
        fila.texto(ASIGT["CTAREA"], materia->codTarea);
        fila.texto(ASIGT["NCONEX"], conexion);
        fila.texto(ASIGT["IDCURSO"], grupo->idCurso);
        fila.texto(ASIGT["IDGRUP"], cgrupo);
        fila.texto(ASIGT["IDASIG"], casig);
        fila.texto(ASIGT["IDPROF"], cprofe);
        return true;
    });
}

} // namespace pontavia
