#include "cargar_solucion.h"

#include "texto.h"

namespace pontavia {

namespace {

// A number stored as a number comes back as its plain decimal text (3, not 3.00 or 03);
// a text field comes back as written.
std::string textoDe(const TablaDBase& t, const char* campo) {
    if (t.esNumerico(campo)) return decimalMasCorto(t.leerNumero(campo));
    return t.leerTexto(campo);
}

// The activity: LECT and GUAR are Tamberlo's names for LECTIVA and GUARDIA.
std::string actividad(TablaDBase& materias, std::string tarea, const std::string& casig) {
    if (tarea == "LECT")
        tarea = "LECTIVA";
    else if (tarea == "GUAR")
        tarea = "GUARDIA";
    if (materias.Locate("COD", tarea)) return materias.leerTexto("IDASIG");
    return primeros(casig, 4) == tarea ? casig : tarea;
}

} // namespace

void CargarSolucion(TablasTamberlo& t, Nodo solucionHorario) {
    TablaDBase& soluc = t.soluc;
    for (soluc.First(); !soluc.Eof(); soluc.Next()) {
        // Day or hour 0 (or empty) is a lesson Tamberlo did not place.
        const std::int32_t dia = soluc.leerEntero("DIA");
        if (dia == 0 || soluc.leerNumero("HORA") == 0) continue;
        if (!t.materias.Locate("COD", soluc.leerTexto("ASIG"))) continue;
        const std::string casig = t.materias.leerTexto("IDASIG");
        std::string cgrupo, idcurso, cprofe, caula;
        if (t.grupos.Locate("ABREV", soluc.leerTexto("CODGRUPO"))) {
            cgrupo = t.grupos.leerTexto("IDGRUPO");
            idcurso = t.grupos.leerTexto("IDCURSO");
        }
        const std::string cactiv = actividad(t.materias, soluc.leerTexto("TAREA"), casig);
        if (t.profesores.Locate("ABREV", soluc.leerTexto("PROF")))
            cprofe = t.profesores.leerTexto("IDPROF");
        if (t.aulas.Locate("ABREV", soluc.leerTexto("AULA"))) caula = t.aulas.leerTexto("IDAULA");

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
    }
}

} // namespace pontavia
