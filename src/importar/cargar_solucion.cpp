#include "cargar_solucion.h"

#include "error.h"
#include "texto.h"

namespace pontavia {

namespace {

// A number stored as a number comes back as its plain decimal text (3, not 3.00 or 03);
// a text field comes back as written.
std::string textoDe(const TablaDBase& t, NombreCampo campo) {
    if (t.esNumerico(campo)) return decimalMasCorto(t.leerNumero(campo));
    return t.leerTexto(campo);
}

// The value convertir reads from a field of SOLUC's current record. The error it raises, the
// system's own message, is told after the record and the field.
template <typename Convertir>
auto convertirCampo(const TablaDBase& soluc, const char* campo, Convertir convertir) {
    try {
        return convertir();
    } catch (const Error& e) {
        throw Error("El registro número " + std::to_string(soluc.numeroRegistro()) +
                    " de SOLUC, campo " + campo + ": " + e.what());
    }
}

// LECT and GUAR are Tamberlo's names for the activities LECTIVA and GUARDIA.
std::string nombreActividad(const std::string& tarea) {
    if (tarea == "LECT") return "LECTIVA";
    if (tarea == "GUAR") return "GUARDIA";
    return tarea;
}

struct Grupo {
    std::string idGrupo, idCurso;
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

} // namespace

void CargarSolucion(TablasTamberlo& t, HijosEnCurso& solucionHorario, Informe& informe) {
    // The lookup tables by Tamberlo's codes, read once: every lesson asks them again.
    const auto materias = filasPor<std::string>(
        t.materias, "COD", [](const TablaDBase& m) { return m.leerTexto("IDASIG"); });
    const auto grupos = filasPor<Grupo>(t.grupos, "ABREV", [](const TablaDBase& g) {
        return Grupo{g.leerTexto("IDGRUPO"), g.leerTexto("IDCURSO")};
    });
    const auto profesores = filasPor<std::string>(
        t.profesores, "ABREV", [](const TablaDBase& p) { return p.leerTexto("IDPROF"); });
    const auto aulas = filasPor<std::string>(
        t.aulas, "ABREV", [](const TablaDBase& a) { return a.leerTexto("IDAULA"); });

    BusquedaReciente<std::string> porMateria(materias), porActividad(materias),
        porProfesor(profesores), porAula(aulas);
    BusquedaReciente<Grupo> porGrupo(grupos);

    TablaDBase& soluc = t.soluc;
    // A field 0 bytes wide holds nothing: a SOLUC so made is damaged, not blank.
    const NombreCampo necesarios[] = {"DIA",  "HORA",  "SESIONES", "CODGRUPO",
                                      "ASIG", "TAREA", "PROF",     "AULA"};
    for (NombreCampo campo : necesarios)
        if (soluc.tieneCampo(campo) && soluc.campo(campo).ancho == 0)
            throw Error("La tabla " + soluc.nombre() + " está dañada: su campo " +
                        std::string(campo.texto()) + " mide 0 bytes.");
    std::size_t leidos = 0, escritos = 0;
    for (soluc.First(); !soluc.Eof(); soluc.Next()) {
        ++leidos;
        auto avisar = [&](TipoAviso tipo, std::string campo, const std::string& valor,
                          std::string motivo) {
            informe.agregar({"SOLUC", tipo, "registro " + std::to_string(soluc.numeroRegistro()),
                             std::move(campo), valor, "", std::move(motivo)});
        };
        // Day or hour 0 (or empty) is a lesson Tamberlo did not place.
        const std::int32_t dia =
            convertirCampo(soluc, "DIA", [&] { return soluc.leerEntero("DIA"); });
        const auto leerHora = [&] { return soluc.leerNumero("HORA"); };
        if (dia == 0 || convertirCampo(soluc, "HORA", leerHora) == 0) {
            avisar(TipoAviso::Omitido, dia == 0 ? "DIA" : "HORA", "0",
                   "Tamberlo no colocó la sesión de " + soluc.leerTexto("ASIG"));
            continue;
        }
        const std::string asig = soluc.leerTexto("ASIG");
        const std::string* materia = porMateria.buscar(asig);
        if (!materia) {
            avisar(TipoAviso::Omitido, "ASIG", asig,
                   "ninguna materia de ASIGNOMT tiene ese código");
            continue;
        }
        const std::string& casig = *materia;
        // A blank code asks for nothing; one that finds nothing leaves a blank identifier.
        auto buscar = [&](auto& busqueda, NombreCampo campo, const char* donde) {
            const std::string codigo = soluc.leerTexto(campo);
            const auto* fila = busqueda.buscar(codigo);
            if (!fila && !codigo.empty())
                avisar(TipoAviso::SinCorrespondencia, std::string(campo.texto()), codigo,
                       std::string("ninguna fila de ") + donde + " tiene ese código");
            return fila;
        };
        std::string cgrupo, idcurso, cprofe, caula;
        if (const Grupo* g = buscar(porGrupo, "CODGRUPO", "GRUPOST")) {
            cgrupo = g->idGrupo;
            idcurso = g->idCurso;
        }
        // An activity ASIGNOMT does not know is written as its code, or as the subject when
        // the subject's identifier begins with it.
        const std::string tarea = nombreActividad(soluc.leerTexto("TAREA"));
        std::string cactiv;
        if (const std::string* actividad = porActividad.buscar(tarea)) {
            cactiv = *actividad;
        } else if (primeros(casig, 4) == tarea) {
            cactiv = casig;
        } else {
            cactiv = tarea;
            if (!tarea.empty())
                avisar(TipoAviso::SinCorrespondencia, "TAREA", tarea,
                       "ninguna actividad de ASIGNOMT tiene ese código; se escribe el código");
        }
        if (const std::string* p = buscar(porProfesor, "PROF", "PROFT")) cprofe = *p;
        if (const std::string* a = buscar(porAula, "AULA", "AULAT")) caula = *a;

        FilaXML& DsolucionXML = solucionHorario.crear("dsolucion");
        DsolucionXML.anadirAtributo("casig", casig);
        DsolucionXML.anadirAtributo("cgrupo", cgrupo);
        DsolucionXML.anadirAtributo("cprofe", cprofe);
        DsolucionXML.anadirAtributo("caula", caula);
        DsolucionXML.anadirAtributo("cactiv", cactiv);
        DsolucionXML.anadirAtributo("dia", std::to_string(dia));
        DsolucionXML.anadirAtributo(
            "hora", convertirCampo(soluc, "HORA", [&] { return textoDe(soluc, "HORA"); }));
        DsolucionXML.anadirAtributo("sesiones", convertirCampo(soluc, "SESIONES", [&] {
                                        return textoDe(soluc, "SESIONES");
                                    }));
        DsolucionXML.anadirAtributo("idcurso", idcurso);
        solucionHorario.escribir(DsolucionXML);
        ++escritos;
    }
    informe.filas("SOLUC", leidos);
    informe.filas("dsolucion", escritos);
    if (leidos > 0 && escritos == 0)
        informe.advertir(
            "Ninguna de las " + std::to_string(leidos) +
            " lecciones del horario de Tamberlo (SOLUC) se ha escrito en el resultado. Lo más "
            "probable es que las tablas de Tamberlo vengan de otro archivo de VELMORA: exporte "
            "de nuevo el archivo de VELMORA, haga el horario en Tamberlo y después importe.");
}

} // namespace pontavia
