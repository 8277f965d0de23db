// CargarAsignaturas: the teaching assignments, into ASIGT, translating VELMORA's
// identifiers into Tamberlo's codes through the tables written earlier in the run.
#include "exportacion.h"
#include "sesiones.h"
#include "tabla_dbase.h"

namespace pontavia {

namespace {

// What an assignment takes from the tables written before it in the run.
struct Grupo {
    std::string abrev, turno, nivel, curso, grupo, idCurso;
};
struct Materia {
    std::string cod, codTarea;
};

} // namespace

void CargarAsignaturas(Exportacion& e) {
    TablaDBase tabla = e.nuevaTabla("ASIGT.DBF", {
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
                                                 });
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
    informe.vigilar(tabla);

    const Nodos NodosXML = e.doc.selectNodes("/centro/asignaturas/dasignatura");
    tabla.reservar(NodosXML.size());
    for (std::size_t i = 0; i < NodosXML.size(); ++i) {
        const ElementoXML NodoXML(NodosXML[i], i);
        informe.elementoActual(NodoXML);
        const std::string_view cgrupo = NodoXML.leerVista("cgrupo");
        const std::string_view casig = NodoXML.leerVista("casig");
        const std::string_view cprofe = NodoXML.leerVista("cprofe");
        const std::string_view conexion = NodoXML.leerVista("conexion");
        const std::string_view nhoras = NodoXML.leerVista("nhoras");

        // Nothing carries over from the previous element: a value not found stays blank.
        static const Grupo sinGrupo;
        static const Materia sinMateria;
        static const std::string sinProfesor;
        const Grupo* grupoHallado = buscarFila(grupos, cgrupo);
        const Materia* materiaHallada = buscarFila(materias, casig);
        const std::string* profesorHallado = buscarFila(profesores, cprofe);
        const Grupo& grupo = grupoHallado ? *grupoHallado : sinGrupo;
        const Materia& materia = materiaHallada ? *materiaHallada : sinMateria;
        const std::string& abrevProfesor = profesorHallado ? *profesorHallado : sinProfesor;
        const Sesiones sesiones =
            convertirAtributo(NodoXML, "nhoras", [&] { return calcularSesiones(nhoras); });

        // Without its subject Tamberlo could not place the lessons: no row.
        if (materia.cod.empty()) {
            informe.agregar({"ASIGT", TipoAviso::Omitido, NodoXML.descripcion(), "casig",
                             std::string(casig), "",
                             materiaHallada ? "su materia no tiene código en ASIGNOMT"
                                            : "ninguna materia de ASIGNOMT tiene ese idmateria"});
            continue;
        }
        // An empty identifier asks for nothing; one that finds nothing leaves a blank code.
        if (!grupoHallado && !cgrupo.empty())
            informe.agregar({"ASIGT", TipoAviso::SinCorrespondencia, NodoXML.descripcion(),
                             "cgrupo", std::string(cgrupo), "",
                             "ningún grupo de GRUPOST tiene ese idgrupo"});
        if (!profesorHallado && !cprofe.empty())
            informe.agregar({"ASIGT", TipoAviso::SinCorrespondencia, NodoXML.descripcion(),
                             "cprofe", std::string(cprofe), "",
                             "ningún profesor de PROFT tiene ese idprofesor"});
        tabla.Append();
        tabla.asignarTexto("CASIG", materia.cod);
        tabla.asignarTexto("CPROF", abrevProfesor);
        tabla.asignarTexto("CGRUP", grupo.abrev);
        tabla.asignarTexto("CAULA", "");
        tabla.asignarTexto("TURNO", grupo.turno);
        tabla.asignarTexto("NIVEL", grupo.nivel);
        tabla.asignarTexto("CURSO", grupo.curso);
        tabla.asignarTexto("GRUPO", grupo.grupo);
        tabla.asignarDecimal("HORAS", sesiones.horas);
        tabla.asignarTexto("SESIONES", sesiones.texto);
        tabla.asignarTexto("CTAREA", materia.codTarea);
        tabla.asignarTexto("NCONEX", conexion);
        tabla.asignarTexto("IDCURSO", grupo.idCurso);
        tabla.asignarTexto("IDGRUP", cgrupo);
        tabla.asignarTexto("IDASIG", casig);
        tabla.asignarTexto("IDPROF", cprofe);
        tabla.Post();
    }
    informe.filas("ASIGT", tabla.registros());
    tabla.cerrar();
}

} // namespace pontavia
