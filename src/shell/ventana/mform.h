#pragma once
// TMForm: Pontavia's one window. In command-line mode (exactly two parameters, the first
// "exportar" or "importar") it shows only the chosen side, runs it as soon as it is shown,
// and on closing leaves the status in Tamberlo.ini for Tamberlo to read.
#include "programa.h"
#include "ventana.h"

#include <QDialog>
#include <QStringList>
#include <filesystem>
#include <functional>

class QLabel;
class QPushButton;

namespace pontavia {

class PanelDegradado;

class TMForm : public QDialog, public Ventana {
  public:
    // parametros: the command line without the program's own path. rutaEstado: the status
    // file, Tamberlo.ini in the executable's folder.
    TMForm(QStringList parametros, std::filesystem::path rutaEstado, QWidget* padre = nullptr);
    ~TMForm() override;

    Programa& programa() { return programa_; }

    // The window interface of the runs. The dialogs are virtual so that tests answer them.
    bool elegirArchivo(const std::string& ultimo, std::string& elegido) override;
    void mensaje(const std::string& texto) override;
    void cursorOcupado(bool ocupado) override;
    void cerrar() override;
    // The application's error box: the error's own text, caption "Pontavia".
    virtual void mostrarError(const std::string& texto);
    // Asks the platform's viewer for the help file; contexto 0 is the table of contents.
    // False when no viewer could open it.
    virtual bool abrirAyuda(const std::filesystem::path& archivo, int contexto);

    static constexpr int kContextoAyuda = 3;

    // The window's parts, by their designer names.
    PanelDegradado* Draw3D1;
    PanelDegradado* Draw3D2;
    PanelDegradado* Draw3D3;
    QLabel* Label1;
    QLabel* Label3;
    QLabel* Label4;
    QPushButton* BExportar;
    QPushButton* BImportar;
    QPushButton* BClose;
    QPushButton* Button1;

    void BExportarClick();
    void BImportarClick();
    void Button1Click();

  protected:
    void showEvent(QShowEvent* e) override;
    void closeEvent(QCloseEvent* e) override;
    void keyPressEvent(QKeyEvent* e) override;

  private:
    void FormCreate(const QStringList& parametros);
    void FormShow();
    void FormClose();
    void ejecutar(const std::function<void()>& run);
    void mostrarAyuda(int contexto);

    Programa programa_;
    QStringList parametros_;
    std::filesystem::path rutaEstado_;
    bool mostrada_ = false;
    bool cursorPuesto_ = false;
};

} // namespace pontavia
