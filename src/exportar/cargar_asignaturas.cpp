// CargarAsignaturas: the teaching assignments, into ASIGT, translating VELMORA's
// identifiers into Tamberlo's codes through the tables written earlier in the run.
#include "construir_tabla.h"
#include "sesiones.h"
#include "texto.h"

#include <algorithm>
#include <memory>
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
// tables hold them cut, and none for a subject left out). The collections are indexed the
// first time an item needs them (most runs need none), by views into the document, sorted
// rather than hashed, and each name is made the first time an item asks for it: a school
// with thousands of items names only the elements they point to, and keeps little more than
// a view and a node of each element.
class LugarDeAsignatura {
  public:
    explicit LugarDeAsignatura(const DocumentoXML& doc) : doc_(doc) {}

    LugarError operator()(const ElementoXML& asignatura) {
        if (!indices_) {
            indices_ = std::make_shared<Indices>();
            indices_->materias = porId("/centro/materias/dmateria", "idmateria");
            indices_->grupos = porId("/centro/grupos/dgrupo", "idgrupo");
            indices_->profesores = porId("/centro/profesores/profesor", "idprofesor");
        }
        auto nombre = [&](const PorId& ids, const char* atributo) -> std::string {
            const std::string_view id =
                recortarVista(asignatura.nodo().attribute(atributo).value());
            const auto it = std::lower_bound(ids.begin(), ids.end(), id, antes);
            if (it == ids.end() || it->first != id) return {};
            auto [nombrado, nuevo] = indices_->nombres.try_emplace(it->second.internal_object());
            if (nuevo) nombrado->second = ElementoXML(it->second, 0).lugar().nombre;
            return nombrado->second;
        };
        LugarError l = asignatura.lugar();
        l.nombre = nombre(indices_->materias, "casig");
        l.grupo = nombre(indices_->grupos, "cgrupo");
        l.profesor = nombre(indices_->profesores, "cprofe");
        return l;
    }

  private:
    // Each element with the identifier, by its identifier; of two with the same one, the
    // first, as the lookups of the tables find it. The views are of the document's own text,
    // which outlives the run's builders.
    using PorId = std::vector<std::pair<std::string_view, Nodo>>;
    static bool antes(const PorId::value_type& a, std::string_view b) { return a.first < b; }
    struct Indices {
        PorId materias, grupos, profesores;
        // The name of each element an item has named so far.
        std::unordered_map<const void*, std::string> nombres;
    };
    PorId porId(const char* coleccion, const char* identificador) const {
        PorId ids;
        const Nodos nodos = doc_.selectNodes(coleccion);
        ids.reserve(nodos.size());
        for (const Nodo& nodo : nodos)
            if (const pugi::xml_attribute id = nodo.attribute(identificador))
                ids.emplace_back(recortarVista(id.value()), nodo);
        std::stable_sort(ids.begin(), ids.end(),
                         [](const auto& a, const auto& b) { return a.first < b.first; });
        return ids;
    }

    const DocumentoXML& doc_;
    // Shared by the copies the report's naming makes of this.
    std::shared_ptr<Indices> indices_;
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
