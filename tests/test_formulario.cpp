// The main window's behaviour without any toolkit: the mode Tamberlo's command line selects,
// the run the first showing starts, the status left on closing, errors and help; and the two
// runs as every window starts them, around the core's door.
#include "corridas.h"
#include "disposicion.h"
#include "error.h"
#include "esquema_tamberlo.h"
#include "formulario.h"
#include "nucleo.h"
#include "procedencia_de_prueba.h"
#include "sistema.h"
#include "tabla_dbase.h"
#include "tareas.h"
#include "ventanas_de_prueba.h"

#include <gtest/gtest.h>

using namespace pontavia;
using namespace pontavia::prueba;

namespace {

// The window without a toolkit: its dialogs recorded, and closing it runs alCerrarse as a
// real window does.
class FormularioSinToolkit : public FormularioDePrueba<Formulario> {
  public:
    using FormularioDePrueba<Formulario>::FormularioDePrueba;
    int cierres = 0;
    bool ocupado = false;

    void cursorOcupado(bool o) override { ocupado = o; }
    void cerrar() override {
        ++cierres;
        alCerrarse();
    }
};

struct CasoModo {
    const char* nombre;
    std::vector<std::string> parametros;
    Modo modo;
};

// Each case is named, in the test's name and in its report.
template <typename Caso> std::string nombreDe(const ::testing::TestParamInfo<Caso>& info) {
    return info.param.nombre;
}
void PrintTo(const CasoModo& c, std::ostream* o) {
    *o << c.nombre;
}

class ModoDeArranque : public ::testing::TestWithParam<CasoModo> {};

} // namespace

TEST_P(ModoDeArranque, DosParametrosYLaPrimeraPalabra) {
    EXPECT_EQ(modoDeArranque(GetParam().parametros), GetParam().modo);
}

INSTANTIATE_TEST_SUITE_P(
    Casos, ModoDeArranque,
    ::testing::Values(CasoModo{"SinParametros", {}, Modo::Interactivo},
                      CasoModo{"Uno", {"exportar"}, Modo::Interactivo},
                      CasoModo{"Tres", {"exportar", "x", "y"}, Modo::Interactivo},
                      CasoModo{"SegundoVacio", {"exportar", ""}, Modo::Exportar},
                      CasoModo{"Mayusculas", {"EXPORTAR", "cualquiera"}, Modo::Exportar},
                      CasoModo{"Mezcladas", {"ImPoRtAr", "x"}, Modo::Importar},
                      CasoModo{"Informe", {"informe"}, Modo::VerInforme},
                      CasoModo{"Comprobar", {"Comprobar"}, Modo::Comprobar},
                      CasoModo{"Restaurar", {"restaurar"}, Modo::Restaurar},
                      CasoModo{"OtraPalabraSola", {"abc"}, Modo::Interactivo},
                      CasoModo{"InformeYOtra", {"informe", "x"}, Modo::OtraPalabra},
                      CasoModo{"OtraPalabra", {"abc", "def"}, Modo::OtraPalabra},
                      // Only A to Z change case, and nothing is trimmed.
                      CasoModo{"ConBlanco", {"EXPORTAR ", "x"}, Modo::OtraPalabra},
                      CasoModo{"EConTilde", {"\xC3\x89XPORTAR", "x"}, Modo::OtraPalabra},
                      CasoModo{"IConPunto", {"\xC4\xB0MPORTAR", "x"}, Modo::OtraPalabra}),
    nombreDe<CasoModo>);

namespace {

// A start from Tamberlo: what the first showing says, and the status the window leaves.
struct CasoLinea {
    const char* nombre;
    std::vector<std::string> parametros;
    bool hayDocumento;
    std::vector<std::string> mensajes;
    int cierres;
    const char* estado; // Tamberlo.ini after the user closes what is left open; null for none
};

void PrintTo(const CasoLinea& c, std::ostream* o) {
    *o << c.nombre;
}

class ArranqueDesdeTamberlo : public ::testing::TestWithParam<CasoLinea> {
  protected:
    KTEMPTemporal ktemp;
    CarpetaTemporal datos;
};

const std::string kRecordatorio = "Deberá Abrir el fichero XML de VELMORA,\r\n"
                                  "desde el cual realizó la Importación a Tamberlo";

} // namespace

