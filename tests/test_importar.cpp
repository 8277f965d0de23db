// The importar run: each dsolucion rule, SOLUC in the III and level 7 layouts, missing input,
// failures that write nothing, and the round trip of the sample school.
#include "ayudantes.h"
#include "disco_con_fallos.h"
#include "error.h"
#include "esquema_tamberlo.h"
#include "procedencia_de_prueba.h"

#include <algorithm>
#include <cctype>
#include <gtest/gtest.h>
#include <pugixml.hpp>
#include <string_view>

using namespace pontavia;
using namespace pontavia::prueba;

namespace {

const char* kCentro =
    "<materias>"
    "<dmateria codigo=\"MAT\" nombre=\"Matemáticas\" codigo_actividad=\"LECTIVA\" "
    "idmateria=\"3310\"/>"
    "<dmateria codigo=\"LECTIVA\" nombre=\"Lectiva\" codigo_actividad=\"LECTIVA\" "
    "idmateria=\"9001\"/>"
    "<dmateria codigo=\"TUTO\" nombre=\"Tutoría\" codigo_actividad=\"TUTORIA\" "
    "idmateria=\"TUTO77\"/>"
    "</materias><profesores>"
    "<profesor codigo=\"ANA\" nombre=\"Ana\" apellido1=\"a\" apellido2=\"b\" documento=\"1\" "
    "idprofesor=\"417\"/>"
    "</profesores><aulas>"
    "<daula codigo=\"A1\" nombre=\"Aula 1\" capacidad_alumnos=\"30\" idaula=\"501\"/>"
    "</aulas><grupos>"
    "<dgrupo codigo=\"1ESOA\" nombre=\"1A\" codigo_nivel=\"ESO\" curso=\"1\" cgrupo=\"A\" "
    "idgrupo=\"1205\" idcurso=\"21\"/>"
    "</grupos>";

// One SOLUC record, its fields in the described order: DIA, HORA, SESIONES, CODGRUPO, ASIG,
// TAREA, PROF, AULA.
using Leccion = std::vector<std::string>;

class Importar : public ::testing::Test {
  protected:
    CarpetaTemporal ktemp;
    CarpetaTemporal datos;
    const fs::path xml = datos / "centro.xml";
    Informe informe;

    void SetUp() override {
        escribirArchivo(
            xml, "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<!-- de VELMORA -->\n"
                 "<centro codigo_interno=\" 28 \" nombre=\"IES Ñ\" curso=\"2026\" version=\"3\" "
                 "otro=\"x\">" +
                     std::string(kCentro) + "</centro>\n");
        exportar(xml, ktemp.ruta(), informe);
    }

    // Runs importar on the school's file; its error goes on.
    void importar() { pontavia::importar(xml, ktemp.ruta(), informe); }

    // SOLUC with the given field types for DIA and HORA.
    void soluc(const std::vector<Leccion>& lecciones, TipoCampo tipoNumero = TipoCampo::Entero,
               bool nivel7 = false) {
        std::vector<DefinicionCampo> campos = {{nivel7 ? "DIA_SEMANAL" : "DIA", tipoNumero, 4},
                                               {"HORA", tipoNumero, 4},
                                               {"SESIONES", TipoCampo::Texto, 20},
                                               {"CODGRUPO", TipoCampo::Texto, 10},
                                               {"ASIG", TipoCampo::Texto, 10},
                                               {"TAREA", TipoCampo::Texto, 10},
                                               {"PROF", TipoCampo::Texto, 10},
                                               {"AULA", TipoCampo::Texto, 10}};
        if (nivel7)
            campos.push_back({"DIA", tipoNumero, 4}); // a long name forces the level 7 layout
        const auto ruta = ktemp / "SOLUC.DBF";
        crearTabla(ruta, campos);
        TablaDBase t = TablaDBase::abrir(ruta, Durable::Si, discoDelSistema());
        const auto& nombres = tamberlo::SOLUC.campos;
        for (const auto& l : lecciones) {
            t.empezarRegistro();
            for (std::size_t i = 0; i < l.size(); ++i) {
                if (i < 2 && tipoNumero == TipoCampo::Decimal) {
                    if (!l[i].empty())
                        asignarDecimal(t, NombreCampo::deTexto(nombres[i].nombre), std::stod(l[i]));
                } else {
                    asignarTexto(t, NombreCampo::deTexto(nombres[i].nombre), l[i]);
                }
            }
            t.guardarRegistro();
        }
        t.cerrar();
    }

