#include "cargar_solucion.h"

#include "error.h"
#include "esquema_tamberlo.h"
#include "texto.h"

namespace pontavia {

using tamberlo::ASIGNOMT, tamberlo::AULAT, tamberlo::GRUPOST, tamberlo::PROFT, tamberlo::SOLUC;

namespace {

// A number stored as a number comes back as its plain decimal text (3, not 3.00 or 03);
// a text field comes back as written.
std::string textoDe(const TablaDBase& t, NombreCampo campo) {
    if (t.esNumerico(campo)) return decimalMasCorto(t.leerNumero(campo));
    return t.leerTexto(campo);
}

// The value convertir reads from a field of SOLUC's current record. The error it raises is
// placed in the record and the field.
template <typename Convertir>
auto convertirCampo(const TablaDBase& soluc, Campo campo, Convertir convertir) {
    try {
        return convertir();
    } catch (const Error& e) {
        throw e.enRegistro(SOLUC.nombre, soluc.numeroRegistro(), campo.nombre);
    }
}

// LECT and GUAR are Tamberlo's names for the activities LECTIVA and GUARDIA.
std::string nombreActividad(const std::string& tarea) {
    if (tarea == "LECT") return "LECTIVA";
    if (tarea == "GUAR") return "GUARDIA";
    return tarea;
}

// What a lesson takes from each lookup table's row: the identifier it writes, and the name
// that tells the timetabler which lesson an item of the report is about.
struct Materia {
    std::string id, nombre;
};
struct Grupo {
    std::string idGrupo, idCurso, nombre;
};
struct Profesor {
    std::string id, nombre;
};

// A lookup that remembers its last code and what it found: a timetable's records come in runs
// of one group, subject and teacher, and nearly every lesson names the same activity.
template <typename Fila> class BusquedaReciente {
  public:
    explicit BusquedaReciente(const FilasPorTexto<Fila>& filas) : filas_(filas) {}
    const Fila* buscar(const std::string& codigo) {
        if (!hecha_ || codigo != codigo_) {
            codigo_ = codigo;
            fila_ = buscarFila(filas_, codigo);
            hecha_ = true;
        }
        return fila_;
    }

  private:
    const FilasPorTexto<Fila>& filas_;
    std::string codigo_;
    const Fila* fila_ = nullptr;
    bool hecha_ = false;
};

// A lesson as the timetabler finds it: by its subject's, group's and teacher's names, which the
// tables exportar wrote keep beside the codes SOLUC gives. They come from the lookups the
// lesson itself made, whose rows hold them: an item costs no search of its own.
class LugarDeLeccion {
  public:
    LugarDeLeccion(BusquedaReciente<Materia>& materias, BusquedaReciente<Grupo>& grupos,
                   BusquedaReciente<Profesor>& profesores)
        : materias_(materias), grupos_(grupos), profesores_(profesores) {}

    LugarError operator()(const TablaDBase& soluc) {
        auto nombre = [&](auto& busqueda, Campo codigo) {
            const auto* fila = busqueda.buscar(soluc.leerTexto(codigo));
            return fila ? fila->nombre : std::string();
        };
        return {.nombre = nombre(materias_, SOLUC["ASIG"]),
                .grupo = nombre(grupos_, SOLUC["CODGRUPO"]),
                .profesor = nombre(profesores_, SOLUC["PROF"]),
                .tabla = SOLUC.nombre,
                .registro = soluc.numeroRegistro()};
    }

