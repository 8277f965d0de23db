// What an exportar changes in Tamberlo's tables, item by item and by VELMORA's identifier: in
// the report's own section, in its CSV and in the sentence the end of the run shows; and what
// the dry run says an exportar would change there, with nothing written.
#include "ayudantes.h"
#include "informe.h"
#include "nucleo.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

using namespace pontavia;
using namespace pontavia::prueba;

namespace {

struct Escuela {
    std::string profesores = "<profesor codigo=\"ANA\" nombre=\"Ana\" apellido1=\"García\" "
                             "apellido2=\"López\" documento=\"1H\" idprofesor=\"21\"/>"
                             "<profesor codigo=\"LUIS\" nombre=\"Luis\" apellido1=\"Pérez\" "
                             "apellido2=\"Gil\" documento=\"2H\" idprofesor=\"22\"/>";
    std::string aulas = "<daula codigo=\"A1\" nombre=\"Aula 1\" capacidad_alumnos=\"30\" "
                        "idaula=\"31\"/>";
    std::string grupos = "<dgrupo codigo=\"1A\" nombre=\"1º ESO A\" codigo_nivel=\"ESO\" "
                         "curso=\"1\" cgrupo=\"A\" idgrupo=\"41\" idcurso=\"5\"/>"
                         "<dgrupo codigo=\"1B\" nombre=\"1º ESO B\" codigo_nivel=\"ESO\" "
                         "curso=\"1\" cgrupo=\"B\" idgrupo=\"42\" idcurso=\"5\"/>";

    std::string xml() const {
        return documento("<materias><dmateria codigo=\"MAT\" nombre=\"Matemáticas\" "
                         "codigo_actividad=\"L\" idmateria=\"11\"/></materias>"
                         "<profesores>" +
                         profesores + "</profesores><aulas>" + aulas + "</aulas><grupos>" + grupos +
                         "</grupos><franjashorarias><franjahoraria dia_semana=\"1\" "
                         "posicion=\"1\" hora_inicio=\"08:00\" hora_final=\"09:00\"/>"
                         "</franjashorarias><asignaturas><dasignatura cgrupo=\"41\" "
                         "casig=\"11\" cprofe=\"21\" conexion=\"0\" nhoras=\"4\"/>"
                         "</asignaturas>");
    }
};

void reemplazar(std::string& s, const std::string& de, const std::string& a) {
    const auto i = s.find(de);
    ASSERT_NE(i, std::string::npos) << de;
    s.replace(i, de.size(), a);
}

constexpr const char* kTitulo = "Cambios desde la exportación anterior: ";

// The report's lines from the changes' section on.
std::string seccion(const Informe& informe) {
    const std::string texto = informe.texto();
    const auto i = texto.find("\nCambios desde la exportación anterior: ", texto.find("Total:"));
    const auto j = i == std::string::npos ? i : texto.find("\nCambios desde", i + 1);
    return j == std::string::npos ? std::string() : texto.substr(j + 1);
}

} // namespace