    fs::path resultado() { return datos / "ResultadoTamberlocentro.xml"; }

    // The dsolucion elements of the result, each as "attr=value ..." in their order.
    std::vector<std::string> dsoluciones() {
        pugi::xml_document d;
        EXPECT_TRUE(d.load_file(resultado().c_str()));
        std::vector<std::string> r;
        for (auto n : d.select_nodes("/centro/solucion_horario/dsolucion")) {
            std::string s;
            for (auto a : n.node().attributes())
                s += std::string(s.empty() ? "" : " ") + a.name() + "=" + a.value();
            r.push_back(s);
        }
        return r;
    }
};

} // namespace

TEST_F(Importar, CadaReglaDeDsolucion) {
    soluc({{"1", "2", "1", "1ESOA", "MAT", "LECT", "ANA", "A1"}, // all found; LECT to LECTIVA's id
           {"0", "2", "1", "1ESOA", "MAT", "LECT", "ANA", "A1"}, // day 0: not placed
           {"1", "0", "1", "1ESOA", "MAT", "LECT", "ANA", "A1"}, // hour 0
           {"", "3", "1", "1ESOA", "MAT", "LECT", "ANA", "A1"},  // empty day
           {"2", "3", "1", "1ESOA", "NOESTA", "LECT", "ANA", "A1"}, // unknown subject: dropped
           {"2", "4", "11", "ZZ", "MAT", "GUAR", "XX", "YY"},       // unknown group, teacher, room
           {"3", "5", "1", "1ESOA", "TUTO", "TUTO", "ANA", "A1"},   // TAREA = first 4 of casig
           {"3", "6", "1", "1ESOA", "MAT", "lect", "ANA", "A1"},    // lower case: not translated
           {"3", "6", "1", "1ESOA", "MAT", "lect", "ANA", "A1"}});  // duplicates kept
    importar();
    EXPECT_EQ(
        dsoluciones(),
        (std::vector<std::string>{
            "casig=3310 cgrupo=1205 cprofe=417 caula=501 cactiv=9001 dia=1 hora=2 sesiones=1 "
            "idcurso=21",
            "casig=3310 cgrupo= cprofe= caula= cactiv=GUARDIA dia=2 hora=4 sesiones=11 idcurso=",
            "casig=TUTO77 cgrupo=1205 cprofe=417 caula=501 cactiv=TUTO77 dia=3 hora=5 sesiones=1 "
            "idcurso=21",
            "casig=3310 cgrupo=1205 cprofe=417 caula=501 cactiv=lect dia=3 hora=6 sesiones=1 "
            "idcurso=21",
            "casig=3310 cgrupo=1205 cprofe=417 caula=501 cactiv=lect dia=3 hora=6 sesiones=1 "
            "idcurso=21",
        }));
}

