// The window on the offscreen platform: its layout in each mode, the command-line cases,
// the status file and the help. Dialogs are answered through the window's interface.
#include "error.h"
#include "mform.h"
#include "panel_degradado.h"
#include "ventanas_de_prueba.h"

#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>

using namespace pontavia;
using namespace pontavia::prueba;

namespace {

// The Qt window with its dialogs recorded; its cursor and its closing are the real ones.
using VentanaDePrueba = FormularioDePrueba<TMForm>;

class VentanaTMForm : public ::testing::Test {
  protected:
    KTEMPTemporal ktemp;
    CarpetaTemporal datos;
    fs::path ini() { return datos / "Tamberlo.ini"; }

    std::unique_ptr<VentanaDePrueba> abrir(QStringList parametros) {
        auto v = std::make_unique<VentanaDePrueba>(parametros, datos.ruta());
        v->archivo = (datos / "centro.xml").string();
        return v;
    }
    // Shows the window and lets the run that showing starts finish.
    void mostrar(VentanaDePrueba& v) {
        v.show();
        QApplication::processEvents();
        QApplication::processEvents();
    }
};

} // namespace

TEST_F(VentanaTMForm, DisposicionInteractiva) {
    auto v = abrir({});
    mostrar(*v);
    EXPECT_EQ(v->programa().ModoLinea, 0);
    EXPECT_EQ(v->windowTitle(), "Exportar e importar datos entre Tamberlo y VELMORA");
    EXPECT_EQ(v->size(), QSize(632, 266));
    EXPECT_EQ(v->minimumSize(), v->maximumSize());
    EXPECT_EQ(v->Draw3D1->geometry(), QRect(0, 168, 633, 97));
    EXPECT_EQ(v->Draw3D2->geometry(), QRect(0, 0, 315, 169));
    EXPECT_EQ(v->Draw3D3->geometry(), QRect(316, 0, 317, 169));
    EXPECT_EQ(v->Label3->geometry(), QRect(24, 24, 265, 57));
    EXPECT_EQ(v->Label4->geometry(), QRect(8, 24, 305, 57));
    EXPECT_EQ(v->BExportar->geometry(), QRect(96, 120, 89, 25));
    EXPECT_EQ(v->BImportar->geometry(), QRect(96, 120, 89, 25));
    EXPECT_EQ(v->BClose->geometry(), QRect(256, 32, 89, 25));
    EXPECT_EQ(v->Button1->geometry(), QRect(40, 64, 75, 25));
    EXPECT_EQ(v->Label1->pos(), QPoint(368, 72));
    EXPECT_EQ(v->Label3->text(), "Transformar datos desde VELMORA hacia Tamberlo ");
    EXPECT_EQ(v->Label4->text(), "Transformar datos desde Tamberlo hacia VELMORA");
    EXPECT_EQ(v->Label1->text(), "Pontavia para QX42 V-1.0");
    EXPECT_EQ(v->BExportar->text(), "OK");
    EXPECT_EQ(v->BClose->text(), "&Salir");
    EXPECT_EQ(v->Button1->text(), "F1 Ayuda");
    EXPECT_TRUE(v->Label3->font().bold());
    EXPECT_EQ(v->Label3->font().pointSize(), 12);
    EXPECT_TRUE(v->Label1->font().bold());
    EXPECT_FALSE(v->BExportar->icon().isNull());
    for (QWidget* w : std::vector<QWidget*>{v->Draw3D1, v->Draw3D2, v->Draw3D3})
        EXPECT_TRUE(w->isVisible());
    // Tab order: the bottom panel first, then exportar, then importar.
    std::vector<QWidget*> orden;
    QWidget* w = v->BClose;
    for (int i = 0; i < 4; ++i) {
        orden.push_back(w);
        do
            w = w->nextInFocusChain();
        while (!(w->focusPolicy() & Qt::TabFocus));
    }
    EXPECT_EQ(orden, (std::vector<QWidget*>{v->BClose, v->Button1, v->BExportar, v->BImportar}));
    v->close();
    EXPECT_FALSE(fs::exists(ini()));
}

TEST_F(VentanaTMForm, ModoInteractivoConOtroNumeroDeParametros) {
    for (const QStringList& p :
         {QStringList{}, QStringList{"exportar"}, QStringList{"exportar", "x", "y"}}) {
        auto v = abrir(p);
        mostrar(*v);
        EXPECT_EQ(v->programa().ModoLinea, 0);
        EXPECT_TRUE(v->mensajes.empty());
        EXPECT_TRUE(v->Draw3D2->isVisible() && v->Draw3D3->isVisible());
        v->close();
        EXPECT_FALSE(fs::exists(ini()));
    }
}