TEST_P(ArranqueDesdeTamberlo, EjecutaElLadoElegidoYDejaElEstado) {
    const CasoLinea& c = GetParam();
    if (c.hayDocumento) escribirArchivo(datos / "centro.xml", documento(""));
    FormularioSinToolkit f(c.parametros, datos.ruta());
    f.archivo = (datos / "centro.xml").string();
    f.alMostrarse();
    EXPECT_EQ(palabrasPropias(f.mensajes), c.mensajes);
    EXPECT_EQ(f.cierres, c.cierres);
    EXPECT_TRUE(f.errores.empty());
    EXPECT_FALSE(f.ocupado);
    if (f.cierres == 0) f.alCerrarse();
    if (c.estado)
        EXPECT_EQ(leerArchivo(datos / "Tamberlo.ini"), c.estado);
    else
        EXPECT_FALSE(fs::exists(datos / "Tamberlo.ini"));
}

INSTANTIATE_TEST_SUITE_P(
    Casos, ArranqueDesdeTamberlo,
    ::testing::Values(
        CasoLinea{"Interactivo", {}, true, {}, 0, nullptr},
        CasoLinea{"TresParametros", {"exportar", "x", "y"}, true, {}, 0, nullptr},
        CasoLinea{"Exportar",
                  {"Exportar", "x"},
                  true,
                  {"Proceso finalizado"},
                  1,
                  "[Transformadores]\r\nTransformado=1\r\n"},
        CasoLinea{"ExportarSinArchivo",
                  {"exportar", "x"},
                  false,
                  {"No existe archivo"},
                  1,
                  "[Transformadores]\r\nTransformado=-1\r\n"},
        CasoLinea{"ImportarSinSolucion",
                  {"IMPORTAR", "x"},
                  true,
                  {kRecordatorio, "No existe archivo XML o Solución."},
                  1,
                  "[Transformadores]\r\nTransformado=-1\r\n"},
        CasoLinea{
            "OtraPalabra", {"abc", "def"}, true, {}, 0, "[Transformadores]\r\nTransformado=0\r\n"}),
    nombreDe<CasoLinea>);

TEST(Formulario, LosBotonesEjecutanYLosErroresVanAUnaCaja) {
    KTEMPTemporal ktemp;
    CarpetaTemporal datos;
    FormularioSinToolkit f({}, datos.ruta());
    f.archivo = (datos / "centro.xml").string();
    escribirArchivo(f.archivo, documento("<aulas><daula codigo=\"A\"/></aulas>"));
    f.pulsarExportar();
    ASSERT_EQ(f.errores.size(), 1u);
    EXPECT_NE(f.errores[0].find("nombre"), std::string::npos) << f.errores[0];
    EXPECT_FALSE(f.ocupado);
    EXPECT_EQ(f.programa().EstadoTransformado, 0);

    // A file that is not there: the message, and in the interactive mode neither a status
    // nor a close.
    escribirArchivo(f.archivo, documento(""));
    f.archivo = (datos / "otro.xml").string();
    f.pulsarExportar();
    EXPECT_EQ(palabrasPropias(f.mensajes), (std::vector<std::string>{"No existe archivo"}));
    // Which file is missing comes first, by its path.
    EXPECT_EQ(f.mensajes[0].rfind("No se encuentra el archivo de VELMORA " + f.archivo, 0), 0u)
        << f.mensajes[0];
    EXPECT_EQ(f.programa().filenameXML, f.archivo);
    EXPECT_EQ(f.cierres, 0);
    EXPECT_EQ(f.programa().EstadoTransformado, 0);
    f.alCerrarse();
    EXPECT_FALSE(fs::exists(datos / "Tamberlo.ini"));
}

TEST(Formulario, EstadoQueNoSePuedeEscribir) {
    CarpetaTemporal datos;
    fs::create_directory(datos / "Tamberlo.ini");
    FormularioSinToolkit f({"abc", "def"}, datos.ruta());
    f.alCerrarse();
    // What the user can do first; then the status file's own words, as Tamberlo's users know
    // them.
    ASSERT_EQ(f.errores.size(), 1u);
    EXPECT_EQ(f.errores[0].rfind("Pontavia no pudo dejar a Tamberlo el estado", 0), 0u)
        << f.errores[0];
    EXPECT_TRUE(
        f.errores[0].ends_with("\n\nUnable to write to " + (datos / "Tamberlo.ini").string()))
        << f.errores[0];
}