// What the rules leave out or cannot translate is in the report; blank codes ask for nothing.
TEST_F(Importar, InformeDeLoQueNoPasa) {
    soluc({{"1", "2", "1", "1ESOA", "MAT", "LECT", "ANA", "A1"},
           {"0", "2", "1", "1ESOA", "MAT", "LECT", "ANA", "A1"},
           {"1", "0", "1", "1ESOA", "MAT", "LECT", "ANA", "A1"},
           {"2", "3", "1", "1ESOA", "NOESTA", "LECT", "ANA", "A1"},
           {"2", "4", "1", "ZZ", "MAT", "GUAR", "XX", "YY"},
           {"3", "5", "1", "1ESOA", "TUTO", "TUTO", "", ""},
           {"3", "6", "1", "", "MAT", "", "ANA", "A1"}});
    importar();
    std::vector<std::string> avisos;
    for (const auto& a : avisosLeidos(informe))
        avisos.push_back(a.tabla + " " + a.tipo + " " + a.elemento + " " + a.campo + "=" + a.valor);
    // Each lesson by the names of what its codes find: the subject, group and teacher.
    const std::string completa =
        "la lección «Matemáticas» del grupo «1A» con el profesor «Ana a b»";
    EXPECT_EQ(avisos, (std::vector<std::string>{
                          "SOLUC omitido " + completa + " (registro 2) DIA=0",
                          "SOLUC omitido " + completa + " (registro 3) HORA=0",
                          "SOLUC omitido la lección del grupo «1A» con el profesor «Ana a b» "
                          "(registro 4) ASIG=NOESTA",
                          "SOLUC sin correspondencia la lección «Matemáticas» (registro 5) "
                          "CODGRUPO=ZZ",
                          "SOLUC sin correspondencia la lección «Matemáticas» (registro 5) "
                          "TAREA=GUARDIA",
                          "SOLUC sin correspondencia la lección «Matemáticas» (registro 5) PROF=XX",
                          "SOLUC sin correspondencia la lección «Matemáticas» (registro 5) AULA=YY",
                      }));
    EXPECT_EQ(informe.filas(),
              (std::vector<std::pair<std::string, std::size_t>>{{"SOLUC", 7}, {"dsolucion", 4}}));
    EXPECT_EQ(leerArchivo(ktemp / kNombreInformeImportar), informe.contenidoArchivo());
}

// Lookup tables with only the fields the run reads (no names beside the codes): the lessons
// still go through, and an item names its lesson by its record.
TEST_F(Importar, TablasSinNombresNombranLaLeccionPorSuRegistro) {
    using Fila = std::vector<std::pair<const char*, const char*>>;
    auto tabla = [&](const char* archivo, const Fila& fila) {
        std::vector<DefinicionCampo> campos;
        for (const auto& [campo, valor] : fila)
            campos.push_back({campo, TipoCampo::Texto, 10});
        crearTabla(ktemp / archivo, campos);
        TablaDBase t = TablaDBase::abrir(ktemp / archivo, Durable::Si, discoDelSistema());
        t.empezarRegistro();
        for (const auto& [campo, valor] : fila)
            asignarTexto(t, NombreCampo::deTexto(campo), valor);
        t.guardarRegistro();
        t.cerrar();
    };
    tabla("ASIGNOMT.DBF", {{"COD", "MAT"}, {"IDASIG", "3310"}});
    tabla("GRUPOST.DBF", {{"ABREV", "1ESOA"}, {"IDGRUPO", "1205"}, {"IDCURSO", "21"}});
    tabla("PROFT.DBF", {{"ABREV", "ANA"}, {"IDPROF", "417"}});
    soluc({{"0", "2", "1", "1ESOA", "MAT", "LECT", "ANA", "A1"},
           {"1", "2", "1", "1ESOA", "MAT", "", "ANA", "A1"}});
    importar();
    const auto avisos = avisosLeidos(informe);
    ASSERT_EQ(avisos.size(), 1u);
    EXPECT_EQ(avisos[0].elemento, "registro 1");
    EXPECT_EQ(dsoluciones().size(), 1u);
}

TEST_F(Importar, CabeceraYPrologo) {
    soluc({});
    importar();
    const std::string r = leerArchivo(resultado());
    EXPECT_EQ(r.rfind("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<!-- de VELMORA -->\n<centro "
                      "codigo_interno=\"28\" nombre=\"IES Ñ\" curso=\"2026\" fecha_exportacion=\"",
                      0),
              0u)
        << r;
    pugi::xml_document d;
    ASSERT_TRUE(d.load_string(r.c_str()));
    const auto centro = d.document_element();
    EXPECT_EQ(std::distance(centro.attributes_begin(), centro.attributes_end()), 5);
    EXPECT_EQ(std::string(centro.last_attribute().name()), "version");
    EXPECT_EQ(std::distance(centro.begin(), centro.end()), 1);
    EXPECT_EQ(std::string(centro.first_child().name()), "solucion_horario");
    EXPECT_FALSE(centro.first_child().first_child());
}