  private:
    BusquedaReciente<Materia>& materias_;
    BusquedaReciente<Grupo>& grupos_;
    BusquedaReciente<Profesor>& profesores_;
};

// A row's name, where its table has one (tables made by hand may lack it).
std::string nombreSiHay(const TablaDBase& t, Campo nombre) {
    return t.tieneCampo(nombre) ? t.leerTexto(nombre) : std::string();
}

} // namespace

void CargarSolucion(TablasTamberlo& t, HijosEnCurso& solucionHorario, Informe& informe,
                    ProcedenciaHorario& procedencia) {
    // The lookup tables by Tamberlo's codes, read once: every lesson asks them again, and so
    // does the naming of the report's items.
    const auto materias = filasPor<Materia>(t.materias, ASIGNOMT["COD"], [](const TablaDBase& m) {
        return Materia{m.leerTexto(ASIGNOMT["IDASIG"]), nombreSiHay(m, ASIGNOMT["NOMBRE"])};
    });
    const auto grupos = filasPor<Grupo>(t.grupos, GRUPOST["ABREV"], [](const TablaDBase& g) {
        return Grupo{g.leerTexto(GRUPOST["IDGRUPO"]), g.leerTexto(GRUPOST["IDCURSO"]),
                     nombreSiHay(g, GRUPOST["DESCRIP"])};
    });
    const auto profesores =
        filasPor<Profesor>(t.profesores, PROFT["ABREV"], [](const TablaDBase& p) {
            // PROFT keeps "Ana, Ruiz Gil"; VELMORA, and the export's report, show "Ana Ruiz Gil".
            std::string nombre = nombreSiHay(p, PROFT["NOMBRE"]);
            if (const auto coma = nombre.find(", "); coma != std::string::npos)
                nombre.erase(coma, 1);
            return Profesor{p.leerTexto(PROFT["IDPROF"]), std::move(nombre)};
        });
    const auto aulas = filasPor<std::string>(
        t.aulas, AULAT["ABREV"], [](const TablaDBase& a) { return a.leerTexto(AULAT["IDAULA"]); });

    BusquedaReciente<Materia> porMateria(materias), porActividad(materias);
    BusquedaReciente<Profesor> porProfesor(profesores);
    BusquedaReciente<std::string> porAula(aulas);
    BusquedaReciente<Grupo> porGrupo(grupos);

    TablaDBase& soluc = t.soluc;
    // An item names its lesson through the searches the lesson made: found again, not sought.
    LugarDeLeccion lugarDeLeccion(porMateria, porGrupo, porProfesor);
    // A field 0 bytes wide holds nothing: a SOLUC so made is damaged, not blank.
    for (std::size_t i = 0; i < std::size(SOLUC.campos); ++i) {
        const NombreCampo campo = Campo{i, SOLUC.campos[i].nombre};
        if (soluc.tieneCampo(campo) && soluc.campo(campo).ancho == 0)
            throw Error(ClaseError::TablaDanada, Hecho::CampoDeCeroBytes,
                        {.tabla = soluc.nombre(), .campo = std::string(campo.texto())});
    }
    std::size_t leidos = 0, escritos = 0;
    for (soluc.primero(); !soluc.alFinal(); soluc.siguiente()) {
        ++leidos;
        auto avisar = [&](TipoAviso tipo, std::string campo, const std::string& valor,
                          std::string motivo) {
            informe.agregar({SOLUC.nombre, tipo, elementoEnInforme(lugarDeLeccion(soluc)),
                             std::move(campo), valor, "", std::move(motivo)});
        };
        // Day or hour 0 (or empty) is a lesson Tamberlo did not place.
        const std::int32_t dia =
            convertirCampo(soluc, SOLUC["DIA"], [&] { return soluc.leerEntero(SOLUC["DIA"]); });
        const auto leerHora = [&] { return soluc.leerNumero(SOLUC["HORA"]); };
        if (dia == 0 || convertirCampo(soluc, SOLUC["HORA"], leerHora) == 0) {
            avisar(TipoAviso::Omitido, dia == 0 ? SOLUC["DIA"].nombre : SOLUC["HORA"].nombre, "0",
                   "Tamberlo no colocó la sesión de " + soluc.leerTexto(SOLUC["ASIG"]));
            continue;
        }
        procedencia.colocada();
        const std::string asig = soluc.leerTexto(SOLUC["ASIG"]);
        const Materia* materia = porMateria.buscar(asig);
        if (!materia) {
            avisar(TipoAviso::Omitido, SOLUC["ASIG"].nombre, asig,
                   "ninguna materia de ASIGNOMT tiene ese código");
            continue;
        }
        const std::string& casig = materia->id;
        procedencia.escrita();
        procedencia.item(ProcedenciaHorario::Materia, materia, asig, casig);
        // A blank code asks for nothing; one that finds nothing leaves a blank identifier.
        auto buscar = [&](auto& busqueda, Campo campo, const char* donde, auto item,
                          auto identificador) {
            const std::string codigo = soluc.leerTexto(campo);
            const auto* fila = busqueda.buscar(codigo);
            if (fila) procedencia.item(item, fila, codigo, identificador(*fila));
            if (!fila && !codigo.empty())
                avisar(TipoAviso::SinCorrespondencia, campo.nombre, codigo,
                       std::string("ninguna fila de ") + donde + " tiene ese código");
            return fila;
        };
        std::string cgrupo, idcurso, cprofe, caula;
        if (const Grupo* g =
                buscar(porGrupo, SOLUC["CODGRUPO"], GRUPOST.nombre, ProcedenciaHorario::Grupo,
                       [](const Grupo& f) -> const std::string& { return f.idGrupo; })) {
            cgrupo = g->idGrupo;
            idcurso = g->idCurso;
        }
        // An activity ASIGNOMT does not know is written as its code, or as the subject when
        // the subject's identifier begins with it.
        const std::string tarea = nombreActividad(soluc.leerTexto(SOLUC["TAREA"]));
        std::string cactiv;
        if (const Materia* actividad = porActividad.buscar(tarea)) {
            cactiv = actividad->id;
        } else if (primeros(casig, 4) == tarea) {
            cactiv = casig;
        } else {
            cactiv = tarea;
            if (!tarea.empty())
                avisar(TipoAviso::SinCorrespondencia, SOLUC["TAREA"].nombre, tarea,
                       "ninguna actividad de ASIGNOMT tiene ese código; se escribe el código");
        }
        if (const Profesor* p =
                buscar(porProfesor, SOLUC["PROF"], PROFT.nombre, ProcedenciaHorario::Profesor,
                       [](const Profesor& f) -> const std::string& { return f.id; }))
            cprofe = p->id;
        if (const std::string* a =
                buscar(porAula, SOLUC["AULA"], AULAT.nombre, ProcedenciaHorario::Aula,
                       [](const std::string& id) -> const std::string& { return id; }))
            caula = *a;

        FilaXML& DsolucionXML = solucionHorario.crear(kElementoLeccion);
        DsolucionXML.anadirAtributo("casig", casig);
        DsolucionXML.anadirAtributo("cgrupo", cgrupo);
        DsolucionXML.anadirAtributo("cprofe", cprofe);
        DsolucionXML.anadirAtributo("caula", caula);
        DsolucionXML.anadirAtributo("cactiv", cactiv);
        DsolucionXML.anadirAtributo("dia", std::to_string(dia));
        DsolucionXML.anadirAtributo("hora", convertirCampo(soluc, SOLUC["HORA"], [&] {
                                        return textoDe(soluc, SOLUC["HORA"]);
                                    }));
        DsolucionXML.anadirAtributo("sesiones", convertirCampo(soluc, SOLUC["SESIONES"], [&] {
                                        return textoDe(soluc, SOLUC["SESIONES"]);
                                    }));
        DsolucionXML.anadirAtributo("idcurso", idcurso);
        solucionHorario.escribir(DsolucionXML);
        ++escritos;
    }
    informe.filas(SOLUC.nombre, leidos);
    informe.filas(kElementoLeccion, escritos);
}

} // namespace pontavia
