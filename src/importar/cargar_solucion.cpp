#include "cargar_solucion.h"

#include "texto.h"

namespace pontavia {

namespace {

// A number stored as a number comes back as its plain decimal text (3, not 3.00 or 03);
// a text field comes back as written.
std::string textoDe(const TablaDBase& t, NombreCampo campo) {
    if (t.esNumerico(campo)) return decimalMasCorto(t.leerNumero(campo));
    return t.leerTexto(campo);
}

// LECT and GUAR are Tamberlo's names for the activities LECTIVA and GUARDIA.
std::string nombreActividad(const std::string& tarea) {
    if (tarea == "LECT") return "LECTIVA";
    if (tarea == "GUAR") return "GUARDIA";
    return tarea;
}

} // namespace

void CargarSolucion(TablasTamberlo& t, Nodo solucionHorario, Informe& informe) {
    TablaDBase& soluc = t.soluc;
    std::size_t leidos = 0, escritos = 0;
    for (soluc.First(); !soluc.Eof(); soluc.Next()) {
        ++leidos;
        const std::string registro = "registro " + std::to_string(soluc.numeroRegistro());
        auto avisar = [&](TipoAviso tipo, std::string campo, const std::string& valor,
                          std::string motivo) {
            informe.agregar(
                {"SOLUC", tipo, registro, std::move(campo), valor, "", std::move(motivo)});
        };
        // Day or hour 0 (or empty) is a lesson Tamberlo did not place.
        const std::int32_t dia = soluc.leerEntero("DIA");
        if (dia == 0 || soluc.leerNumero("HORA") == 0) {
            avisar(TipoAviso::Omitido, dia == 0 ? "DIA" : "HORA", "0",
                   "Tamberlo no colocó la sesión de " + soluc.leerTexto("ASIG"));
            continue;
        }
        const std::string asig = soluc.leerTexto("ASIG");
        if (!t.materias.Locate("COD", asig)) {
            avisar(TipoAviso::Omitido, "ASIG", asig,
                   "ninguna materia de ASIGNOMT tiene ese código");
            continue;
        }
        const std::string casig = t.materias.leerTexto("IDASIG");
        // A blank code asks for nothing; one that finds nothing leaves a blank identifier.
        auto buscar = [&](TablaDBase& tabla, NombreCampo campo, const char* donde) {
            const std::string codigo = soluc.leerTexto(campo);
            if (tabla.Locate("ABREV", codigo)) return true;
            if (!codigo.empty())
                avisar(TipoAviso::SinCorrespondencia, std::string(campo.texto()), codigo,
                       std::string("ninguna fila de ") + donde + " tiene ese código");
            return false;
        };
        std::string cgrupo, idcurso, cprofe, caula;
        if (buscar(t.grupos, "CODGRUPO", "GRUPOST")) {
            cgrupo = t.grupos.leerTexto("IDGRUPO");
            idcurso = t.grupos.leerTexto("IDCURSO");
        }
        // An activity ASIGNOMT does not know is written as its code, or as the subject when
        // the subject's identifier begins with it.
        const std::string tarea = nombreActividad(soluc.leerTexto("TAREA"));
        std::string cactiv;
        if (t.materias.Locate("COD", tarea)) {
            cactiv = t.materias.leerTexto("IDASIG");
        } else if (primeros(casig, 4) == tarea) {
            cactiv = casig;
        } else {
            cactiv = tarea;
            if (!tarea.empty())
                avisar(TipoAviso::SinCorrespondencia, "TAREA", tarea,
                       "ninguna actividad de ASIGNOMT tiene ese código; se escribe el código");
        }
        if (buscar(t.profesores, "PROF", "PROFT")) cprofe = t.profesores.leerTexto("IDPROF");
        if (buscar(t.aulas, "AULA", "AULAT")) caula = t.aulas.leerTexto("IDAULA");

        Nodo DsolucionXML = solucionHorario.append_child("dsolucion");
        setAttribute(DsolucionXML, "casig", casig);
        setAttribute(DsolucionXML, "cgrupo", cgrupo);
        setAttribute(DsolucionXML, "cprofe", cprofe);
        setAttribute(DsolucionXML, "caula", caula);
        setAttribute(DsolucionXML, "cactiv", cactiv);
        setAttribute(DsolucionXML, "dia", static_cast<long long>(dia));
        setAttribute(DsolucionXML, "hora", textoDe(soluc, "HORA"));
        setAttribute(DsolucionXML, "sesiones", textoDe(soluc, "SESIONES"));
        setAttribute(DsolucionXML, "idcurso", idcurso);
        ++escritos;
    }
    informe.filas("SOLUC", leidos);
    informe.filas("dsolucion", escritos);
}

} // namespace pontavia
