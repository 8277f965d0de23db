#include "procedencia_de_prueba.h"

#include "esquema_tamberlo.h"
#include "nucleo.h"
#include "tabla_de_prueba.h"

namespace pontavia::prueba {

namespace {

// A school with one subject, activity, teacher, room and group; another school's file has the
// same codes under other identifiers, as two schools' files do.
std::string escuela(const char* cabecera, const char* materia, bool conProfesorYAula = true) {
    std::string s = std::string("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<centro ") + cabecera +
                    ">" +
                    "<materias><dmateria codigo=\"MAT\" nombre=\"Matemáticas\" "
                    "codigo_actividad=\"LECTIVA\" idmateria=\"" +
                    materia +
                    "\"/><dmateria codigo=\"LECTIVA\" nombre=\"Lectiva\" "
                    "codigo_actividad=\"LECTIVA\" idmateria=\"9001\"/></materias>";
    if (conProfesorYAula)
        s += "<profesores><profesor codigo=\"ANA\" nombre=\"Ana\" apellido1=\"Ruiz\" "
             "apellido2=\"Gil\" documento=\"1\" idprofesor=\"417\"/></profesores>"
             "<aulas><daula codigo=\"A1\" nombre=\"Aula 1\" capacidad_alumnos=\"30\" "
             "idaula=\"501\"/></aulas>";
    return s +
           "<grupos><dgrupo codigo=\"1ESOA\" nombre=\"1º ESO A\" codigo_nivel=\"ESO\" curso=\"1\" "
           "cgrupo=\"A\" idgrupo=\"1205\" idcurso=\"21\"/></grupos></centro>\n";
}
constexpr const char* kCentroA =
    "codigo_interno=\"28001\" nombre=\"IES Uno\" curso=\"2026/2027\" version=\"1\"";
constexpr const char* kCentroB =
    "codigo_interno=\"28999\" nombre=\"IES Otro Centro\" curso=\"2026/2027\" version=\"1\"";

void exportarDe(const fs::path& xml, const fs::path& ktemp) {
    Informe informe;
    exportar(xml, ktemp, informe);
}

// Two lessons of subject MAT for group 1ESOA with ANA in A1, on the day given (0: not placed).
void horario(const fs::path& ktemp, int dia) {
    using tamberlo::SOLUC;
    const fs::path ruta = ktemp / SOLUC.archivo();
    crearTabla(ruta, SOLUC.definiciones());
    TablaDBase t = TablaDBase::abrir(ruta, Durable::Si, discoDelSistema());
    for (int hora = 1; hora <= 2; ++hora) {
        t.empezarRegistro();
        asignarEntero(t, "DIA", dia);
        asignarEntero(t, "HORA", hora);
        asignarTexto(t, "SESIONES", "1");
        asignarTexto(t, "CODGRUPO", "1ESOA");
        asignarTexto(t, "ASIG", "MAT");
        asignarTexto(t, "TAREA", "LECT");
        asignarTexto(t, "PROF", "ANA");
        asignarTexto(t, "AULA", "A1");
        t.guardarRegistro();
    }
    t.cerrar();
}

} // namespace

const std::vector<CasoProcedencia>& casosDeProcedencia() {
    static const std::vector<CasoProcedencia> casos = {
        {"DelArchivo", Procedencia::DelArchivo, false, "Proceso finalizado", 2},
        {"DeOtroCentro", Procedencia::DeOtroCentro, true,
         "El horario de Tamberlo viene de otro archivo de VELMORA, no del elegido", 0},
        {"TablasDeOtroArchivo", Procedencia::TablasDeOtroArchivo, true,
         "las tablas de la carpeta de Tamberlo vienen de otra exportación", 0},
        {"FaltanAlgunos", Procedencia::FaltanAlgunos, false,
         "ATENCIÓN: 2 elementos del horario de Tamberlo", 2},
        {"NingunaColocada", Procedencia::NingunaColocada, false, "Proceso finalizado", 0},
        {"ResultadoAnterior", Procedencia::ResultadoAnterior, false, "Proceso finalizado", 2},
    };
    return casos;
}

fs::path prepararProcedencia(Procedencia p, const fs::path& datos, const fs::path& ktemp) {
    const fs::path elegido = datos / "centro.xml";
    escribirArchivo(elegido, escuela(kCentroA, "3310"));
    exportarDe(elegido, ktemp);
    horario(ktemp, p == Procedencia::NingunaColocada ? 0 : 1);
    switch (p) {
    case Procedencia::DelArchivo:
    case Procedencia::NingunaColocada:
        break;
    case Procedencia::DeOtroCentro:
        escribirArchivo(elegido, escuela(kCentroB, "8810"));
        break;
    case Procedencia::TablasDeOtroArchivo: {
        // Another file exported over the tables: its subject has another code.
        std::string otro = escuela(kCentroA, "3310");
        otro.replace(otro.find("codigo=\"MAT\""), 12, "codigo=\"FIS\"");
        escribirArchivo(datos / "otro.xml", otro);
        exportarDe(datos / "otro.xml", ktemp);
        fs::remove(datos / "otro.xml");
        break;
    }
    case Procedencia::FaltanAlgunos:
        escribirArchivo(elegido, escuela(kCentroA, "3310", false));
        break;
    case Procedencia::ResultadoAnterior: {
        Informe informe;
        importar(elegido, ktemp, informe);
        return resultadoDeImportar(elegido);
    }
    }
    return elegido;
}

} // namespace pontavia::prueba
