// The exportar run and its six builders: the worked examples, the field lists, the faults
// mended, and the all-or-nothing replacement of Tamberlo's tables.
#include "archivo_atomico.h"
#include "ayudantes.h"
#include "disco_con_fallos.h"
#include "error.h"
#include "informe.h"
#include "nucleo.h"
#include "preparacion.h"
#include "registro_conjunto.h"

#include <functional>
#include <gtest/gtest.h>
#include <set>
#include <tuple>

using namespace pontavia;
using namespace pontavia::prueba;

namespace {

const std::vector<std::string> kTablas = nombresExportados();

class Exportar : public ::testing::Test {
  protected:
    CarpetaTemporal ktemp;
    CarpetaTemporal datos;
    Informe informe;

    // Runs exportar on a document with the given content of centro; its error goes on.
    void exportar(const std::string& interior) {
        escribirArchivo(datos / "centro.xml", documento(interior));
        pontavia::exportar(datos / "centro.xml", ktemp.ruta(), informe);
    }
    // The message of the error that exportar raises, or "" when it does its work.
    std::string error(const std::string& interior) {
        return desenlace([&] { exportar(interior); });
    }
    // Runs exportar through the core's door on disco; false when it raised an error.
    bool exportarEn(Disco& disco, const std::string& interior) {
        const auto xml = datos / "centro.xml";
        escribirArchivo(xml, documento(interior));
        try {
            pontavia::exportar(xml, ktemp.ruta(), informe, disco);
        } catch (const Error&) {
            return false;
        }
        return true;
    }
    fs::path tabla(const std::string& nombre) { return ktemp / (nombre + ".DBF"); }
};

std::string materia(const std::string& codigo, const std::string& nombre,
                    const std::string& actividad, const std::string& id) {
    return "<dmateria codigo=\"" + codigo + "\" nombre=\"" + nombre + "\" codigo_actividad=\"" +
           actividad + "\" idmateria=\"" + id + "\"/>";
}
std::string profesor(const std::string& codigo, const std::string& nombre, const std::string& id,
                     const std::string& ap2 = "López") {
    return "<profesor codigo=\"" + codigo + "\" nombre=\"" + nombre +
           "\" apellido1=\"García\" apellido2=\"" + ap2 + "\" documento=\"1H\" idprofesor=\"" + id +
           "\"/>";
}
std::string aula(const std::string& codigo, const std::string& nombre, const std::string& cap,
                 const std::string& id) {
    return "<daula codigo=\"" + codigo + "\" nombre=\"" + nombre + "\" capacidad_alumnos=\"" + cap +
           "\" idaula=\"" + id + "\"/>";
}
std::string grupo(const std::string& codigo, const std::string& id,
                  const std::string& curso = "21") {
    return "<dgrupo codigo=\"" + codigo + "\" nombre=\"Grupo " + codigo +
           "\" codigo_nivel=\"ESO\" curso=\"1\" cgrupo=\"A\" idgrupo=\"" + id + "\" idcurso=\"" +
           curso + "\"/>";
}
std::string franja(const std::string& dia, const std::string& pos, const std::string& ini,
                   const std::string& fin) {
    return "<franjahoraria dia_semana=\"" + dia + "\" posicion=\"" + pos + "\" hora_inicio=\"" +
           ini + "\" hora_final=\"" + fin + "\"/>";
}
std::string asignatura(const std::string& g, const std::string& a, const std::string& p,
                       const std::string& horas, const std::string& conexion = "0") {
    return "<dasignatura cgrupo=\"" + g + "\" casig=\"" + a + "\" cprofe=\"" + p +
           "\" conexion=\"" + conexion + "\" nhoras=\"" + horas + "\"/>";
}

} // namespace