// A large file is checked while the timetable is written: the result still keeps the prolog,
// the root's attributes in the file's encoding, and what follows the root, whether the root
// is empty or not. A small file of the same shape, read in one pass, gives the same result.
TEST_F(Importar, ArchivoGrandeConLoQueSigueALaRaiz) {
    struct Caso {
        const char* nombre;
        std::string declaracion, raiz, cola;
        bool vacia;
    };
    const std::string atributos = "codigo_interno=\"28\" curso=\"2026\" version=\"3\"";
    const std::vector<Caso> casos = {
        {"UTF-8", "<?xml version=\"1.0\" encoding=\"UTF-8\"?>", "nombre=\"IES \xC3\x91\"",
         "<!-- fin -->\n<?marca datos?>\n", false},
        {"UTF-8 con BOM, raíz vacía", "\xEF\xBB\xBF<?xml version=\"1.0\"?>",
         "nombre=\"IES \xC3\x91\"", "\n<!-- fin -->", true},
        {"ISO-8859-1", "<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?>", "nombre=\"IES \xD1\"",
         "<!-- fin --><?marca datos?>", false},
        {"ISO-8859-1, raíz vacía, nada detrás", "<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?>",
         "nombre=\"IES \xD1\"", "", true},
    };
    soluc({{"1", "2", "1", "1ESOA", "MAT", "LECT", "ANA", "A1"}});
    // The result without its date, which changes from run to run.
    auto resultadoSinFecha = [&] {
        std::string r = leerArchivo(resultado());
        const std::size_t f = r.find(" fecha_exportacion=\"");
        return r.erase(f, r.find('"', f + 21) + 1 - f);
    };
    for (const auto& c : casos) {
        SCOPED_TRACE(c.nombre);
        auto archivo = [&](std::size_t relleno) {
            const std::string comentario = "<!--" + std::string(relleno, 'x') + "-->";
            const std::string raiz = "<centro " + atributos + " " + c.raiz;
            return c.declaracion + "\n" +
                   (c.vacia ? comentario + raiz + "/>" : raiz + ">" + comentario + "</centro>") +
                   c.cola;
        };
        // Past the size worth a thread of its own, then well under it.
        escribirArchivo(xml, archivo(std::size_t{1} << 20));
        importar();
        std::string grande = resultadoSinFecha();
        escribirArchivo(xml, archivo(10));
        importar();
        const std::string pequeno = resultadoSinFecha();
        if (c.vacia)
            grande.replace(grande.find("<!--"), (std::size_t{1} << 20) + 7, "<!--xxxxxxxxxx-->");
        EXPECT_EQ(grande, pequeno);
        EXPECT_NE(pequeno.find(c.cola.empty() ? "</centro>\n" : "</centro>\n<!-- fin -->\n"),
                  std::string::npos)
            << pequeno;
    }
}

TEST_F(Importar, FechaConLosFormatosDeLaConfiguracionRegional) {
    LocaleTemporal es("es_ES.UTF-8");
    soluc({});
    importar();
    pugi::xml_document d;
    ASSERT_TRUE(d.load_file(resultado().c_str()));
    const std::string fecha = d.document_element().attribute("fecha_exportacion").value();
    // Each 9 a digit.
    auto tieneForma = [&](std::string_view forma) {
        return fecha.size() == forma.size() &&
               std::equal(forma.begin(), forma.end(), fecha.begin(), [](char f, char c) {
                   return f == '9' ? std::isdigit(static_cast<unsigned char>(c)) != 0 : f == c;
               });
    };
#ifdef _WIN32
    // es-ES on Windows: dd/mm/yyyy H:mm:ss, the hour with one digit before ten.
    EXPECT_TRUE(tieneForma("99/99/9999 99:99:99") || tieneForma("99/99/9999 9:99:99")) << fecha;
#else
    // es_ES: dd/mm/yy hh:mm:ss
    EXPECT_TRUE(tieneForma("99/99/99 99:99:99")) << fecha;
#endif
}

