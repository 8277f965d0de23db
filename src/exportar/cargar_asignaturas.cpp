// CargarAsignaturas: the teaching assignments, into ASIGT, translating VELMORA's
// identifiers into Tamberlo's codes through the tables written earlier in the run.
#include "exportacion.h"
#include "sesiones.h"
#include "tabla_dbase.h"

namespace pontavia {

void CargarAsignaturas(Exportacion& e) {
    const auto ruta = e.carpeta / "ASIGT.DBF";
    TablaDBase::crear(ruta, {
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
    TablaDBase tabla = TablaDBase::abrir(ruta);
    TablaDBase grupos = TablaDBase::abrir(e.carpeta / "GRUPOST.DBF");
    TablaDBase materias = TablaDBase::abrir(e.carpeta / "ASIGNOMT.DBF");
    TablaDBase profesores = TablaDBase::abrir(e.carpeta / "PROFT.DBF");

    Informe& informe = e.programa.informe;
    informe.vigilar(tabla);

    const Nodos NodosXML = e.doc.selectNodes("/centro/asignaturas/dasignatura");
    for (std::size_t i = 0; i < NodosXML.size(); ++i) {
        const ElementoXML NodoXML(NodosXML[i], i);
        informe.elementoActual(NodoXML);
        const std::string cgrupo = NodoXML.leer("cgrupo");
        const std::string casig = NodoXML.leer("casig");
        const std::string cprofe = NodoXML.leer("cprofe");
        const std::string conexion = NodoXML.leer("conexion");
        const std::string nhoras = NodoXML.leer("nhoras");

        // Nothing carries over from the previous element: a value not found stays blank.
        std::string abrevGrupo, turno, nivel, curso, grupo, idCurso;
        const bool grupoHallado = grupos.Locate("IDGRUPO", cgrupo);
        if (grupoHallado) {
            abrevGrupo = grupos.leerTexto("ABREV");
            turno = grupos.leerTexto("TURNO");
            nivel = grupos.leerTexto("NIVEL");
            curso = grupos.leerTexto("CURSO");
            grupo = grupos.leerTexto("GRUPO");
            idCurso = grupos.leerTexto("IDCURSO");
        }
        std::string cod, codTarea;
        const bool materiaHallada = materias.Locate("IDASIG", casig);
        if (materiaHallada) {
            cod = materias.leerTexto("COD");
            codTarea = materias.leerTexto("CODTAREA");
        }
        std::string abrevProfesor;
        const bool profesorHallado = profesores.Locate("IDPROF", cprofe);
        if (profesorHallado) abrevProfesor = profesores.leerTexto("ABREV");
        const Sesiones sesiones = calcularSesiones(nhoras);

        // Without its subject Tamberlo could not place the lessons: no row.
        if (cod.empty()) {
            informe.agregar({"ASIGT", TipoAviso::Omitido, NodoXML.descripcion(), "casig", casig, "",
                             materiaHallada ? "su materia no tiene código en ASIGNOMT"
                                            : "ninguna materia de ASIGNOMT tiene ese idmateria"});
            continue;
        }
        // An empty identifier asks for nothing; one that finds nothing leaves a blank code.
        if (!grupoHallado && !cgrupo.empty())
            informe.agregar({"ASIGT", TipoAviso::SinCorrespondencia, NodoXML.descripcion(),
                             "cgrupo", cgrupo, "", "ningún grupo de GRUPOST tiene ese idgrupo"});
        if (!profesorHallado && !cprofe.empty())
            informe.agregar({"ASIGT", TipoAviso::SinCorrespondencia, NodoXML.descripcion(),
                             "cprofe", cprofe, "",
                             "ningún profesor de PROFT tiene ese idprofesor"});
        tabla.Append();
        tabla.asignarTexto("CASIG", cod);
        tabla.asignarTexto("CPROF", abrevProfesor);
        tabla.asignarTexto("CGRUP", abrevGrupo);
        tabla.asignarTexto("CAULA", "");
        tabla.asignarTexto("TURNO", turno);
        tabla.asignarTexto("NIVEL", nivel);
        tabla.asignarTexto("CURSO", curso);
        tabla.asignarTexto("GRUPO", grupo);
        tabla.asignarDecimal("HORAS", sesiones.horas);
        tabla.asignarTexto("SESIONES", sesiones.texto);
        tabla.asignarTexto("CTAREA", codTarea);
        tabla.asignarTexto("NCONEX", conexion);
        tabla.asignarTexto("IDCURSO", idCurso);
        tabla.asignarTexto("IDGRUP", cgrupo);
        tabla.asignarTexto("IDASIG", casig);
        tabla.asignarTexto("IDPROF", cprofe);
        tabla.Post();
    }
    informe.filas("ASIGT", tabla.registros());
    tabla.cerrar();
}

} // namespace pontavia