// Started by Tamberlo, the window writes the status 0 before anything else: a run that fails,
// or is cut off, never leaves an earlier run's 1 for Tamberlo to read. When even that cannot
// be written, the error is shown and nothing is run.
TEST(Formulario, EstadoCeroAntesDeLaCorrida) {
    KTEMPTemporal ktemp;
    CarpetaTemporal datos;
    escribirArchivo(datos / "Tamberlo.ini", "[Transformadores]\r\nTransformado=1\r\n");
    FormularioSinToolkit f({"exportar", "x"}, datos.ruta());
    f.archivo = (datos / "centro.xml").string();
    escribirArchivo(f.archivo, documento("<aulas><daula codigo=\"A\"/></aulas>"));
    f.alMostrarse();
    ASSERT_EQ(f.errores.size(), 1u);
    EXPECT_EQ(leerArchivo(datos / "Tamberlo.ini"), "[Transformadores]\r\nTransformado=0\r\n");

    CarpetaTemporal otros;
    fs::create_directory(otros / "Tamberlo.ini");
    FormularioSinToolkit g({"exportar", "x"}, otros.ruta());
    g.archivo = (datos / "centro.xml").string();
    escribirArchivo(g.archivo, documento(""));
    g.alMostrarse();
    g.alCerrarse();
    // One error, told once, ending in the status file's own words.
    ASSERT_EQ(g.errores.size(), 1u);
    const std::string propio = "Unable to write to " + (otros / "Tamberlo.ini").string();
    EXPECT_EQ(
        g.errores[0].substr(g.errores[0].size() - std::min(g.errores[0].size(), propio.size())),
        propio);
    EXPECT_TRUE(g.mensajes.empty());
    EXPECT_TRUE(fs::is_empty(ktemp.ruta()));
}

TEST(Formulario, AyudaConSuContextoYCuandoFalta) {
    CarpetaTemporal datos;
    FormularioSinToolkit f({}, datos.ruta());
    const auto chm = datos / "VELMORA.chm";
    // Without VELMORA's help, Pontavia's guide: its contents, then this window's topic.
    f.pulsarAyuda();
    f.teclaF1();
    EXPECT_TRUE(f.mensajes.empty());
    EXPECT_EQ(f.guias, (std::vector<int>{0, Formulario::kContextoAyuda}));
    EXPECT_TRUE(f.ayudas.empty());
    // Neither there: a message that names both.
    f.guiaInstalada = false;
    f.teclaF1();
    ASSERT_EQ(f.mensajes.size(), 1u);
    EXPECT_NE(f.mensajes[0].find(chm.string()), std::string::npos);
    EXPECT_NE(f.mensajes[0].find("guía de Pontavia"), std::string::npos);
    f.guias.clear();

    escribirArchivo(chm, "ayuda");
    f.mensajes.clear();
    f.pulsarAyuda();
    f.teclaF1();
    EXPECT_TRUE(f.mensajes.empty());
    f.visorInstalado = false;
    f.teclaF1();
    fs::remove(chm);
    EXPECT_EQ(f.ayudas, (std::vector<int>{0, Formulario::kContextoAyuda, 3}));
    EXPECT_EQ(f.mensajes, (std::vector<std::string>{"No hay ningún visor instalado para abrir "
                                                    "la ayuda " +
                                                    chm.string() + "."}));
}

// The two runs as every window starts them (corridas): the file dialog, how a run's end
// becomes the messages, the status and the close, and an error left to the window to show.
// What the runs write is the core's, tested at its door.
namespace {

enum class Lado { Exportar, Importar };

// What a run needs to find: VELMORA's file, and for importar Tamberlo's timetable beside the
// tables of an earlier exportar.
struct CasoCorrida {
    const char* nombre;
    Lado lado;
    bool hayXML;
    bool haySoluc;
    int modoLinea;
    int estadoAntes;
    std::vector<std::string> mensajes;
    int estado;
    int cierres;
};

void PrintTo(const CasoCorrida& c, std::ostream* o) {
    *o << c.nombre;
}

class Corridas : public ::testing::Test {
  protected:
    KTEMPTemporal ktemp;
    CarpetaTemporal datos;
    Programa programa;
    VentanaPrueba ventana;

    void SetUp() override { ventana.archivo = (datos / "centro.xml").string(); }

    // An empty school, exported, with an empty timetable beside its tables when haySoluc;
    // without its file when !hayXML.
    void preparar(bool hayXML, bool haySoluc) {
        escribirArchivo(datos / "centro.xml", documento(""));
        if (haySoluc) {
            Informe informe;
            exportar(datos / "centro.xml", ktemp.ruta(), informe);
            crearTabla(ktemp / tamberlo::SOLUC.archivo(), tamberlo::SOLUC.definiciones());
        }
        if (!hayXML) fs::remove(datos / "centro.xml");
    }
    void correr(Lado lado) {
        if (lado == Lado::Exportar)
            corridaExportar(programa, ventana);
        else
            corridaImportar(programa, ventana);
    }
};

class ComoTermina : public Corridas, public ::testing::WithParamInterface<CasoCorrida> {};

} // namespace