TEST_F(Importar, SolucEnDistintosFormatosYTipos) {
    struct Caso {
        const char* nombre;
        TipoCampo tipo;
        bool nivel7;
    };
    for (const Caso& c : {Caso{"III con N", TipoCampo::Entero, false},
                          Caso{"III con decimales", TipoCampo::Decimal, false},
                          Caso{"III con texto", TipoCampo::Texto, false},
                          Caso{"nivel 7 con I", TipoCampo::Entero, true},
                          Caso{"nivel 7 con O", TipoCampo::Decimal, true}}) {
        SCOPED_TRACE(c.nombre);
        soluc({{"3", "4", "1", "1ESOA", "MAT", "LECT", "ANA", "A1"},
               {"0", "4", "1", "1ESOA", "MAT", "LECT", "ANA", "A1"}},
              c.tipo, c.nivel7);
        importar();
        const auto d = dsoluciones();
        ASSERT_EQ(d.size(), 1u);
        EXPECT_NE(d[0].find("dia=3 hora=4 sesiones=1"), std::string::npos) << d[0];
    }
}

// A SOLUC whose fields are padded with zero bytes instead of blanks: the codes still match.
TEST_F(Importar, SolucRellenaConCeros) {
    for (TipoCampo tipo : {TipoCampo::Entero, TipoCampo::Texto}) {
        soluc({{"3", "4", "1", "1ESOA", "MAT", "LECT", "ANA", "A1"}}, tipo);
        const auto ruta = ktemp / "SOLUC.DBF";
        std::string bytes = leerArchivo(ruta);
        const auto numero = [&](std::size_t pos) {
            return static_cast<std::uint8_t>(bytes[pos]) |
                   static_cast<std::size_t>(static_cast<std::uint8_t>(bytes[pos + 1])) << 8;
        };
        const std::size_t cabecera = numero(8), registro = numero(10);
        // Every blank after the deletion flag becomes a zero byte.
        std::replace(bytes.begin() + static_cast<std::ptrdiff_t>(cabecera + 1),
                     bytes.begin() + static_cast<std::ptrdiff_t>(cabecera + registro), ' ', '\0');
        escribirArchivo(ruta, bytes);
        importar();
        EXPECT_EQ(dsoluciones(), (std::vector<std::string>{
                                     "casig=3310 cgrupo=1205 cprofe=417 caula=501 cactiv=9001 "
                                     "dia=3 hora=4 sesiones=1 idcurso=21"}));
    }
}

// Without SOLUC, or without VELMORA's file, the input is missing and nothing is written.
TEST_F(Importar, FaltaElXMLOLaSolucion) {
    const auto antes = instantanea(ktemp.ruta());
    EXPECT_EQ(desenlace([&] { pontavia::importar(xml, ktemp.ruta(), informe); }), kFaltaEntrada);
    EXPECT_EQ(instantanea(ktemp.ruta()), antes);
    soluc({});
    EXPECT_EQ(
        desenlace([&] { pontavia::importar(datos / "no-existe.xml", ktemp.ruta(), informe); }),
        kFaltaEntrada);
    EXPECT_FALSE(fs::exists(resultado()));
    EXPECT_EQ(instantanea(datos.ruta()).size(), 1u);
}

