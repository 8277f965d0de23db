#pragma once
// VentanaPrincipal: Pontavia's one window, drawn with Qt. Its behaviour is Formulario's; this class
// adds the widgets, the dialogs and the events that reach them.
#include "formulario.h"

#include <QDialog>
#include <QStringList>
#include <filesystem>

class QLabel;
class QTranslator;
class QPushButton;

namespace pontavia {

class PanelDegradado;

// Qt's own dialogs and buttons (the file dialog, "Aceptar", "Cancelar") in Spanish, as the
// window's own texts are, whatever the desktop's language: loads Qt's Spanish translation
// into traduccion, which must outlive the application, and installs it. False (English) when
// the translations are not installed.
bool traducirQt(QTranslator& traduccion);

class VentanaPrincipal : public QDialog, public Formulario {
  public:
    // parametros: the command line without the program's own path. carpeta: the executable's
    // folder, with the status file and the help file.
    VentanaPrincipal(const QStringList& parametros, std::filesystem::path carpeta,
                     QWidget* padre = nullptr);
    ~VentanaPrincipal() override;

    // The window interface of the runs. The dialogs are virtual so that tests answer them.
    bool elegirArchivo(const std::string& titulo, const std::string& ultimo,
                       std::string& elegido) override;
    void mensaje(const std::string& texto) override;
    void avisar(const std::string& texto) override;
    bool mensajeFinal(const std::string& texto, Gravedad gravedad) override;
    bool preguntar(const std::string& texto) override;
    bool abrirEnVisor(const std::filesystem::path& archivo) override;
    void mostrarError(const std::string& texto) override;
    void cursorOcupado(bool ocupado) override;
    void cerrar() override;
    bool abrirAyuda(const std::filesystem::path& archivo, int contexto) override;
    bool abrirGuia(const std::filesystem::path& carpeta, int contexto) override;

    // The window's parts: its three panels, their captions and its four buttons.
    PanelDegradado* panelInferior;
    PanelDegradado* panelExportar;
    PanelDegradado* panelImportar;
    QLabel* etiquetaVersion;
    QLabel* etiquetaExportar;
    QLabel* etiquetaImportar;
    QPushButton* botonExportar;
    QPushButton* botonImportar;
    QPushButton* botonSalir;
    QPushButton* botonAyuda;

  protected:
    void showEvent(QShowEvent* e) override;
    void closeEvent(QCloseEvent* e) override;
    void keyPressEvent(QKeyEvent* e) override;

  private:
    // A box with one OK button and the icon of its weight.
    void caja(const std::string& texto, Gravedad gravedad);

    bool mostrada_ = false;
    bool cursorPuesto_ = false;
};

} // namespace pontavia