TEST_F(VentanaTMForm, ExportarDesdeLaLineaDeOrdenes) {
    escribirArchivo(datos / "centro.xml", documento(""));
    escribirArchivo(ini(), "; de Tamberlo\r\n[Otra]\r\nX=1\r\n");
    auto v = abrir({"EXPORTAR", "cualquiera"});
    EXPECT_EQ(v->programa().ModoLinea, 2);
    EXPECT_FALSE(v->Draw3D3->isVisibleTo(v.get()));
    EXPECT_EQ(v->Draw3D2->geometry(), QRect(0, 0, 632, 266));
    mostrar(*v);
    EXPECT_EQ(v->mensajes, (std::vector<std::string>{"Proceso finalizado"}));
    EXPECT_FALSE(v->isVisible());
    EXPECT_EQ(leerArchivo(ini()),
              "; de Tamberlo\r\n[Otra]\r\nX=1\r\n[Transformadores]\r\nTransformado=1\r\n");
    EXPECT_TRUE(fs::exists(ktemp / "ASIGT.DBF"));
    // The window's messages stay as they are; the report waits in Tamberlo's folder.
    EXPECT_EQ(leerArchivo(ktemp / "INFORME-PONTAVIA.TXT")
                  .rfind("\xEF\xBB\xBFInforme de Pontavia: exportar", 0),
              0u);
}

TEST_F(VentanaTMForm, ImportarSinSolucionDejaMenosUno) {
    escribirArchivo(datos / "centro.xml", documento(""));
    auto v = abrir({"importar", "x"});
    EXPECT_FALSE(v->Draw3D2->isVisibleTo(v.get()));
    mostrar(*v);
    EXPECT_EQ(v->mensajes.back(), "No existe archivo XML o Solución.");
    EXPECT_FALSE(v->isVisible());
    EXPECT_EQ(leerArchivo(ini()), "[Transformadores]\r\nTransformado=-1\r\n");
}

TEST_F(VentanaTMForm, DosPalabrasCualesquiera) {
    auto v = abrir({"abc", "def"});
    mostrar(*v);
    EXPECT_EQ(v->programa().ModoLinea, 2);
    EXPECT_TRUE(v->Draw3D2->isVisible() && v->Draw3D3->isVisible() && v->Draw3D1->isVisible());
    EXPECT_TRUE(v->mensajes.empty());
    v->close();
    EXPECT_EQ(leerArchivo(ini()), "[Transformadores]\r\nTransformado=0\r\n");
}

TEST_F(VentanaTMForm, UnaEjecucionQueFallaDejaLaVentanaAbierta) {
    escribirArchivo(datos / "centro.xml", documento("<aulas><daula codigo=\"A\"/></aulas>"));
    auto v = abrir({"exportar", "x"});
    mostrar(*v);
    ASSERT_EQ(v->errores.size(), 1u);
    EXPECT_NE(v->errores[0].find("nombre"), std::string::npos) << v->errores[0];
    EXPECT_TRUE(v->isVisible());
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
    v->close();
    EXPECT_EQ(leerArchivo(ini()), "[Transformadores]\r\nTransformado=0\r\n");
}

TEST_F(VentanaTMForm, ArchivoDeEstadoQueNoSePuedeEscribir) {
    fs::create_directory(ini());
    auto v = abrir({"abc", "def"});
    mostrar(*v);
    v->close();
    ASSERT_EQ(v->errores.size(), 1u);
    EXPECT_TRUE(v->errores[0].ends_with("\n\nUnable to write to " + ini().string()))
        << v->errores[0];
}

TEST_F(VentanaTMForm, BotonesDeEjecutarYAyuda) {
    escribirArchivo(datos / "centro.xml", documento(""));
    auto v = abrir({});
    mostrar(*v);
    QTest::mouseClick(v->BExportar, Qt::LeftButton);
    EXPECT_EQ(v->mensajes, (std::vector<std::string>{"Proceso finalizado"}));
    EXPECT_TRUE(v->isVisible());
    EXPECT_EQ(v->programa().EstadoTransformado, 1);

    // The help file lives in the program's folder; without it, a message says so.
    const auto chm = datos / "VELMORA.chm";
    fs::remove(chm);
    v->mensajes.clear();
    QTest::mouseClick(v->Button1, Qt::LeftButton);
    ASSERT_EQ(v->mensajes.size(), 1u);
    EXPECT_NE(v->mensajes[0].find("VELMORA.chm"), std::string::npos);
    escribirArchivo(chm, "ayuda");
    QTest::mouseClick(v->Button1, Qt::LeftButton);
    QTest::keyClick(v.get(), Qt::Key_F1);
    fs::remove(chm);
    EXPECT_EQ(v->ayudas, (std::vector<int>{0, TMForm::kContextoAyuda}));
}

int main(int argc, char** argv) {
    // The window tests never need a display.
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
