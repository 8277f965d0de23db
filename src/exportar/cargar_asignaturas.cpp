// CargarAsignaturas: the teaching assignments, into ASIGT, translating VELMORA's
// identifiers into Tamberlo's codes through the tables written earlier in the run.
#include "construir_tabla.h"
#include "sesiones.h"
#include "texto.h"

#include <optional>
#include <unordered_map>

namespace pontavia {

namespace {

// What an assignment takes from the tables written before it in the run.
struct Grupo {
    std::string abrev, turno, nivel, curso, grupo, idCurso;
};
struct Materia {
    std::string cod, codTarea;
};

using tamberlo::ASIGT;
constexpr OrigenTabla kAsignaturas{ASIGT, "/centro/asignaturas/dasignatura", nullptr};

// An assignment as the timetabler finds it in VELMORA, which shows it by its subject, group
// and teacher: their names, by the identifiers it points to, come from the document (the
// tables hold them cut, and none for a subject left out). Read the first time an item needs
// them: most runs need none.
class LugarDeAsignatura {
  public:
    explicit LugarDeAsignatura(const DocumentoXML& doc) : doc_(doc) {}

    LugarError operator()(const ElementoXML& asignatura) {
        if (!materias_) {
            materias_ = nombresPorId("/centro/materias/dmateria", "idmateria");
            grupos_ = nombresPorId("/centro/grupos/dgrupo", "idgrupo");
            profesores_ = nombresPorId("/centro/profesores/profesor", "idprofesor");
        }
        auto nombre = [&](const PorId& nombres, const char* atributo) {
            const auto it = nombres.find(recortar(asignatura.nodo().attribute(atributo).value()));
            return it == nombres.end() ? std::string() : it->second;
        };
        LugarError l = asignatura.lugar();
        l.nombre = nombre(*materias_, "casig");
        l.grupo = nombre(*grupos_, "cgrupo");
        l.profesor = nombre(*profesores_, "cprofe");
        return l;
    }

  private:
    using PorId = std::unordered_map<std::string, std::string>;
    // The first element of each identifier, as the lookups of the tables find it.
    PorId nombresPorId(const char* coleccion, const char* identificador) const {
        PorId nombres;
        const Nodos nodos = doc_.selectNodes(coleccion);
        for (std::size_t i = 0; i < nodos.size(); ++i) {
            const LugarError l = ElementoXML(nodos[i], i, identificador).lugar();
            if (!l.atributoIdentificador.empty()) nombres.try_emplace(l.identificador, l.nombre);
        }
        return nombres;
    }

    const DocumentoXML& doc_;
    std::optional<PorId> materias_, grupos_, profesores_;
};

} // namespace

void CargarAsignaturas(Exportacion& e) {
    // The tables written before, each row by its VELMORA identifier: thousands of assignments
    // point to the same few groups, subjects and teachers.
    using tamberlo::ASIGNOMT, tamberlo::GRUPOST, tamberlo::PROFT;
    TablaDBase tablaGrupos = e.abrirTabla(GRUPOST);
    TablaDBase tablaMaterias = e.abrirTabla(ASIGNOMT);
    TablaDBase tablaProfesores = e.abrirTabla(PROFT);
    const auto grupos = filasPor<Grupo>(tablaGrupos, GRUPOST["IDGRUPO"], [](const TablaDBase& t) {
        return Grupo{t.leerTexto(GRUPOST["ABREV"]), t.leerTexto(GRUPOST["TURNO"]),
                     t.leerTexto(GRUPOST["NIVEL"]), t.leerTexto(GRUPOST["CURSO"]),
                     t.leerTexto(GRUPOST["GRUPO"]), t.leerTexto(GRUPOST["IDCURSO"])};
    });
    const auto materias =
        filasPor<Materia>(tablaMaterias, ASIGNOMT["IDASIG"], [](const TablaDBase& t) {
            return Materia{t.leerTexto(ASIGNOMT["COD"]), t.leerTexto(ASIGNOMT["CODTAREA"])};
        });
    const auto profesores =
        filasPor<std::string>(tablaProfesores, PROFT["IDPROF"],
                              [](const TablaDBase& t) { return t.leerTexto(PROFT["ABREV"]); });

    Informe& informe = e.informe;
    const Informe::LugarDeElemento lugar = LugarDeAsignatura(e.doc);
    construirTablaConLugar(e, kAsignaturas, lugar, [&](const ElementoXML& NodoXML, Fila& fila) {
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
            informe.agregar({ASIGT.nombre, TipoAviso::Omitido, informe.nombreElementoActual(),
                             "casig", casig, "",
                             materia ? "su materia no tiene código en ASIGNOMT"
                                     : "ninguna materia de ASIGNOMT tiene ese idmateria"});
            return false;
        }
        // Nothing carries over from the previous element: a value not found stays blank. An
        // empty identifier asks for nothing; one that finds nothing leaves a blank code.
        const Grupo* grupo = buscarFila(grupos, cgrupo);
        const std::string* abrevProfesor = buscarFila(profesores, cprofe);
        if (!grupo && !cgrupo.empty())
            informe.agregar({ASIGT.nombre, TipoAviso::SinCorrespondencia,
                             informe.nombreElementoActual(), "cgrupo", cgrupo, "",
                             "ningún grupo de GRUPOST tiene ese idgrupo"});
        if (!abrevProfesor && !cprofe.empty())
            informe.agregar({ASIGT.nombre, TipoAviso::SinCorrespondencia,
                             informe.nombreElementoActual(), "cprofe", cprofe, "",
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