TEST_P(ComoTermina, MensajesEstadoYCierre) {
    const CasoCorrida& c = GetParam();
    preparar(c.hayXML, c.haySoluc);
    programa.ModoLinea = c.modoLinea;
    programa.EstadoTransformado = c.estadoAntes;
    correr(c.lado);
    EXPECT_EQ(palabrasPropias(ventana.mensajes), c.mensajes);
    EXPECT_EQ(programa.EstadoTransformado, c.estado);
    EXPECT_EQ(ventana.cierres, c.cierres);
    EXPECT_FALSE(ventana.ocupado);
    EXPECT_EQ(programa.filenameXML, ventana.archivo);
    EXPECT_EQ(ventana.titulos, std::vector<std::string>{disposicion::kTituloDialogo});
}

INSTANTIATE_TEST_SUITE_P(
    Casos, ComoTermina,
    ::testing::Values(
        CasoCorrida{"Exportar", Lado::Exportar, true, false, 0, 0, {"Proceso finalizado"}, 1, 0},
        CasoCorrida{
            "ExportarEnModoLinea", Lado::Exportar, true, false, 2, 0, {"Proceso finalizado"}, 1, 1},
        // Without its input, the interactive window keeps the status of the run before.
        CasoCorrida{
            "ExportarSinArchivo", Lado::Exportar, false, false, 0, 1, {"No existe archivo"}, 1, 0},
        CasoCorrida{"ExportarSinArchivoDesdeCero",
                    Lado::Exportar,
                    false,
                    false,
                    0,
                    0,
                    {"No existe archivo"},
                    0,
                    0},
        CasoCorrida{"ExportarSinArchivoEnModoLinea",
                    Lado::Exportar,
                    false,
                    false,
                    2,
                    1,
                    {"No existe archivo"},
                    -1,
                    1},
        CasoCorrida{"Importar",
                    Lado::Importar,
                    true,
                    true,
                    0,
                    0,
                    {kRecordatorio, "Proceso finalizado"},
                    1,
                    0},
        CasoCorrida{"ImportarSinSolucion",
                    Lado::Importar,
                    true,
                    false,
                    0,
                    1,
                    {kRecordatorio, "No existe archivo XML o Solución."},
                    1,
                    0},
        CasoCorrida{"ImportarSinXMLEnModoLinea",
                    Lado::Importar,
                    false,
                    true,
                    2,
                    1,
                    {kRecordatorio, "No existe archivo XML o Solución."},
                    -1,
                    1}),
    nombreDe<CasoCorrida>);

// The dialog cancelled offers the file chosen last: on the first run none, the input missing.
TEST_F(Corridas, DialogoCanceladoUsaElArchivoAnterior) {
    preparar(true, false);
    programa.ModoLinea = 2;
    ventana.confirmar = false;
    corridaExportar(programa, ventana);
    EXPECT_EQ(palabrasPropias(ventana.mensajes), (std::vector<std::string>{"No existe archivo"}));
    EXPECT_EQ(programa.EstadoTransformado, -1);
    EXPECT_EQ(ventana.cierres, 1);

    programa.ModoLinea = 0;
    ventana.confirmar = true;
    corridaExportar(programa, ventana);
    ventana.confirmar = false;
    ventana.archivo = "otro.xml";
    corridaExportar(programa, ventana);
    EXPECT_EQ(ventana.mensajes.back(), "Proceso finalizado");
    EXPECT_EQ(programa.filenameXML, (datos / "centro.xml").string());
}

// An error goes to the window's error box, with the cursor given back, no message of its
// own, no close, and the status of the run before.
TEST_F(Corridas, UnErrorVaALaCajaDeErrorConElCursorDevuelto) {
    for (const Lado lado : {Lado::Exportar, Lado::Importar}) {
        SCOPED_TRACE(lado == Lado::Exportar ? "exportar" : "importar");
        preparar(true, true);
        programa.ModoLinea = 2;
        programa.EstadoTransformado = 1;
        ventana.mensajes.clear();
        ventana.errores.clear();
        escribirArchivo(datos / "centro.xml", "esto no es XML");
        correr(lado);
        EXPECT_FALSE(ventana.ocupado);
        EXPECT_EQ(programa.EstadoTransformado, 1);
        EXPECT_EQ(ventana.cierres, 0);
        EXPECT_EQ(ventana.mensajes, lado == Lado::Importar ? std::vector<std::string>{kRecordatorio}
                                                           : std::vector<std::string>{});
        ASSERT_EQ(ventana.errores.size(), 1u);
        EXPECT_NE(ventana.errores[0].find("no es un XML válido"), std::string::npos)
            << ventana.errores[0];
    }
}