TEST_F(Exportar, CentroVacioCreaLasSeisTablasSinFilas) {
    exportar("");
    const std::map<std::string, std::vector<std::string>> campos = {
        {"ASIGNOMT", {"COD", "CODLARGO", "NOMBRE", "CODTAREA", "ESTAREA", "IDASIG"}},
        {"PROFT", {"ABREV", "NOMBRE", "DEPART", "EMAIL", "DNI", "IDPROF"}},
        {"AULAT", {"ABREV", "NOMBRE", "EDIFICIO", "MAXALUM", "IDAULA"}},
        {"GRUPOST",
         {"ABREV", "TURNO", "NIVEL", "CURSO", "GRUPO", "MARCO", "IDGRUPO", "IDCURSO", "DESCRIP",
          "TUTOR"}},
        {"DIASHORAST",
         {"DIHO", "CODDIHO", "DIA", "TEXTODIA", "HORA", "TEXTOHOR", "HORADESDE", "HORAHASTA",
          "MINUTOS", "MARCO", "MARCOXML", "SESION_ORDEN", "PLANTILLA"}},
        {"ASIGT",
         {"CASIG", "CPROF", "CGRUP", "CAULA", "TURNO", "NIVEL", "CURSO", "GRUPO", "HORAS",
          "SESIONES", "CTAREA", "NCONEX", "IDCURSO", "IDGRUP", "IDASIG", "IDPROF"}},
    };
    for (const auto& [t, esperados] : campos) {
        EXPECT_EQ(camposDe(tabla(t)), esperados) << t;
        EXPECT_TRUE(leerTabla(tabla(t)).empty()) << t;
    }
    // The tables, the report, the record of what they are, and the kept set (no table: there
    // was none before, as its record says); no staging folder left behind.
    std::set<std::string> nombres;
    for (const auto& [nombre, bytes] : instantanea(ktemp.ruta()))
        nombres.insert(nombre);
    EXPECT_EQ(nombres,
              (std::set<std::string>{
                  "ASIGNOMT.DBF", "PROFT.DBF", "AULAT.DBF", "GRUPOST.DBF", "DIASHORAST.DBF",
                  "ASIGT.DBF", "INFORME-PONTAVIA.TXT", ".pontavia-anterior", ".pontavia-conjunto",
                  (fs::path(".pontavia-anterior") / ".pontavia-conjunto").string()}));
    RegistroConjunto guardado;
    ASSERT_TRUE(
        leerRegistro(leerArchivo(ktemp / ".pontavia-anterior/.pontavia-conjunto"), guardado));
    EXPECT_EQ(guardado, RegistroConjunto{});
}

TEST_F(Exportar, TiposYAnchosDeLosCampos) {
    exportar("");
    TablaDBase aulas = TablaDBase::abrir(tabla("AULAT"), Durable::Si, discoDelSistema());
    EXPECT_EQ(aulas.campo("MAXALUM").tipo, 'N');
    EXPECT_EQ(aulas.campo("IDAULA").ancho, 20u);
    TablaDBase asignt = TablaDBase::abrir(tabla("ASIGT"), Durable::Si, discoDelSistema());
    EXPECT_EQ(asignt.campo("HORAS").tipo, 'N');
    EXPECT_EQ(asignt.campo("HORAS").decimales, 4);
    TablaDBase franjas = TablaDBase::abrir(tabla("DIASHORAST"), Durable::Si, discoDelSistema());
    EXPECT_EQ(franjas.formato().version, 0x04);
    EXPECT_EQ(franjas.campo("SESION_ORDEN").tipo, 'I');
    TablaDBase materias = TablaDBase::abrir(tabla("ASIGNOMT"), Durable::Si, discoDelSistema());
    EXPECT_EQ(materias.campo("ESTAREA").tipo, 'L');
    EXPECT_EQ(materias.campo("NOMBRE").ancho, 80u);
}

TEST_F(Exportar, UnSoloElementoTambienSeEscribe) {
    exportar("<materias>" + materia("MAT", "Matemáticas", "LECTIVA", "1") +
             "</materias>"
             "<profesores>" +
             profesor("ANA", "Ana", "417") +
             "</profesores>"
             "<aulas>" +
             aula("A1", "Aula 1", "30", "501") +
             "</aulas>"
             "<grupos>" +
             grupo("1ESOA", "301") +
             "</grupos>"
             "<franjashorarias>" +
             franja("1", "1", "08:00", "08:55") +
             "</franjashorarias>"
             "<asignaturas>" +
             asignatura("301", "1", "417", "3") + "</asignaturas>");
    for (const auto& t : kTablas)
        EXPECT_EQ(leerTabla(tabla(t)).size(), 1u) << t;
}