// One change at a time against the same earlier export, each seen in the three places the
// timetabler reads it; the one that moved a code first, old and new on one line.
TEST(Cambios, CadaCambioEnElInformeElCSVYElResumen) {
    struct Caso {
        const char* nombre;
        std::function<void(Escuela&)> cambiar;
        std::string resumen;         // after kTitulo
        std::vector<AvisoLeido> csv; // the section's rows (motivo aside)
        std::string linea;           // one line of the section
    };
    const std::string ana = "el profesor «Ana García López»";
    const std::vector<Caso> casos = {
        {"nada cambiado", [](Escuela&) {}, "ninguno", {}, ""},
        {"profesor nuevo",
         [](Escuela& e) {
             e.profesores += "<profesor codigo=\"EVA\" nombre=\"Eva\" apellido1=\"Ruiz\" "
                             "apellido2=\"Sanz\" documento=\"3H\" idprofesor=\"23\"/>";
         },
         "1 profesor nuevo",
         {{"PROFT", "nuevo", "el profesor «Eva Ruiz Sanz» (código EVA, idprofesor 23)", "", "", "",
           ""}},
         "  nuevo: el profesor «Eva Ruiz Sanz» (código EVA, idprofesor 23)"},
        {"grupo quitado",
         [](Escuela& e) { reemplazar(e.grupos, e.grupos.substr(e.grupos.find("<dgrupo", 1)), ""); },
         "1 grupo quitado",
         {{"GRUPOST", "quitado", "el grupo «1º ESO B» (código 1B, idgrupo 42)", "", "", "", ""}},
         "  quitado: el grupo «1º ESO B» (código 1B, idgrupo 42)"},
        {"dato cambiado",
         [](Escuela& e) {
             reemplazar(e.aulas, "capacidad_alumnos=\"30\"", "capacidad_alumnos=\"32\"");
         },
         "1 aula con datos cambiados",
         {{"AULAT", "dato cambiado", "el aula «Aula 1» (código A1, idaula 31)", "MAXALUM", "30",
           "32", ""}},
         "  dato cambiado: el aula «Aula 1» (código A1, idaula 31), MAXALUM \"30\" -> \"32\""},
        // A new colleague with the same initials took Ana's code: she keeps her identifier
        // under another code, and the newcomer is new.
        {"código cambiado",
         [](Escuela& e) {
             reemplazar(e.profesores, "codigo=\"ANA\"", "codigo=\"ANA2\"");
             e.profesores = "<profesor codigo=\"ANA\" nombre=\"Anabel\" apellido1=\"Sanz\" "
                            "apellido2=\"Gil\" documento=\"4H\" idprofesor=\"24\"/>" +
                            e.profesores;
         },
         "1 profesor nuevo, 1 código cambiado",
         {{"PROFT", "cambio de código", ana + " (idprofesor 21)", "ABREV", "ANA", "ANA2", ""},
          {"PROFT", "nuevo", "el profesor «Anabel Sanz Gil» (código ANA, idprofesor 24)", "", "",
           "", ""}},
         "  cambio de código: " + ana + " (idprofesor 21), ABREV \"ANA\" -> \"ANA2\""},
    };
    for (const auto& caso : casos) {
        SCOPED_TRACE(caso.nombre);
        CarpetaTemporal ktemp, datos;
        Escuela escuela;
        escribirArchivo(datos / "centro.xml", escuela.xml());
        Informe primera;
        exportar(datos / "centro.xml", ktemp.ruta(), primera);
        EXPECT_EQ(primera.resumenCambios(),
                  std::string(kTitulo) + "no hay ninguna exportación anterior con la que comparar");

        caso.cambiar(escuela);
        escribirArchivo(datos / "centro.xml", escuela.xml());
        Informe informe;
        exportar(datos / "centro.xml", ktemp.ruta(), informe);
        EXPECT_EQ(informe.resumenCambios(), kTitulo + caso.resumen);
        std::vector<AvisoLeido> filas;
        for (auto a : avisosLeidos(informe))
            if (a.motivo == "desde la exportación anterior") filas.push_back(a);
        ASSERT_EQ(filas.size(), caso.csv.size());
        for (std::size_t i = 0; i < filas.size(); ++i) {
            EXPECT_EQ(filas[i].tabla, caso.csv[i].tabla);
            EXPECT_EQ(filas[i].tipo, caso.csv[i].tipo);
            EXPECT_EQ(filas[i].elemento, caso.csv[i].elemento);
            EXPECT_EQ(filas[i].campo, caso.csv[i].campo);
            EXPECT_EQ(filas[i].valor, caso.csv[i].valor);
            EXPECT_EQ(filas[i].resultado, caso.csv[i].resultado);
        }
        // The sentence after the report's summary, the detail in its own section, named
        // against the export it compares with.
        const std::string texto = informe.texto();
        EXPECT_NE(texto.find(kTitulo + caso.resumen + ".\n"), std::string::npos) << texto;
        const std::string detalle = seccion(informe);
        EXPECT_EQ(detalle.rfind(kTitulo + std::to_string(caso.csv.size()) +
                                    "\nFrente a las tablas exportadas de «IES Prueba» (curso "
                                    "2026/2027, archivo " +
                                    (datos / "centro.xml").string() + ", el ",
                                0),
                  0u)
            << detalle;
        if (!caso.linea.empty()) {
            EXPECT_NE(detalle.find("\n" + caso.linea + "\n"), std::string::npos) << detalle;
        }
    }
}

// The dry run compares with the tables in Tamberlo's folder now, whatever made them, and
// writes nothing; with none there, it says an exportar would be the first.
TEST(Cambios, LaComprobacionDiceQueCambiariaSinEscribirNada) {
    KTEMPTemporal ktemp;
    CarpetaTemporal datos;
    Escuela escuela;
    escribirArchivo(datos / "centro.xml", escuela.xml());
    Informe informe;
    comprobar(datos / "centro.xml", informe);
    EXPECT_EQ(informe.resumenCambios(),
              "Cambios que haría la exportación en las tablas de Tamberlo: ninguno que comparar, "
              "la carpeta de Tamberlo no tiene tablas (sería la primera exportación)");
    EXPECT_TRUE(fs::is_empty(ktemp.ruta()));

    exportar(datos / "centro.xml", ktemp.ruta(), informe);
    reemplazar(escuela.aulas, "capacidad_alumnos=\"30\"", "capacidad_alumnos=\"32\"");
    escribirArchivo(datos / "centro.xml", escuela.xml());
    const auto antes = instantanea(ktemp.ruta());
    comprobar(datos / "centro.xml", informe);
    EXPECT_EQ(instantanea(ktemp.ruta()), antes);
    EXPECT_EQ(informe.resumenCambios(),
              "Cambios que haría la exportación en las tablas de Tamberlo: 1 aula con datos "
              "cambiados");
    const auto filas = avisosLeidos(informe);
    ASSERT_FALSE(filas.empty());
    EXPECT_EQ(filas.back().motivo, "frente a las tablas de Tamberlo");
    EXPECT_EQ(filas.back().campo, "MAXALUM");

    // From the command line too: its report, with the changes.
    const auto r = ejecutarCLI({"comprobar", (datos / "centro.xml").string(), "--informe",
                                (datos / "informe.csv").string()});
    EXPECT_EQ(r.codigo, 0) << r.errores;
    EXPECT_NE(leerArchivo(datos / "informe.csv").find("dato cambiado"), std::string::npos);
    EXPECT_EQ(instantanea(ktemp.ruta()), antes);
}

// A table of Tamberlo's folder that is not a dBase table is replaced all the same: the
// comparison says it could not read it, and the run goes on.
TEST(Cambios, UnaTablaAnteriorIlegibleNoDetieneLaExportacion) {
    CarpetaTemporal ktemp, datos;
    Escuela escuela;
    escribirArchivo(datos / "centro.xml", escuela.xml());
    Informe informe;
    exportar(datos / "centro.xml", ktemp.ruta(), informe);
    escribirArchivo(ktemp / "AULAT.DBF", "no es una tabla");
    exportar(datos / "centro.xml", ktemp.ruta(), informe);
    EXPECT_EQ(informe.resumenCambios(), std::string(kTitulo) + "1 aula nueva");
    EXPECT_NE(informe.texto().find("  AULAT: no se pudo leer ("), std::string::npos)
        << informe.texto();
}