// The end of a run is made once: what the window shows when a run cannot end is, word for
// word, what pontavia-cli writes on standard error; Tamberlo's status -1 is only for the two
// inputs it has always meant, and the exit code follows the fault's kind.
TEST_F(Corridas, ElFinalEsElMismoEnLaVentanaYEnLaConsola) {
    struct Caso {
        const char* nombre;
        Lado lado;
        bool hayXML, haySoluc, hayTablas;
        bool esError; // the error box rather than a plain message
        int estado;   // Tamberlo's status after it, in command-line mode (from 0)
        int codigo;   // pontavia-cli's exit code
    };
    const Caso casos[] = {
        {"sin el archivo de VELMORA", Lado::Exportar, false, false, false, false, -1, 2},
        {"sin el horario", Lado::Importar, true, false, true, false, -1, 2},
        {"sin las tablas exportadas", Lado::Importar, true, true, false, true, 0, 2},
        {"XML no válido", Lado::Exportar, true, false, false, true, 0, 1},
    };
    for (const auto& c : casos) {
        SCOPED_TRACE(c.nombre);
        fs::remove_all(ktemp.ruta());
        fs::create_directories(ktemp.ruta());
        preparar(c.hayXML, c.haySoluc);
        if (!c.hayTablas)
            for (const auto& [tabla, bytes] : tablasEn(ktemp.ruta()))
                if (tabla != tamberlo::SOLUC.archivo()) fs::remove(ktemp / tabla);
        if (c.esError && c.hayXML && c.lado == Lado::Exportar)
            escribirArchivo(datos / "centro.xml", "esto no es XML");
        programa.ModoLinea = 2;
        programa.EstadoTransformado = 0;
        ventana.mensajes.clear();
        ventana.errores.clear();
        correr(c.lado);
        const std::string enVentana = c.esError
                                          ? (ventana.errores.empty() ? "" : ventana.errores[0])
                                          : ventana.mensajes.back();
        EXPECT_EQ(ventana.errores.size(), c.esError ? 1u : 0u);
        EXPECT_EQ(programa.EstadoTransformado, c.estado);
        EXPECT_EQ(ventana.cierres > 0, !c.esError);
        ventana.cierres = 0;

        const auto r = ejecutarCLI(
            {c.lado == Lado::Exportar ? "exportar" : "importar", (datos / "centro.xml").string()});
        EXPECT_EQ(r.codigo, c.codigo);
        EXPECT_EQ(r.errores, enVentana + "\n");
    }
}

// A school's folder as a secretary names it, and Tamberlo's with an ñ too, as the dialog
// and PONTAVIA_KTEMP give them: the window's run reads and writes there.
TEST(CorridaDeLaVentana, RutasConEspaciosYEnes) {
    const CarpetasConEspaciosYEnes carpetas;
    const fs::path& datos = carpetas.datos();
    const fs::path& ktemp = carpetas.ktemp();

    Programa programa;
    VentanaPrueba ventana;
    ventana.archivo = (datos / "centro.xml").string();
    corridaExportar(programa, ventana);
    ASSERT_FALSE(ventana.mensajes.empty());
    EXPECT_EQ(ventana.mensajes.back(), "Proceso finalizado");
    EXPECT_EQ(tablasEn(ktemp).size(), 6u);
}

namespace {

// A Tamberlo result as importar leaves it: the school's header and a timetable, nothing else.
constexpr const char* kResultadoDeTamberlo =
    "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
    "<centro codigo_interno=\"1\" nombre=\"IES Prueba\" curso=\"2026/2027\" version=\"1\">\n"
    "\t<solucion_horario>\n"
    "\t\t<dsolucion casig=\"11\" cgrupo=\"41\" cprofe=\"21\" caula=\"31\" dia=\"1\" hora=\"2\" />\n"
    "\t</solucion_horario>\n"
    "</centro>\n";

} // namespace