TEST_F(Exportar, Materias) {
    exportar("<materias>" + materia(" MATEMATICAS1 ", "Matemáticas I", "LECTIVA", "1") +
             materia("MATEMATICAS2", "Matemáticas II", "LECTIVA", "2") +
             materia("GUARDIA", "Guardia", "GUARDIA", "3") +
             materia("LEN", "Lengua Castellana", "LECTIVA", "4") +
             materia("LEN", "Lengua Castellana", "LECTIVA", "5") +
             materia("Mat", "Tutoría", "Mat", "6") + materia("", "Vacía", "", "7") +
             materia("MATEMATICA", "Matemáticas", "LECTIVA", "8") +
             materia("MATEMATICAS", "Matemáticas avanzadas", "LECTIVA", "9") + "</materias>");
    const auto f = leerTabla(tabla("ASIGNOMT"));
    std::vector<std::string> resumen;
    for (const auto& r : f)
        resumen.push_back(r.at("COD") + "|" + r.at("CODLARGO") + "|" + r.at("CODTAREA") + "|" +
                          r.at("ESTAREA") + "|" + r.at("IDASIG"));
    EXPECT_EQ(resumen, (std::vector<std::string>{
                           "MATEMATIS1|Matemática|LECTIVA|F|1",
                           "MATEMATIS2|Matemática|LECTIVA|F|2",
                           "LEN|Lengua Cas|LECTIVA|F|4",
                           "MATEMATICA|Matemática|LECTIVA|F|8",
                           "MATEMATIC1|Matemática|LECTIVA|F|9",
                           "GUARDIA|Guardia|GUARDIA|T|3",
                           "Mat|Tutoría|Mat|T|6",
                           "|Vacía||T|7",
                       }));
    EXPECT_EQ(f[0].at("NOMBRE"), "Matemáticas I");
}

// Teachers, rooms and groups: each table's codes made unique and short, and its other fields.
struct CasoColeccion {
    const char* nombre;
    std::string interior;
    const char* tabla;
    // Whole columns, in the rows' order.
    std::vector<std::pair<std::string, std::vector<std::string>>> columnas;
    // Single values: row, field, value.
    std::vector<std::tuple<std::size_t, std::string, std::string>> valores;
};

class ExportarColeccion : public Exportar, public ::testing::WithParamInterface<CasoColeccion> {};

