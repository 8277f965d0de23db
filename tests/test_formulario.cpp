// The main window's behaviour without any toolkit: the mode Tamberlo's command line selects,
// the run the first showing starts, the status left on closing, errors and help; and the two
// runs as every window starts them, around the core's door.
#include "corridas.h"
#include "formulario.h"
#include "sistema.h"
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
    EXPECT_EQ(f.mensajes, c.mensajes);
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
    EXPECT_EQ(f.mensajes, (std::vector<std::string>{"No existe archivo"}));
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
    EXPECT_EQ(f.errores, (std::vector<std::string>{"Unable to write to " +
                                                   (datos / "Tamberlo.ini").string()}));
}

TEST(Formulario, AyudaConSuContextoYCuandoFalta) {
    CarpetaTemporal datos;
    FormularioSinToolkit f({}, datos.ruta());
    const auto chm = datos / "VELMORA.chm";
    f.pulsarAyuda();
    f.teclaF1();
    EXPECT_EQ(f.mensajes, (std::vector<std::string>(2, "No se encuentra el archivo de ayuda " +
                                                           chm.string() + ".")));
    EXPECT_TRUE(f.ayudas.empty());

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
            ASSERT_EQ(exportar(datos / "centro.xml", ktemp.ruta(), informe), Resultado::Hecho);
            TablaDBase::crear(ktemp / "SOLUC.DBF", {{"DIA", TipoCampo::Entero},
                                                    {"HORA", TipoCampo::Entero},
                                                    {"SESIONES", TipoCampo::Texto, 20},
                                                    {"CODGRUPO", TipoCampo::Texto, 10},
                                                    {"ASIG", TipoCampo::Texto, 10},
                                                    {"TAREA", TipoCampo::Texto, 10},
                                                    {"PROF", TipoCampo::Texto, 10},
                                                    {"AULA", TipoCampo::Texto, 10}});
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
    EXPECT_EQ(ventana.mensajes, c.mensajes);
    EXPECT_EQ(programa.EstadoTransformado, c.estado);
    EXPECT_EQ(ventana.cierres, c.cierres);
    EXPECT_FALSE(ventana.ocupado);
    EXPECT_EQ(programa.filenameXML, ventana.archivo);
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
    EXPECT_EQ(ventana.mensajes, (std::vector<std::string>{"No existe archivo"}));
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

// An error goes on to the window that shows it, with the cursor given back, no message of
// its own, no close, and the status of the run before.
TEST_F(Corridas, UnErrorPasaALaVentanaConElCursorDevuelto) {
    for (const Lado lado : {Lado::Exportar, Lado::Importar}) {
        SCOPED_TRACE(lado == Lado::Exportar ? "exportar" : "importar");
        preparar(true, true);
        programa.ModoLinea = 2;
        programa.EstadoTransformado = 1;
        ventana.mensajes.clear();
        escribirArchivo(datos / "centro.xml", "esto no es XML");
        EXPECT_THROW(correr(lado), Error);
        EXPECT_FALSE(ventana.ocupado);
        EXPECT_EQ(programa.EstadoTransformado, 1);
        EXPECT_EQ(ventana.cierres, 0);
        EXPECT_EQ(ventana.mensajes, lado == Lado::Importar ? std::vector<std::string>{kRecordatorio}
                                                           : std::vector<std::string>{});
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