// A run that fails writes nothing, keeps an earlier result and lets the next run work.
TEST_F(Importar, FallosQueNoEscribenNada) {
    soluc({{"1", "2", "1", "1ESOA", "MAT", "LECT", "ANA", "A1"}});
    importar();
    const std::string anterior = leerArchivo(resultado());
    // A header without its version (the files that are no XML at all, and tables in use, are
    // with the other bad inputs).
    {
        CarpetaTemporal otra;
        escribirArchivo(otra / "centro.xml",
                        "<centro codigo_interno=\"1\" nombre=\"n\" curso=\"c\"/>");
        EXPECT_THROW(pontavia::importar(otra / "centro.xml", ktemp.ruta(), informe), Error);
        EXPECT_FALSE(fs::exists(otra / "ResultadoTamberlocentro.xml"));
    }
    // A SOLUC without a field the run reads.
    crearTabla(ktemp / "SOLUC.DBF", {{"DIA", TipoCampo::Entero, 0}});
    const std::string error = desenlace([&] { importar(); });
    EXPECT_NE(error.find("HORA"), std::string::npos) << error;
    soluc({{"1", "2", "1", "1ESOA", "MAT", "LECT", "ANA", "A1"}});
    EXPECT_EQ(leerArchivo(resultado()), anterior);
    // Every table was closed: the next run works.
    importar();
}

// The result's name is made safe on disk, with the report's, after both renames and before
// the run ends: a power cut after "Proceso finalizado" cannot bring the earlier result back.
// A folder that cannot be made safe ends the run with an error.
TEST_F(Importar, ElResultadoQuedaEnDiscoAntesDeTerminar) {
    soluc({{"1", "2", "1", "1ESOA", "MAT", "LECT", "ANA", "A1"}});
    importar(); // an earlier result, which the next run replaces
    DiscoConFallos cuenta;
    cuenta.fallarEnPaso(0);
    ASSERT_EQ(desenlace([&] { return pontavia::importar(xml, ktemp.ruta(), informe, cuenta); }),
              "");
    const auto& ops = cuenta.registro();
    const auto renombrado = std::find_if(ops.begin(), ops.end(), [&](const auto& op) {
        return op.nombre == "reemplazar" && op.hasta == resultado();
    });
    ASSERT_NE(renombrado, ops.end());
    std::vector<std::pair<std::size_t, fs::path>> vaciados;
    for (auto op = renombrado; op != ops.end(); ++op)
        if (op->nombre == "vaciarEntradas")
            vaciados.emplace_back(static_cast<std::size_t>(op - ops.begin()) + 1, op->ruta);
    ASSERT_EQ(vaciados.size(), 2u);
    EXPECT_EQ(vaciados[0].second, datos.ruta());
    EXPECT_EQ(vaciados[1].second, ktemp.ruta());
    EXPECT_EQ(vaciados.back().first, ops.size()) << "the last step of the run";
    for (const auto& [paso, carpeta] : vaciados) {
        DiscoConFallos disco;
        disco.fallarEnPaso(paso);
        const std::string error =
            desenlace([&] { return pontavia::importar(xml, ktemp.ruta(), informe, disco); });
        EXPECT_NE(error.find("No se pudo escribir en " + carpeta.string()), std::string::npos)
            << error;
    }
}

namespace {

class ProcedenciaDelHorario : public ::testing::TestWithParam<CasoProcedencia> {};

std::string nombreDeCaso(const ::testing::TestParamInfo<CasoProcedencia>& info) {
    return info.param.nombre;
}

} // namespace

// Whether the timetable belongs to the chosen file, through the door: a refusal is an error of
// the input's kind and leaves both folders byte for byte as they were; otherwise the result
// holds the lessons.
TEST_P(ProcedenciaDelHorario, RechazaOEscribe) {
    const CasoProcedencia& c = GetParam();
    CarpetaTemporal datos, ktemp;
    const fs::path elegido = prepararProcedencia(c.procedencia, datos.ruta(), ktemp.ruta());
    const auto antesDatos = instantanea(datos.ruta());
    const auto antesKtemp = instantanea(ktemp.ruta());
    Informe informe;
    if (c.rechazado) {
        try {
            (void)pontavia::importar(elegido, ktemp.ruta(), informe);
            ADD_FAILURE() << "importado";
        } catch (const Error& e) {
            EXPECT_EQ(e.clase(), ClaseError::NoEsDeVelmora);
            EXPECT_NE(mensajeParaElUsuario(e).find(c.enMensaje), std::string::npos)
                << mensajeParaElUsuario(e);
        }
        EXPECT_EQ(instantanea(datos.ruta()), antesDatos);
        EXPECT_EQ(instantanea(ktemp.ruta()), antesKtemp);
        return;
    }
    pontavia::importar(elegido, ktemp.ruta(), informe);
    pugi::xml_document d;
    ASSERT_TRUE(d.load_file(resultadoDeImportar(elegido).c_str()));
    EXPECT_TRUE(d.select_node("/centro/solucion_horario"));
    EXPECT_EQ(d.select_nodes("/centro/solucion_horario/dsolucion").size(), c.lecciones);
}

