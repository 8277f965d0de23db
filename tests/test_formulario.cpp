// The main window's behaviour without any toolkit: the mode Tamberlo's command line selects,
// the run the first showing starts, the status left on closing, errors and help.
#include "ayudantes.h"
#include "formulario.h"

#include <gtest/gtest.h>

using namespace pontavia;
using namespace pontavia::prueba;

namespace {

// The window without a toolkit: its dialogs recorded, and closing it runs FormClose as a
// real window does.
class FormularioSinToolkit : public FormularioDePrueba<Formulario> {
  public:
    using FormularioDePrueba<Formulario>::FormularioDePrueba;
    int cierres = 0;
    bool ocupado = false;

    void cursorOcupado(bool o) override { ocupado = o; }
    void cerrar() override {
        ++cierres;
        FormClose();
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
    f.FormShow();
    EXPECT_EQ(f.mensajes, c.mensajes);
    EXPECT_EQ(f.cierres, c.cierres);
    EXPECT_TRUE(f.errores.empty());
    EXPECT_FALSE(f.ocupado);
    if (f.cierres == 0) f.FormClose();
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
    f.BExportarClick();
    ASSERT_EQ(f.errores.size(), 1u);
    EXPECT_NE(f.errores[0].find("nombre"), std::string::npos) << f.errores[0];
    EXPECT_FALSE(f.ocupado);
    EXPECT_EQ(f.programa().EstadoTransformado, 0);

    // A file that is not there: the message, and in the interactive mode neither a status
    // nor a close.
    escribirArchivo(f.archivo, documento(""));
    f.archivo = (datos / "otro.xml").string();
    f.BExportarClick();
    EXPECT_EQ(f.mensajes, (std::vector<std::string>{"No existe archivo"}));
    EXPECT_EQ(f.programa().filenameXML, f.archivo);
    EXPECT_EQ(f.cierres, 0);
    EXPECT_EQ(f.programa().EstadoTransformado, 0);
    f.FormClose();
    EXPECT_FALSE(fs::exists(datos / "Tamberlo.ini"));
}

TEST(Formulario, EstadoQueNoSePuedeEscribir) {
    CarpetaTemporal datos;
    fs::create_directory(datos / "Tamberlo.ini");
    FormularioSinToolkit f({"abc", "def"}, datos.ruta());
    f.FormClose();
    EXPECT_EQ(f.errores, (std::vector<std::string>{"Unable to write to " +
                                                   (datos / "Tamberlo.ini").string()}));
}

TEST(Formulario, AyudaConSuContextoYCuandoFalta) {
    CarpetaTemporal datos;
    FormularioSinToolkit f({}, datos.ruta());
    const auto chm = datos / "VELMORA.chm";
    f.Button1Click();
    f.teclaF1();
    EXPECT_EQ(f.mensajes, (std::vector<std::string>(2, "No se encuentra el archivo de ayuda " +
                                                           chm.string() + ".")));
    EXPECT_TRUE(f.ayudas.empty());

    escribirArchivo(chm, "ayuda");
    f.mensajes.clear();
    f.Button1Click();
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