// Choosing importar's result for exportar: refused before anything is written, the window's
// status untouched, Tamberlo's folder and VELMORA's byte for byte as they were; the dry run
// refuses it too. An empty solucion_horario is a result all the same.
TEST_F(Corridas, UnResultadoDeTamberloNoSeExporta) {
    preparar(true, true);
    for (const std::string& resultado :
         {std::string(kResultadoDeTamberlo), documento("<solucion_horario />")}) {
        escribirArchivo(datos / "ResultadoTamberlocentro.xml", resultado);
        const auto antesKtemp = instantanea(ktemp.ruta());
        const auto antesDatos = instantanea(datos.ruta());
        ventana.archivo = (datos / "ResultadoTamberlocentro.xml").string();
        ventana.errores.clear();
        corridaExportar(programa, ventana);
        ASSERT_EQ(ventana.errores.size(), 1u);
        EXPECT_NE(
            ventana.errores[0].find("es un resultado de Tamberlo, no una exportación de VELMORA"),
            std::string::npos)
            << ventana.errores[0];
        try {
            Informe informe;
            exportar(datos / "ResultadoTamberlocentro.xml", ktemp.ruta(), informe);
            ADD_FAILURE() << "exportado";
        } catch (const Error& e) {
            EXPECT_EQ(e.clase(), ClaseError::NoEsDeVelmora);
            EXPECT_EQ(e.hecho(), Hecho::ResultadoDeTamberlo);
        }
        EXPECT_TRUE(ventana.mensajes.empty());
        EXPECT_EQ(programa.EstadoTransformado, 0);
        EXPECT_EQ(instantanea(ktemp.ruta()), antesKtemp);
        EXPECT_EQ(instantanea(datos.ruta()), antesDatos);
        Informe informe;
        EXPECT_THROW(comprobar(datos / "ResultadoTamberlocentro.xml", informe), Error);
    }
}

namespace {

class ProcedenciaDesdeTamberlo : public ::testing::TestWithParam<CasoProcedencia> {
  protected:
    KTEMPTemporal ktemp;
    CarpetaTemporal datos;
    CarpetaTemporal programa; // where Tamberlo.ini lies, beside the program
};

} // namespace

// Tamberlo's start ("importar x") on each way the timetable may stand to the chosen file: a
// refusal shows the error in the window, which stays open, and leaves the status 0 for
// Tamberlo with nothing written; otherwise the run ends, says it (with the warning first when
// the file lacks some items), closes and leaves 1.
TEST_P(ProcedenciaDesdeTamberlo, EstadoYVentana) {
    const CasoProcedencia& c = GetParam();
    const fs::path elegido = prepararProcedencia(c.procedencia, datos.ruta(), ktemp.ruta());
    const auto antesKtemp = instantanea(ktemp.ruta());
    const auto antesDatos = instantanea(datos.ruta());
    FormularioSinToolkit f({"importar", "x"}, programa.ruta());
    f.archivo = elegido.string();
    f.alMostrarse();
    if (c.rechazado) {
        ASSERT_EQ(f.errores.size(), 1u);
        EXPECT_NE(f.errores[0].find(c.enMensaje), std::string::npos) << f.errores[0];
        EXPECT_EQ(palabrasPropias(f.mensajes), (std::vector<std::string>{kRecordatorio}));
        EXPECT_EQ(f.cierres, 0);
        EXPECT_EQ(instantanea(ktemp.ruta()), antesKtemp);
        EXPECT_EQ(instantanea(datos.ruta()), antesDatos);
        f.alCerrarse(); // the timetabler closes the window after reading the error
        EXPECT_EQ(leerArchivo(programa / "Tamberlo.ini"),
                  "[Transformadores]\r\nTransformado=0\r\n");
        return;
    }
    EXPECT_TRUE(f.errores.empty());
    EXPECT_EQ(f.cierres, 1);
    ASSERT_EQ(f.finales.size(), 1u);
    EXPECT_EQ(f.finales[0].rfind("Proceso finalizado", 0), 0u) << f.finales[0];
    EXPECT_NE(f.finales[0].find(c.enMensaje), std::string::npos) << f.finales[0];
    EXPECT_EQ(leerArchivo(programa / "Tamberlo.ini"), "[Transformadores]\r\nTransformado=1\r\n");
}

INSTANTIATE_TEST_SUITE_P(Casos, ProcedenciaDesdeTamberlo, ::testing::ValuesIn(casosDeProcedencia()),
                         nombreDe<CasoProcedencia>);

// The end box names what the run did and where its report is; "Ver informe" opens it.
TEST_F(Corridas, ElFinalDiceLoQueHizoYAbreElInforme) {
    preparar(true, false);
    ventana.verInforme = true;
    corridaExportar(programa, ventana);
    ASSERT_EQ(ventana.finales.size(), 1u);
    const std::string& fin = ventana.finales[0];
    EXPECT_EQ(fin.rfind("Proceso finalizado\n\nFilas:\n  Materias y actividades (ASIGNOMT): 0\n"
                        "  Profesores (PROFT): 0\n  Aulas (AULAT): 0\n  Grupos (GRUPOST): 0\n"
                        "  Franjas horarias (DIASHORAST): 0\n  Asignaturas (ASIGT): 0\n",
                        0),
              0u)
        << fin;
    EXPECT_LT(fin.find("Elementos omitidos"), fin.find("Códigos cambiados")) << fin;
    EXPECT_NE(fin.find("Informe: " + (ktemp / kNombreInforme).string()), std::string::npos) << fin;
    EXPECT_EQ(ventana.vistos, (std::vector<fs::path>{ktemp / kNombreInforme}));
}