INSTANTIATE_TEST_SUITE_P(Casos, ProcedenciaDelHorario, ::testing::ValuesIn(casosDeProcedencia()),
                         nombreDeCaso);

// Another school's file: the error names the chosen file's school as VELMORA shows it.
TEST(ProcedenciaDelHorario, ElRechazoNombraElCentroElegido) {
    CarpetaTemporal datos, ktemp;
    const fs::path elegido =
        prepararProcedencia(Procedencia::DeOtroCentro, datos.ruta(), ktemp.ruta());
    Informe informe;
    std::string m;
    try {
        (void)pontavia::importar(elegido, ktemp.ruta(), informe);
    } catch (const Error& e) {
        m = mensajeParaElUsuario(e);
    }
    for (const char* dato : {"«IES Otro Centro»", "código interno 28999", "curso 2026/2027",
                             "Elija el archivo de VELMORA desde el que exportó"})
        EXPECT_NE(m.find(dato), std::string::npos) << dato << "\n" << m;
}

// Items the chosen file lacks come first in the report, by their codes and identifiers, with
// the lessons each concerns; the run says how many before anything else.
TEST(ProcedenciaDelHorario, LoQueFaltaEnElArchivoVaPrimeroEnElInforme) {
    CarpetaTemporal datos, ktemp;
    const fs::path elegido =
        prepararProcedencia(Procedencia::FaltanAlgunos, datos.ruta(), ktemp.ruta());
    Informe informe;
    pontavia::importar(elegido, ktemp.ruta(), informe);
    ASSERT_EQ(informe.advertencias().size(), 1u);
    EXPECT_EQ(informe.advertencias()[0].rfind("2 elementos del horario de Tamberlo", 0), 0u)
        << informe.advertencias()[0];
    const auto avisos = avisosLeidos(informe);
    ASSERT_GE(avisos.size(), 2u);
    std::vector<std::string> primeros;
    for (std::size_t i = 0; i < 2; ++i)
        primeros.push_back(avisos[i].tabla + " " + avisos[i].elemento + " " + avisos[i].campo +
                           "=" + avisos[i].valor + ": " + avisos[i].motivo);
    EXPECT_EQ(primeros,
              (std::vector<std::string>{
                  "PROFT código ANA (idprofesor 417) IDPROF=417: el archivo elegido no tiene ese "
                  "profesor; se ha escrito igual en 2 lecciones",
                  "AULAT código A1 (idaula 501) IDAULA=501: el archivo elegido no tiene esa aula; "
                  "se ha escrito igual en 2 lecciones"}));
    const std::string texto = informe.texto();
    EXPECT_NE(texto.find("No están en el archivo elegido: 2"), std::string::npos) << texto;
}

