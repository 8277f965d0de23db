#pragma once
// The main window's behaviour, whatever toolkit draws it: how Tamberlo's mode word is read,
// the run each button and the first showing start, the status file written on closing, the
// help, and errors turned into one message box. Each window (Qt on Linux, Win32 on Windows)
// derives from Formulario and adds only its widgets and dialogs.
#include "programa.h"
#include "ventana.h"

#include <filesystem>
#include <string>
#include <vector>

namespace pontavia {

// How the program was started.
enum class Modo {
    // Any number of parameters but two: the window waits for the user.
    Interactivo,
    // Two parameters, the first "exportar" or "importar" (A to Z in any case): only that side
    // is shown and it runs at once.
    Exportar,
    Importar,
    // Two parameters, the first neither word: both sides as in the interactive mode, but a
    // run that ends closes the window and every close leaves the status.
    OtraPalabra,
    // One parameter, a word of the Start menu's own: the window runs that task and closes,
    // leaving no status (Tamberlo never starts it so).
    VerInforme, // "informe": the last run's report in the system's viewer
    Comprobar,  // "comprobar": exportar's dry run on a chosen file, and its report
    Restaurar,  // "restaurar": the undo of the last exportar, once confirmed
};

// The mode of a command line (without the program's own path). Of two parameters, the second
// only makes the count.
Modo modoDeArranque(const std::vector<std::string>& parametros);

class Formulario : public Ventana {
  public:
    static constexpr int kContextoAyuda = 3;
    static constexpr const char* kArchivoAyuda = "VELMORA.chm";

    static constexpr const char* kArchivoEstado = "Tamberlo.ini";

    // Pontavia's guide beside the program: compiled HTML Help on Windows (the window's topic
    // at kContextoAyuda), its HTML pages in a folder elsewhere.
    static constexpr const char* kGuiaCompilada = "Pontavia.chm";
    static constexpr const char* kCarpetaGuia = "guia";
    static constexpr const char* kIndiceGuia = "index.html";
    static constexpr const char* kTemaVentana = "ventana.html";

    // parametros: the command line without the program's own path, in UTF-8. carpeta: the
    // executable's folder, where the status file and the help file live.
    Formulario(const std::vector<std::string>& parametros, std::filesystem::path carpeta);

    Modo modo() const { return modo_; }
    // Started by Tamberlo: two parameters, whatever the words.
    bool enModoLinea() const {
        return modo_ == Modo::Exportar || modo_ == Modo::Importar || modo_ == Modo::OtraPalabra;
    }
    Programa& programa() { return programa_; }

    // The window is on screen for the first time: started with a mode word, the status 0,
    // then the chosen run; started for a task of the Start menu, that task, and the window
    // closes.
    void alMostrarse();
    // The window is closing: in command-line mode, the status for Tamberlo. A failure to
    // write it is shown, and the window closes all the same (Tamberlo waits for the end).
    void alCerrarse();
    // The two OK buttons.
    void pulsarExportar();
    void pulsarImportar();
    // The help button opens the help's table of contents; F1 its topic for this window.
    void pulsarAyuda();
    void teclaF1();

    // Asks the platform's viewer for the help file; contexto 0 is the table of contents.
    // False when no viewer could open it.
    virtual bool abrirAyuda(const std::filesystem::path& archivo, int contexto) = 0;
    // Pontavia's own guide, installed beside the program, for a machine without VELMORA's
    // help: its contents for contexto 0, else the topic of this window. False when it is not
    // there or nothing could open it.
    virtual bool abrirGuia(const std::filesystem::path& carpeta, int contexto) = 0;

  private:
    // The status for Tamberlo as it stands; a failure is shown, and false.
    bool escribirEstado();
    void ejecutar(void (*run)(Programa&, Ventana&));
    void tarea();
    void mostrarAyuda(int contexto);

    Programa programa_;
    Modo modo_;
    std::filesystem::path carpeta_;
    bool estadoNoEscrito_ = false; // the status could not be written when the window showed
};

} // namespace pontavia