// Every box carries the icon of what it tells, by one rule: information for a run done with
// nothing lost and for nothing to undo, a warning for a run that lost items and for a missing
// input, an error for a run refused. The end box says first how many items did not arrive.
TEST_F(Corridas, CadaCajaConSuIcono) {
    const std::string perdidas =
        "<asignaturas>"
        "<dasignatura cgrupo=\"40\" casig=\"99\" cprofe=\"20\" conexion=\"0\" nhoras=\"2\"/>"
        "<dasignatura cgrupo=\"40\" casig=\"98\" cprofe=\"20\" conexion=\"0\" nhoras=\"2\"/>"
        "</asignaturas>";
    struct Caso {
        const char* nombre;
        std::string centro; // VELMORA's file; empty: none chosen
        Gravedad gravedad;
        std::string segundaLinea; // the end box's, after "Proceso finalizado"
    };
    const Caso casos[] = {
        {"nada perdido", documento(""), Gravedad::Informacion, ""},
        {"elementos perdidos", documento(perdidas), Gravedad::Aviso,
         "2 elementos no llegaron a Tamberlo: el informe dice cuáles y por qué."},
        {"sin archivo", "", Gravedad::Aviso, ""},
        {"XML no válido", "esto no es XML", Gravedad::Error, ""},
    };
    for (const auto& c : casos) {
        SCOPED_TRACE(c.nombre);
        fs::remove(datos / "centro.xml");
        if (!c.centro.empty()) escribirArchivo(datos / "centro.xml", c.centro);
        ventana.gravedades.clear();
        ventana.finales.clear();
        corridaExportar(programa, ventana);
        ASSERT_EQ(ventana.gravedades.size(), 1u);
        EXPECT_EQ(ventana.gravedades[0], c.gravedad);
        if (!ventana.finales.empty()) {
            const std::string& fin = ventana.finales[0];
            const auto salto = fin.find('\n');
            EXPECT_EQ(fin.substr(salto + 1, fin.find('\n', salto + 1) - salto - 1), c.segundaLinea)
                << fin;
        }
    }
    // Nothing to undo is news, not a fault.
    FormularioSinToolkit formulario({"restaurar"}, datos.ruta());
    fs::remove_all(ktemp.ruta());
    formulario.alMostrarse();
    ASSERT_EQ(formulario.gravedades.size(), 1u);
    EXPECT_EQ(formulario.gravedades[0], Gravedad::Informacion);
}

// The end box says in one line what changed since the last export, the detail a button away:
// nothing to compare with the first time, then what the second export changed.
TEST_F(Corridas, ElFinalDiceQueCambioDesdeLaExportacionAnterior) {
    const auto profesor = [](const char* codigo) {
        return documento(std::string("<profesores><profesor codigo=\"") + codigo +
                         "\" nombre=\"Ana\" apellido1=\"Ruiz\" apellido2=\"\" "
                         "documento=\"1\" idprofesor=\"7\"/></profesores>");
    };
    escribirArchivo(datos / "centro.xml", profesor("ANA"));
    corridaExportar(programa, ventana);
    escribirArchivo(datos / "centro.xml", profesor("ARU"));
    corridaExportar(programa, ventana);
    ASSERT_EQ(ventana.finales.size(), 2u);
    EXPECT_NE(ventana.finales[0].find("\nCambios desde la exportación anterior: no hay ninguna "
                                      "exportación anterior con la que comparar.\n"),
              std::string::npos)
        << ventana.finales[0];
    EXPECT_NE(ventana.finales[1].find("\nCambios desde la exportación anterior: 1 código "
                                      "cambiado.\n"),
              std::string::npos)
        << ventana.finales[1];
}