// The sections in any order, those not compared (assignments, time slots) before the subjects,
// empty or with elements: the subjects are still found, in a small file and in one checked on
// another core.
TEST(ProcedenciaDelHorario, SeccionesEnCualquierOrden) {
    CarpetaTemporal datos, ktemp;
    const fs::path elegido =
        prepararProcedencia(Procedencia::DelArchivo, datos.ruta(), ktemp.ruta());
    const std::string original = leerArchivo(elegido);
    const std::size_t raiz = original.find('>', original.find("<centro")) + 1;
    for (const std::size_t relleno : {std::size_t{0}, std::size_t{1} << 20}) {
        SCOPED_TRACE(relleno);
        std::string otro = original;
        otro.insert(raiz, "<franjashorarias/><asignaturas><dasignatura cgrupo=\"1205\" "
                          "casig=\"3310\" cprofe=\"417\" conexion=\"0\" nhoras=\"3\">"
                          "<materias><dmateria idmateria=\"1\"/></materias></dasignatura>"
                          "</asignaturas><!--" +
                              std::string(relleno, 'x') + "-->");
        escribirArchivo(elegido, otro);
        Informe informe;
        EXPECT_EQ(desenlace([&] { return pontavia::importar(elegido, ktemp.ruta(), informe); }),
                  "");
        EXPECT_TRUE(informe.advertencias().empty());
    }
}

// An identifier longer than its field is kept cut in the table: the file still holds it.
TEST(ProcedenciaDelHorario, IdentificadorCortadoPorSuCampo) {
    CarpetaTemporal datos, ktemp;
    const fs::path elegido =
        prepararProcedencia(Procedencia::DelArchivo, datos.ruta(), ktemp.ruta());
    std::string largo = leerArchivo(elegido);
    largo.replace(largo.find("idmateria=\"3310\""), 16, "idmateria=\"33100000000042\"");
    escribirArchivo(elegido, largo);
    Informe exportado;
    exportar(elegido, ktemp.ruta(), exportado);
    Informe informe;
    EXPECT_EQ(desenlace([&] { return pontavia::importar(elegido, ktemp.ruta(), informe); }), "");
    EXPECT_TRUE(informe.advertencias().empty());
}

TEST(ImportarEjemplo, IdaYVueltaDelColegioDeEjemplo) {
#ifdef _WIN32
    GTEST_SKIP() << "coloca el horario con python3-dbf, de Linux";
#endif
    CarpetaTemporal ktemp;
    CarpetaTemporal datos;
    fs::copy_file(std::string(PONTAVIA_EJEMPLOS) + "/centro.xml", datos / "centro.xml");
    Informe informe;
    exportar(datos / "centro.xml", ktemp.ruta(), informe);
    const std::string colocar = "/usr/bin/python3 " + std::string(PONTAVIA_SCRIPTS) +
                                "/colocar_horario.py " + ktemp.ruta().string();
    ASSERT_EQ(std::system(colocar.c_str()), 0);
    importar(datos / "centro.xml", ktemp.ruta(), informe);

    // Every lesson placed for an assignment comes back with its VELMORA identifiers.
    std::multiset<std::string> esperadas;
    for (const auto& a : leerTabla(ktemp / "ASIGT.DBF")) {
        const int lecciones = std::max(1, static_cast<int>(std::stod(a.at("HORAS"))));
        for (int k = 0; k < lecciones; ++k)
            esperadas.insert(a.at("IDASIG") + "|" + a.at("IDGRUP") + "|" + a.at("IDPROF") + "|" +
                             a.at("IDCURSO"));
    }
    std::set<std::string> aulas;
    for (const auto& a : leerTabla(ktemp / "AULAT.DBF"))
        aulas.insert(a.at("IDAULA"));
    pugi::xml_document d;
    ASSERT_TRUE(d.load_file((datos / "ResultadoTamberlocentro.xml").c_str()));
    std::multiset<std::string> obtenidas;
    for (auto n : d.select_nodes("/centro/solucion_horario/dsolucion")) {
        const auto e = n.node();
        obtenidas.insert(std::string(e.attribute("casig").value()) + "|" +
                         e.attribute("cgrupo").value() + "|" + e.attribute("cprofe").value() + "|" +
                         e.attribute("idcurso").value());
        EXPECT_TRUE(aulas.count(e.attribute("caula").value())) << e.attribute("caula").value();
    }
    EXPECT_EQ(obtenidas, esperadas);
    EXPECT_GT(obtenidas.size(), 1000u);
}
