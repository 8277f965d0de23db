// The window on the offscreen platform: its layout in each mode, the command-line cases,
// the status file and the help. Dialogs are answered through the window's interface.
#include "error.h"
#include "mform.h"
#include "panel_degradado.h"
#include "ventanas_de_prueba.h"

#include <QAccessible>
#include <QApplication>
#include <QFontMetrics>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTranslator>
#include <gtest/gtest.h>

using namespace pontavia;
using namespace pontavia::prueba;

namespace {

// The Qt window with its dialogs recorded; its cursor and its closing are the real ones.
using VentanaDePrueba = FormularioDePrueba<VentanaPrincipal>;

class VentanaQt : public ::testing::Test {
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

TEST_F(VentanaQt, DisposicionInteractiva) {
    auto v = abrir({});
    mostrar(*v);
    EXPECT_EQ(v->programa().ModoLinea, 0);
    EXPECT_EQ(v->windowTitle(), "Exportar e importar datos entre Tamberlo y VELMORA");
    EXPECT_EQ(v->size(), QSize(632, 266));
    EXPECT_EQ(v->minimumSize(), v->maximumSize());
    EXPECT_EQ(v->panelInferior->geometry(), QRect(0, 168, 633, 97));
    EXPECT_EQ(v->panelExportar->geometry(), QRect(0, 0, 315, 169));
    EXPECT_EQ(v->panelImportar->geometry(), QRect(316, 0, 317, 169));
    // Where each control lies on its panel is for NadaSeTapaYCadaTextoCabe to judge.
    EXPECT_EQ(v->etiquetaExportar->text(), "Transformar datos desde VELMORA hacia Tamberlo ");
    EXPECT_EQ(v->etiquetaImportar->text(), "Transformar datos desde Tamberlo hacia VELMORA");
    EXPECT_EQ(v->etiquetaVersion->text(), "Pontavia para QX42 V-1.0");
    EXPECT_EQ(v->botonExportar->text(), "OK");
    EXPECT_EQ(v->botonSalir->text(), "&Salir");
    EXPECT_EQ(v->botonAyuda->text(), "F1 Ayuda");
    for (const QLabel* etiqueta : {v->etiquetaExportar, v->etiquetaImportar}) {
        EXPECT_TRUE(etiqueta->font().bold());
        EXPECT_EQ(etiqueta->font().family(), "Arial");
        EXPECT_EQ(etiqueta->font().pointSize(), 12);
    }
    EXPECT_EQ(v->font().family(), "MS Sans Serif");
    EXPECT_EQ(v->font().pointSize(), 8);
    EXPECT_TRUE(v->etiquetaVersion->font().bold());
    EXPECT_FALSE(v->botonExportar->icon().isNull());
    for (QWidget* w : std::vector<QWidget*>{v->panelInferior, v->panelExportar, v->panelImportar})
        EXPECT_TRUE(w->isVisible());
    // The keyboard starts on the first of the tab order: the bottom panel first, then
    // exportar, then importar.
    EXPECT_EQ(v->focusWidget(), v->botonSalir);
    std::vector<QWidget*> orden;
    QWidget* w = v->botonSalir;
    for (int i = 0; i < 4; ++i) {
        orden.push_back(w);
        do
            w = w->nextInFocusChain();
        while (!(w->focusPolicy() & Qt::TabFocus));
    }
    EXPECT_EQ(orden, (std::vector<QWidget*>{v->botonSalir, v->botonAyuda, v->botonExportar,
                                            v->botonImportar}));
    v->close();
    EXPECT_FALSE(fs::exists(ini()));
}

// What a screen reader says of each control: the OK buttons by what they do, the captions as
// text; what shows stays as it was.
TEST_F(VentanaQt, CadaControlTieneNombreParaUnLector) {
    auto v = abrir({});
    mostrar(*v);
    const struct {
        QWidget* control;
        QAccessible::Role papel;
        const char* nombre;
    } casos[] = {
        {v->botonSalir, QAccessible::Button, "Salir"},
        {v->botonAyuda, QAccessible::Button, "F1 Ayuda"},
        {v->etiquetaVersion, QAccessible::StaticText, "Pontavia para QX42 V-1.0"},
        {v->etiquetaExportar, QAccessible::StaticText,
         "Transformar datos desde VELMORA hacia Tamberlo "},
        {v->botonExportar, QAccessible::Button, "Transformar datos desde VELMORA hacia Tamberlo"},
        {v->etiquetaImportar, QAccessible::StaticText,
         "Transformar datos desde Tamberlo hacia VELMORA"},
        {v->botonImportar, QAccessible::Button, "Transformar datos desde Tamberlo hacia VELMORA"},
    };
    for (const auto& c : casos) {
        SCOPED_TRACE(c.nombre);
        QAccessibleInterface* a = QAccessible::queryAccessibleInterface(c.control);
        ASSERT_NE(a, nullptr);
        EXPECT_EQ(a->role(), c.papel);
        EXPECT_EQ(a->text(QAccessible::Name), QString::fromUtf8(c.nombre));
    }
    EXPECT_EQ(v->botonExportar->text(), "OK");
    EXPECT_EQ(v->botonImportar->text(), "OK");
    v->close();
}

TEST_F(VentanaQt, ModoInteractivoConOtroNumeroDeParametros) {
    for (const QStringList& p :
         {QStringList{}, QStringList{"exportar"}, QStringList{"exportar", "x", "y"}}) {
        auto v = abrir(p);
        mostrar(*v);
        EXPECT_EQ(v->programa().ModoLinea, 0);
        EXPECT_TRUE(v->mensajes.empty());
        EXPECT_TRUE(v->panelExportar->isVisible() && v->panelImportar->isVisible());
        v->close();
        EXPECT_FALSE(fs::exists(ini()));
    }
}

TEST_F(VentanaQt, ExportarDesdeLaLineaDeOrdenes) {
    escribirArchivo(datos / "centro.xml", documento(""));
    escribirArchivo(ini(), "; de Tamberlo\r\n[Otra]\r\nX=1\r\n");
    auto v = abrir({"EXPORTAR", "cualquiera"});
    EXPECT_EQ(v->programa().ModoLinea, 2);
    EXPECT_FALSE(v->panelImportar->isVisibleTo(v.get()));
    EXPECT_EQ(v->panelExportar->geometry(), QRect(0, 0, 632, 266));
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

TEST_F(VentanaQt, ImportarSinSolucionDejaMenosUno) {
    escribirArchivo(datos / "centro.xml", documento(""));
    auto v = abrir({"importar", "x"});
    EXPECT_FALSE(v->panelExportar->isVisibleTo(v.get()));
    mostrar(*v);
    EXPECT_EQ(palabrasPropias(v->mensajes).back(), "No existe archivo XML o Solución.");
    // Tamberlo's timetable is what is missing, and it is named.
    EXPECT_NE(v->mensajes.back().find("No se encuentra el horario de Tamberlo"), std::string::npos);
    EXPECT_NE(v->mensajes.back().find("SOLUC.DBF"), std::string::npos);
    EXPECT_FALSE(v->isVisible());
    EXPECT_EQ(leerArchivo(ini()), "[Transformadores]\r\nTransformado=-1\r\n");
}

TEST_F(VentanaQt, DosPalabrasCualesquiera) {
    auto v = abrir({"abc", "def"});
    mostrar(*v);
    EXPECT_EQ(v->programa().ModoLinea, 2);
    EXPECT_TRUE(v->panelExportar->isVisible() && v->panelImportar->isVisible() &&
                v->panelInferior->isVisible());
    EXPECT_TRUE(v->mensajes.empty());
    v->close();
    EXPECT_EQ(leerArchivo(ini()), "[Transformadores]\r\nTransformado=0\r\n");
}

// Escape closes the window as its close box does: started by Tamberlo, the status is left.
TEST_F(VentanaQt, EscapeCierraYDejaElEstado) {
    escribirArchivo(ini(), "[Transformadores]\r\nTransformado=1\r\n");
    auto v = abrir({"abc", "def"});
    mostrar(*v);
    QTest::keyClick(v.get(), Qt::Key_Escape);
    EXPECT_FALSE(v->isVisible());
    EXPECT_EQ(leerArchivo(ini()), "[Transformadores]\r\nTransformado=0\r\n");
}

TEST_F(VentanaQt, UnaEjecucionQueFallaDejaLaVentanaAbierta) {
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

TEST_F(VentanaQt, ArchivoDeEstadoQueNoSePuedeEscribir) {
    fs::create_directory(ini());
    auto v = abrir({"abc", "def"});
    mostrar(*v);
    v->close();
    ASSERT_EQ(v->errores.size(), 1u);
    EXPECT_TRUE(v->errores[0].ends_with("\n\nUnable to write to " + ini().string()))
        << v->errores[0];
}

TEST_F(VentanaQt, BotonesDeEjecutarYAyuda) {
    escribirArchivo(datos / "centro.xml", documento(""));
    auto v = abrir({});
    mostrar(*v);
    QTest::mouseClick(v->botonExportar, Qt::LeftButton);
    EXPECT_EQ(v->mensajes, (std::vector<std::string>{"Proceso finalizado"}));
    EXPECT_TRUE(v->isVisible());
    EXPECT_EQ(v->programa().EstadoTransformado, 1);

    // VELMORA's help lives in the program's folder; without it, Pontavia's guide opens.
    const auto chm = datos / "VELMORA.chm";
    fs::remove(chm);
    v->mensajes.clear();
    QTest::mouseClick(v->botonAyuda, Qt::LeftButton);
    QTest::keyClick(v.get(), Qt::Key_F1);
    EXPECT_TRUE(v->mensajes.empty());
    EXPECT_EQ(v->guias, (std::vector<int>{0, VentanaPrincipal::kContextoAyuda}));
    escribirArchivo(chm, "ayuda");
    QTest::mouseClick(v->botonAyuda, Qt::LeftButton);
    QTest::keyClick(v.get(), Qt::Key_F1);
    fs::remove(chm);
    EXPECT_EQ(v->ayudas, (std::vector<int>{0, VentanaPrincipal::kContextoAyuda}));
}

// What a user sees at the screen scales Windows offers: within each panel no control covers
// another, and every caption fits its control whole (a label's wrapped lines in its height, a
// button's text and glyph in its width), its font and its box grown alike.
TEST_F(VentanaQt, NadaSeTapaYCadaTextoCabe) {
    auto v = abrir({});
    mostrar(*v);
    for (QWidget* panel : {v->panelInferior, v->panelExportar, v->panelImportar}) {
        std::vector<QWidget*> controles;
        for (QObject* hijo : panel->children())
            if (auto* w = qobject_cast<QWidget*>(hijo); w && w->isVisible()) controles.push_back(w);
        for (const QWidget* w : controles)
            EXPECT_TRUE(panel->rect().contains(w->geometry())) << w->objectName().toStdString();
        for (std::size_t i = 0; i < controles.size(); ++i)
            for (std::size_t j = i + 1; j < controles.size(); ++j)
                EXPECT_FALSE(controles[i]->geometry().intersects(controles[j]->geometry()))
                    << controles[i]->objectName().toStdString() << " / "
                    << controles[j]->objectName().toStdString();
    }
    for (const double escala : {1.0, 1.5, 2.0}) {
        SCOPED_TRACE(escala);
        const auto crecida = [escala](const QWidget* w) {
            QFont f = w->font();
            f.setPointSizeF(f.pointSizeF() * escala);
            return QFontMetrics(f);
        };
        const auto lado = [escala](int px) { return static_cast<int>(px * escala); };
        for (const QLabel* etiqueta : {v->etiquetaExportar, v->etiquetaImportar}) {
            const QRect caja(0, 0, lado(etiqueta->width()), 100000);
            const int alto =
                crecida(etiqueta).boundingRect(caja, Qt::TextWordWrap, etiqueta->text()).height();
            EXPECT_LE(alto, lado(etiqueta->height())) << etiqueta->text().toStdString();
        }
        const QFontMetrics version = crecida(v->etiquetaVersion);
        EXPECT_LE(lado(v->etiquetaVersion->x()) +
                      version.horizontalAdvance(v->etiquetaVersion->text()),
                  lado(v->panelInferior->width()));
        for (const QPushButton* boton :
             {v->botonExportar, v->botonImportar, v->botonSalir, v->botonAyuda}) {
            QString texto = boton->text();
            texto.remove('&');
            const QFontMetrics m = crecida(boton);
            // The glyph, a gap and a margin on each side, as the style draws them.
            const int glifo = boton->icon().isNull() ? 0 : lado(boton->iconSize().width() + 4);
            EXPECT_LE(m.horizontalAdvance(texto) + glifo + lado(2 * 6), lado(boton->width()))
                << texto.toStdString();
            EXPECT_LE(m.height() + lado(4), lado(boton->height())) << texto.toStdString();
        }
    }
}

// Qt's own buttons speak Spanish once its translation is loaded.
TEST_F(VentanaQt, DialogosDeQtEnEspanol) {
    QTranslator traduccion;
    ASSERT_TRUE(traducirQt(traduccion));
    QMessageBox caja(QMessageBox::NoIcon, "Pontavia", "x", QMessageBox::Ok | QMessageBox::Cancel);
    EXPECT_EQ(caja.button(QMessageBox::Ok)->text().remove('&'), "Aceptar");
    EXPECT_EQ(caja.button(QMessageBox::Cancel)->text().remove('&'), "Cancelar");
    QApplication::removeTranslator(&traduccion);
}

// The guide the build lays beside the program: its contents and the window's topic.
TEST(GuiaQt, LaGuiaEstaJuntoAlPrograma) {
    const fs::path guia = fs::path(PONTAVIA_CLI).parent_path() / VentanaPrincipal::kCarpetaGuia;
    EXPECT_TRUE(fs::exists(guia / VentanaPrincipal::kIndiceGuia));
    EXPECT_TRUE(fs::exists(guia / VentanaPrincipal::kTemaVentana));
}

int main(int argc, char** argv) {
    // The window tests never need a display.
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