TEST_P(ExportarColeccion, CodigosYCampos) {
    const auto& caso = GetParam();
    exportar(caso.interior);
    for (const auto& [campo, esperada] : caso.columnas)
        EXPECT_EQ(columna(tabla(caso.tabla), campo), esperada) << campo;
    const auto f = leerTabla(tabla(caso.tabla));
    for (const auto& [fila, campo, valor] : caso.valores) {
        ASSERT_LT(fila, f.size());
        EXPECT_EQ(f[fila].at(campo), valor) << fila << " " << campo;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Colecciones, ExportarColeccion,
    ::testing::Values(
        CasoColeccion{
            "Profesores",
            "<profesores>" + profesor(" ANA ", "Ana", "417") + profesor("ana", "Luis", "418") +
                profesor("ANA", "Eva", "419") + profesor("ABCDEFGHIJKL", "Largo", "420") +
                profesor("ABCDEFGHIJKX", "Largo2", "421") + profesor("Ángel", "Sin", "422", "") +
                profesor("ángel", "Con", "423") + profesor("angel", "Otro", "424") +
                "</profesores>",
            "PROFT",
            {{"ABREV",
              {"ANA", "ana1", "ANA2", "ABCDEFGH1", "ABCDEFGH2", "Ángel", "ángel1", "angel"}}},
            {{0, "NOMBRE", "Ana, García López"},
             {5, "NOMBRE", "Sin, García"},
             {0, "DNI", "1H"},
             {0, "IDPROF", "417"},
             {0, "DEPART", ""}}},
        CasoColeccion{"Aulas",
                      "<aulas>" + aula("A1", "Aula 1", "30", "501") +
                          aula("", "Laboratorio de Biología", "24", "502") +
                          aula("", "Laboratorio de Química", "", "503") +
                          aula("GIMNASIO-PRINCIPAL", "Gimnasio", " 200 ", "504") +
                          aula("GIMNASIO-SECUNDARIO", "Gimnasio pequeño", "90", "505") +
                          aula("Lab", "Lab", "1", "506") + aula("", "Lab 2", "1", "507") +
                          "</aulas>",
                      "AULAT",
                      {{"ABREV", {"A1", "Labo", "Labo1", "GIMNASIO1", "GIMNASIO2", "Lab", "Lab1"}},
                       {"MAXALUM", {"30", "24", "", "200", "90", "1", "1"}}},
                      {}},
        CasoColeccion{
            "Grupos",
            "<grupos>" + grupo("1ESOA", "301") + grupo("1esoa", "302") +
                grupo("2BACHILLERATOB", "303", "22") + grupo("2BACHILLEROB", "304") +
                grupo("ABCDEFGHIJ", "305") + grupo("ABCDEFGHIJ", "306") + "</grupos>",
            "GRUPOST",
            {{"ABREV", {"1ESOA", "1esoa1", "2BACHILLOB", "2BACHILL1", "ABCDEFGHIJ", "ABCDEFGHI1"}}},
            {{2, "IDCURSO", "22"},
             {2, "MARCO", "0"},
             {2, "TURNO", ""},
             {2, "DESCRIP", "Grupo 2BACHILLERATOB"}}}),
    [](const ::testing::TestParamInfo<CasoColeccion>& caso) { return caso.param.nombre; });

TEST_F(Exportar, CapacidadNoEnteraDetieneLaExportacion) {
    const std::string m = error("<aulas>" + aula("A1", "Aula", "30", "1") +
                                aula("A2", "Aula", "30.5", "2") + "</aulas>");
    EXPECT_EQ(m, "El elemento daula número 2 (idaula 2), atributo capacidad_alumnos: '30.5' is "
                 "not a valid integer value for field 'MAXALUM'");
}

// Many codes sharing their first 8 characters: every element still gets a code of its own
// of at most 10 characters, and the run ends (the search for a subject's code once went on
// for ever past the 99th).
struct CodigosCompartidos {
    const char* nombre;
    const char* coleccion;
    std::string (*elemento)(int i);
    const char* tabla;
    const char* campo;
};

class ExportarCodigosCompartidos : public Exportar,
                                   public ::testing::WithParamInterface<CodigosCompartidos> {};

TEST_P(ExportarCodigosCompartidos, TresMilElementosTresMilCodigos) {
    const auto& caso = GetParam();
    constexpr int kElementos = 3000;
    std::string interior = std::string("<") + caso.coleccion + ">";
    for (int i = 1; i <= kElementos; ++i)
        interior += caso.elemento(i);
    exportar(interior + "</" + caso.coleccion + ">");
    const auto codigos = columna(tabla(caso.tabla), caso.campo);
    ASSERT_EQ(codigos.size(), static_cast<std::size_t>(kElementos));
    for (const auto& c : codigos)
        EXPECT_LE(c.size(), 10u) << c;
    EXPECT_EQ(std::set<std::string>(codigos.begin(), codigos.end()).size(), codigos.size());
}

INSTANTIATE_TEST_SUITE_P(
    Colecciones, ExportarCodigosCompartidos,
    ::testing::Values(
        CodigosCompartidos{"MateriasNumeradas", "materias",
                           [](int i) {
                               const std::string n = std::to_string(i);
                               return materia("RELIGION" + n, "Religión " + n, "LECTIVA", n);
                           },
                           "ASIGNOMT", "COD"},
        CodigosCompartidos{"MateriasDelMismoCodigo", "materias",
                           [](int i) {
                               const std::string n = std::to_string(i);
                               return materia("RELIGIONES", "Religión " + n, "LECTIVA", n);
                           },
                           "ASIGNOMT", "COD"},
        CodigosCompartidos{"ProfesoresNumerados", "profesores",
                           [](int i) {
                               const std::string n = std::to_string(i);
                               return profesor("PROFESOR" + n, "P" + n, n);
                           },
                           "PROFT", "ABREV"},
        CodigosCompartidos{"ProfesoresDelMismoCodigo", "profesores",
                           [](int i) { return profesor("PROFESORAB", "P", std::to_string(i)); },
                           "PROFT", "ABREV"},
        CodigosCompartidos{"AulasNumeradas", "aulas",
                           [](int i) {
                               const std::string n = std::to_string(i);
                               return aula("LABORATO" + n, "Aula " + n, "30", n);
                           },
                           "AULAT", "ABREV"},
        CodigosCompartidos{
            "AulasDelMismoCodigoLargo", "aulas",
            [](int i) { return aula("LABORATORIO-DE-QUIMICA", "Aula", "30", std::to_string(i)); },
            "AULAT", "ABREV"},
        CodigosCompartidos{
            "GruposNumerados", "grupos",
            [](int i) { return grupo("1ESOGRUPO" + std::to_string(i), std::to_string(i)); },
            "GRUPOST", "ABREV"},
        CodigosCompartidos{"GruposDelMismoCodigoLargo", "grupos",
                           [](int i) { return grupo("1ESOGRUPOAB", std::to_string(i)); }, "GRUPOST",
                           "ABREV"}),
    [](const ::testing::TestParamInfo<CodigosCompartidos>& caso) { return caso.param.nombre; });

TEST_F(Exportar, Franjas) {
    exportar("<franjashorarias>" + franja("2", "3", "10:05", "11:00") +
             franja(" 5 ", "07", "13:30", "14:25") + franja("1", "03", "08:00", "08:55") +
             franja("1", "1", "10:00", "09:30") + franja("3", "1", "08:00:00", "08:55:00") +
             franja("-1", "3", "08:00", "08:3") + franja("1", "12", "08:00", "09:00") +
             "</franjashorarias>");
    const auto f = leerTabla(tabla("DIASHORAST"));
    ASSERT_EQ(f.size(), 7u);
    EXPECT_EQ(f[0], (Fila{{"DIHO", "23"},
                          {"CODDIHO", ""},
                          {"DIA", "2"},
                          {"TEXTODIA", "Martes"},
                          {"HORA", "3"},
                          {"TEXTOHOR", "3-10:05-11:00"},
                          {"HORADESDE", "10:05"},
                          {"HORAHASTA", "11:00"},
                          {"MINUTOS", "55"},
                          {"MARCO", "0"},
                          {"MARCOXML", ""},
                          {"SESION_ORDEN", "3"},
                          {"PLANTILLA", ""}}));
    EXPECT_EQ(f[1].at("DIHO"), "57");
    EXPECT_EQ(f[1].at("TEXTODIA"), "Viernes");
    EXPECT_EQ(f[2].at("DIHO"), "13");
    EXPECT_EQ(f[2].at("HORADESDE"), "08:00");
    EXPECT_EQ(f[3].at("MINUTOS"), "-30");
    EXPECT_EQ(f[4].at("MINUTOS"), "55");
    EXPECT_EQ(f[4].at("TEXTOHOR"), "1-08:00:00-08:5");
    EXPECT_EQ(f[5].at("DIHO"), "-13");
    EXPECT_EQ(f[5].at("TEXTODIA"), "");
    EXPECT_EQ(f[5].at("MINUTOS"), "3"); // 08:3 is 3 minutes past 8
    EXPECT_EQ(f[6].at("DIHO"), "112");
    EXPECT_EQ(f[4].at("TEXTODIA"), "Miércoles");
}

TEST_F(Exportar, FranjasConHoraMalEscrita) {
    for (const auto& [ini, pieza] : std::vector<std::pair<std::string, std::string>>{
             {"8:30", "8:"}, {"08:", ""}, {"ab:00", "ab"}}) {
        EXPECT_EQ(
            error("<franjashorarias>" + franja("1", "1", ini, "09:00") + "</franjashorarias>"),
            "El elemento franjahoraria número 1, atributo hora_inicio: '" + pieza +
                "' is not a valid integer value");
    }
}

TEST_F(Exportar, Asignaturas) {
    exportar("<materias>" + materia("MAT", "Matemáticas", "LECTIVA", "3310") +
             "</materias>"
             "<profesores>" +
             profesor("ANA", "Ana", "417") +
             "</profesores>"
             "<grupos>" +
             grupo("1ESOA", "1205") +
             "</grupos>"
             "<asignaturas>" +
             asignatura("1205", "3310", "417", "4") +
             asignatura("1205", "3310", "999", "16", "12345") +
             asignatura("999", "3310", "417", "0") + asignatura("1205", "8888", "417", "2") +
             asignatura("1205", "3310", "417", "-2") + asignatura("1205", "3310", "417", "13") +
             asignatura("1205", "3310", "417", "14") + "</asignaturas>");
    const auto f = leerTabla(tabla("ASIGT"));
    ASSERT_EQ(f.size(), 6u);
    EXPECT_EQ(f[0], (Fila{{"CASIG", "MAT"},
                          {"CPROF", "ANA"},
                          {"CGRUP", "1ESOA"},
                          {"CAULA", ""},
                          {"TURNO", ""},
                          {"NIVEL", "ESO"},
                          {"CURSO", "1"},
                          {"GRUPO", "A"},
                          {"HORAS", "4.0000"},
                          {"SESIONES", "1111"},
                          {"CTAREA", "LECTIVA"},
                          {"NCONEX", "0"},
                          {"IDCURSO", "21"},
                          {"IDGRUP", "1205"},
                          {"IDASIG", "3310"},
                          {"IDPROF", "417"}}));
    EXPECT_EQ(f[1].at("CPROF"), "");
    EXPECT_EQ(f[1].at("IDPROF"), "999");
    EXPECT_EQ(f[1].at("SESIONES"), "31111111111111");
    EXPECT_EQ(f[1].at("NCONEX"), "1234");
    EXPECT_EQ(f[2].at("CGRUP"), "");
    EXPECT_EQ(f[2].at("IDCURSO"), "");
    EXPECT_EQ(f[2].at("IDGRUP"), "999");
    EXPECT_EQ(f[2].at("HORAS"), "1.0000");
    EXPECT_EQ(f[2].at("SESIONES"), "1½");
    EXPECT_EQ(f[3].at("HORAS"), "-2.0000");
    EXPECT_EQ(f[3].at("SESIONES"), "");
    EXPECT_EQ(f[4].at("SESIONES"), std::string(13, '1'));
    EXPECT_EQ(f[5].at("SESIONES"), "1" + std::string(13, '1'));
}

TEST_F(Exportar, HorasConDecimalesSegunLaConfiguracionRegional) {
    LocaleTemporal es("es_ES.UTF-8");
    const std::string base =
        "<materias>" + materia("MAT", "M", "L", "1") + "</materias><asignaturas>";
    exportar(base + asignatura("1", "1", "1", "2,5") + asignatura("1", "1", "1", "3,0") +
             asignatura("1", "1", "1", "0,5") + "</asignaturas>");
    EXPECT_EQ(columna(tabla("ASIGT"), "SESIONES"), (std::vector<std::string>{"11½", "111", "½"}));
    EXPECT_EQ(columna(tabla("ASIGT"), "HORAS"),
              (std::vector<std::string>{"2.5000", "3.0000", "0.5000"}));
    EXPECT_EQ(error(base + asignatura("1", "1", "1", "2.5") + "</asignaturas>"),
              "El elemento dasignatura número 1, atributo nhoras: '2.5' is not a valid floating "
              "point value");
}

// A file labelled ISO-8859-1 but written by a Windows program carries Windows' quotes and
// dashes in bytes 0x80 to 0x9F: they reach the tables as they were typed. A character
// windows-1252 lacks is written as its nearest one, and the report says what was written.
TEST_F(Exportar, NombresComoSeEscribieron) {
    escribirArchivo(
        datos / "centro.xml",
        "<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?>\n"
        "<centro codigo_interno=\"1\" nombre=\"IES Prueba\" curso=\"2026/2027\" version=\"1\">"
        "<materias><dmateria codigo=\"MUS\" nombre=\"\x93M\xFAsica\x94 \x97 \x91"
        "cl\xE1sica\x92\" "
        "codigo_actividad=\"LECTIVA\" idmateria=\"1\"/></materias>"
        "<profesores><profesor codigo=\"JL\" nombre=\"Javier\" apellido1=\"&#321;ukaszewicz\" "
        "apellido2=\"Erd&#337;s\" documento=\"1H\" idprofesor=\"2\"/></profesores>"
        "</centro>\n");
    pontavia::exportar(datos / "centro.xml", ktemp.ruta(), informe);
    EXPECT_EQ(columna(tabla("ASIGNOMT"), "NOMBRE"),
              (std::vector<std::string>{"“Música” — ‘clásica’"}));
    EXPECT_EQ(columna(tabla("PROFT"), "NOMBRE"),
              (std::vector<std::string>{"Javier, Lukaszewicz Erdos"}));
    const std::string escrito = informe.contenidoArchivo();
    EXPECT_NE(escrito.find("\"Javier, Łukaszewicz Erdős\" -> \"Javier, Lukaszewicz Erdos\""),
              std::string::npos)
        << escrito;
    EXPECT_EQ(escrito.find("Música"), std::string::npos) << escrito;
}

TEST_F(Exportar, UnaSegundaEjecucionEscribeLasMismasTablas) {
    const std::string interior = "<materias>" + materia("MAT", "M", "L", "1") +
                                 materia("MAT", "M", "L", "2") + "</materias><profesores>" +
                                 profesor("A", "A", "1") + profesor("a", "B", "2") +
                                 "</profesores>";
    exportar(interior);
    const auto primera = tablasEn(ktemp.ruta());
    exportar(interior);
    EXPECT_EQ(tablasEn(ktemp.ruta()), primera);
}

// A file that is not there, or no name at all (a dialog cancelled before any choice): the
// input is missing, and neither the dry run nor exportar writes anything.
TEST_F(Exportar, ArchivoQueNoExiste) {
    for (const fs::path& xml : {datos / "no-existe.xml", fs::path()}) {
        SCOPED_TRACE(xml.string());
        EXPECT_EQ(desenlace([&] { pontavia::exportar(xml, ktemp.ruta(), informe); }),
                  kFaltaEntrada);
        EXPECT_EQ(desenlace([&] { comprobar(xml, informe); }), kFaltaEntrada);
        EXPECT_TRUE(fs::is_empty(ktemp.ruta()));
        EXPECT_TRUE(fs::is_empty(datos.ruta()));
    }
}

// Any failure leaves Tamberlo's folder byte for byte as it was, and no staging folder.
TEST_F(Exportar, TodoONada) {
    exportar("<profesores>" + profesor("A", "A", "1") + profesor("B", "B", "2") + "</profesores>");
    escribirArchivo(ktemp / "PROFT.MDX", "indice antiguo");
    const auto antes = instantanea(ktemp.ruta());
    const std::string tablasBuenas = "<materias>" + materia("MAT", "M", "L", "1") + "</materias>";
    const std::vector<std::pair<std::string, std::string>> casos = {
        {"número no válido",
         tablasBuenas + "<asignaturas>" + asignatura("1", "1", "1", "x") + "</asignaturas>"},
        {"atributo ausente",
         tablasBuenas + "<grupos><dgrupo codigo=\"A\" idgrupo=\"9\"/></grupos>"},
        {"hora mal escrita", tablasBuenas + "<franjashorarias>" + franja("1", "1", "8:30", "9:00") +
                                 "</franjashorarias>"},
    };
    for (const auto& [nombre, interior] : casos) {
        SCOPED_TRACE(nombre);
        EXPECT_NE(error(interior), "");
        EXPECT_EQ(instantanea(ktemp.ruta()), antes);
    }
    EXPECT_NE(error(tablasBuenas +
                    "<grupos><dgrupo codigo=\"A\" nombre=\"n\" codigo_nivel=\"E\" curso=\"1\" "
                    "cgrupo=\"A\" idcurso=\"2\"/></grupos>"),
              "");
}

TEST_F(Exportar, AtributoAusenteNombraElElemento) {
    EXPECT_EQ(error("<profesores>" + profesor("A", "A", "1") +
                    "<profesor codigo=\"B\" nombre=\"B\" apellido1=\"x\" apellido2=\"y\" "
                    "idprofesor=\"77\"/></profesores>"),
              "El elemento profesor número 2 (idprofesor 77) no tiene el atributo documento.");
}

TEST_F(Exportar, ReemplazaTablasDeNombreEnMinusculasYQuitaIndicesViejos) {
    exportar("");
    // By way of another name: Wine keeps the old case on a rename that only changes case.
    fs::rename(tabla("PROFT"), ktemp / "proft.tmp");
    fs::rename(ktemp / "proft.tmp", ktemp / "proft.dbf");
    escribirArchivo(ktemp / "asignomt.mdx", "x");
    escribirArchivo(ktemp / "DIASHORAST.MDX", "x");
    exportar("<profesores>" + profesor("A", "A", "1") + "</profesores>");
    const auto archivos = instantanea(ktemp.ruta());
    EXPECT_TRUE(archivos.count("proft.dbf"));
    EXPECT_FALSE(archivos.count("PROFT.DBF"));
    EXPECT_FALSE(archivos.count("asignomt.mdx"));
    EXPECT_TRUE(archivos.count("DIASHORAST.MDX"));
    EXPECT_EQ(leerTabla(ktemp / "proft.dbf").size(), 1u);
}

// A disk that fills up after any number of bytes, every one of them, leaves Tamberlo's folder
// as it was.
TEST_F(Exportar, DiscoLlenoEnCualquierPuntoNoCambiaNada) {
    const std::string interior = "<materias>" + materia("MAT", "M", "L", "1") +
                                 "</materias><profesores>" + profesor("A", "A", "1") +
                                 "</profesores><franjashorarias>" +
                                 franja("1", "1", "08:00", "09:00") + "</franjashorarias>";
    exportar(interior);
    const auto antes = instantanea(ktemp.ruta());
    std::size_t total = 0;
    for (const auto& [nombre, bytes] : antes)
        total += bytes.size();
    for (std::size_t limite = 0; limite < total; ++limite) {
        SCOPED_TRACE(limite);
        DiscoConFallos disco;
        disco.limitarEscritura(limite);
        EXPECT_FALSE(
            exportarEn(disco, interior + "<aulas>" + aula("B", "B", "1", "9") + "</aulas>"));
        EXPECT_EQ(instantanea(ktemp.ruta()), antes);
    }
}

// The k-th file operation of a run fails, whatever it is, for every k: Tamberlo's folder is as it
// was, or, once the move has passed its point of no return, wholly the new set. A removal
// that fails may leave a staging folder, which the next run clears; nothing else.
TEST_F(Exportar, FalloEnCadaPasoDeLaSustitucion) {
    const std::string interior = "<materias>" + materia("MAT", "M", "L", "1") +
                                 "</materias><profesores>" + profesor("A", "A", "1") +
                                 "</profesores>";
    exportar(interior);
    exportar(interior + "<aulas>" + aula("B", "B", "1", "9") + "</aulas>");
    const auto antes = instantanea(ktemp.ruta());
    ASSERT_TRUE(antes.count(kCarpetaAnterior));
    const std::vector<std::pair<std::string, std::function<void(Disco&)>>> corridas = {
        {"exportar",
         [&](Disco& disco) {
             escribirArchivo(datos / "centro.xml",
                             documento(interior + "<grupos>" + grupo("G", "7") + "</grupos>"));
             pontavia::exportar(datos / "centro.xml", ktemp.ruta(), informe, disco);
         }},
        {"restaurar", [&](Disco& disco) { restaurar(ktemp.ruta(), disco); }},
    };
    for (const auto& [nombre, correr] : corridas) {
        SCOPED_TRACE(nombre);
        reponer(ktemp.ruta(), antes);
        std::size_t pasos = 0;
        {
            DiscoConFallos cuenta;
            cuenta.fallarEnPaso(0);
            correr(cuenta);
            pasos = cuenta.pasos();
        }
        const auto nuevo = sinFecha(instantanea(ktemp.ruta()));
        ASSERT_NE(nuevo, sinFecha(antes));
        std::size_t comoAntes = 0;
        for (std::size_t k = 1; k <= pasos; ++k) {
            SCOPED_TRACE(k);
            reponer(ktemp.ruta(), antes);
            bool fallo = false;
            {
                DiscoConFallos disco;
                disco.fallarEnPaso(k);
                try {
                    correr(disco);
                } catch (const Error&) {
                    fallo = true;
                }
            }
            {
                // What the next run does first.
                CarpetaPreparacion siguienteCorrida(discoDelSistema(), ktemp.ruta());
            }
            const auto ahora = instantanea(ktemp.ruta());
            if (ahora == antes) {
                EXPECT_TRUE(fallo);
                ++comoAntes;
            } else {
                EXPECT_EQ(sinFecha(ahora), nuevo);
            }
        }
        EXPECT_GT(comoAntes, 0u);
    }
}

// Durability without waiting for other programs' data: every table of the new set is flushed
// once, by name, before the first name in Tamberlo's folder changes; the folder's names are
// flushed after the last table has moved in; the report and the records of the new set and of
// the kept one flush themselves; the second names of the tables replaced, the record of the
// move and the staging folder's names are made safe before the first name changes. Nothing
// else waits.
TEST_F(Exportar, CadaTablaEnDiscoAntesDeCambiarLosNombres) {
    exportar("");
    DiscoConFallos disco;
    ASSERT_TRUE(exportarEn(disco, "<profesores>" + profesor("A", "A", "1") + "</profesores>"));
    const auto& registro = disco.registro();
    const auto enKtemp = [&](const fs::path& ruta) { return ruta.parent_path() == ktemp.ruta(); };
    std::size_t primerCambio = registro.size();
    std::size_t ultimaEntrada = 0;
    for (std::size_t i = 0; i < registro.size(); ++i) {
        const auto& op = registro[i];
        if (op.nombre != "reemplazar" || !(enKtemp(op.ruta) || enKtemp(op.hasta))) continue;
        primerCambio = std::min(primerCambio, i);
        if (enKtemp(op.hasta) && op.hasta.extension() == ".DBF") ultimaEntrada = i;
    }
    ASSERT_LT(primerCambio, registro.size());

    std::multiset<std::string> vaciadas;
    std::size_t esperas = 0;
    std::size_t entradasVaciadas = registro.size();
    for (std::size_t i = 0; i < registro.size(); ++i) {
        const auto& op = registro[i];
        if (op.nombre == "vaciarArchivo") {
            EXPECT_LT(i, primerCambio) << op.ruta;
            vaciadas.insert(op.ruta.filename().string());
        }
        if (op.nombre == "vaciarEntradas" && op.ruta == ktemp.ruta()) entradasVaciadas = i;
        if (op.nombre.rfind("vaciar", 0) == 0) ++esperas;
    }
    std::multiset<std::string> tablas;
    for (const auto& t : kTablas)
        tablas.insert(t + ".DBF");
    EXPECT_EQ(vaciadas, tablas);
    EXPECT_GT(entradasVaciadas, ultimaEntrada);
    EXPECT_LT(entradasVaciadas, registro.size());
    // The tables, the folder, the report, the second names, the record, the staging folder,
    // and the records of the two sets.
    EXPECT_EQ(esperas, kTablas.size() + 7);
}