// The Start menu's tasks: the last report, the dry run, and the undo once confirmed.
TEST_F(Corridas, TareasDelMenuInicio) {
    tareaVerInforme(ventana);
    ASSERT_EQ(ventana.mensajes.size(), 1u);
    EXPECT_EQ(ventana.mensajes[0].rfind("Todavía no hay ningún informe", 0), 0u);
    EXPECT_TRUE(ventana.vistos.empty());

    preparar(true, false);
    const auto antes = instantanea(ktemp.ruta());
    ventana.verInforme = true;
    tareaComprobar(programa, ventana);
    // Its dialog says that it only checks; the runs' keep their title.
    EXPECT_EQ(ventana.titulos.back(), disposicion::kTituloDialogoComprobar);
    EXPECT_EQ(instantanea(ktemp.ruta()), antes);
    ASSERT_EQ(ventana.finales.size(), 1u);
    EXPECT_EQ(ventana.finales[0].rfind("Comprobación terminada", 0), 0u);
    ASSERT_EQ(ventana.vistos.size(), 1u);
    EXPECT_NE(leerArchivo(ventana.vistos[0]).find("Informe de Pontavia: comprobar"),
              std::string::npos);

    corridaExportar(programa, ventana);
    corridaExportar(programa, ventana);
    ventana.vistos.clear();
    tareaVerInforme(ventana);
    EXPECT_EQ(ventana.vistos, (std::vector<fs::path>{ktemp / kNombreInforme}));

    // Asked first, naming each table; "No" changes nothing.
    const auto exportadas = instantanea(ktemp.ruta());
    ventana.respuesta = false;
    tareaRestaurar(ventana);
    ASSERT_EQ(ventana.preguntas.size(), 1u);
    // In the future, naming the export it goes back to before anything changes.
    EXPECT_NE(ventana.preguntas[0].find("\n\nVolverán las tablas exportadas de «"),
              std::string::npos)
        << ventana.preguntas[0];
    EXPECT_NE(ventana.preguntas[0].find(
                  "\n  Materias y actividades (ASIGNOMT): se volverá a poner la de antes"),
              std::string::npos)
        << ventana.preguntas[0];
    EXPECT_EQ(ventana.preguntas[0].find("restaurada"), std::string::npos) << ventana.preguntas[0];
    EXPECT_EQ(instantanea(ktemp.ruta()), exportadas);
    ventana.respuesta = true;
    tareaRestaurar(ventana);
    EXPECT_EQ(ventana.mensajes.back().rfind("Exportación deshecha", 0), 0u);
}

// Started for a task, the window runs it and closes, leaving no status for Tamberlo.
TEST(FormularioTareas, UnaTareaCierraSinDejarEstado) {
    KTEMPTemporal ktemp;
    CarpetaTemporal datos;
    FormularioSinToolkit f({"informe"}, datos.ruta());
    EXPECT_FALSE(f.enModoLinea());
    f.alMostrarse();
    EXPECT_EQ(f.cierres, 1);
    EXPECT_EQ(f.mensajes.size(), 1u);
    EXPECT_FALSE(fs::exists(datos / "Tamberlo.ini"));

    FormularioSinToolkit r({"restaurar"}, datos.ruta());
    r.alMostrarse();
    // Nothing to undo is told in an information box, not as a fault.
    EXPECT_TRUE(r.errores.empty());
    ASSERT_EQ(r.mensajes.size(), 1u);
    EXPECT_NE(r.mensajes[0].find("No hay tablas de una exportación anterior"), std::string::npos)
        << r.mensajes[0];
    EXPECT_EQ(r.cierres, 1);
    EXPECT_FALSE(fs::exists(datos / "Tamberlo.ini"));
}

// The Start menu's entries (the installer's and the Linux desktop entry's actions) start the
// window with words it knows as tasks, never with Tamberlo's two-word start.
TEST(FormularioTareas, LosAccesosUsanPalabrasQueLaVentanaConoce) {
    const fs::path raiz = fs::path(PONTAVIA_SCRIPTS).parent_path();
    std::vector<std::string> palabras;
    const std::string escritorio = leerArchivo(raiz / "src/shell/ventana/pontavia.desktop");
    for (std::size_t i = escritorio.find("Exec=pontavia "); i != std::string::npos;
         i = escritorio.find("Exec=pontavia ", i + 1)) {
        const auto inicio = i + std::string("Exec=pontavia ").size();
        palabras.push_back(escritorio.substr(inicio, escritorio.find('\n', inicio) - inicio));
    }
    const std::string nsi = leerArchivo(raiz / "instalador/pontavia.nsi");
    const std::string exe = "pontavia.exe\" \"";
    for (std::size_t i = nsi.find(exe); i != std::string::npos; i = nsi.find(exe, i + 1)) {
        const auto inicio = i + exe.size();
        palabras.push_back(nsi.substr(inicio, nsi.find('"', inicio) - inicio));
    }
    EXPECT_EQ(palabras.size(), 6u);
    for (const auto& p : palabras) {
        const Modo m = modoDeArranque({p});
        EXPECT_TRUE(m == Modo::VerInforme || m == Modo::Comprobar || m == Modo::Restaurar) << p;
    }
}
