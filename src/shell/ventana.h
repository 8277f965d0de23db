#pragma once
// All that a run asks of the window: the same runs serve the Qt window, pontavia-cli and
// the tests, each with its own Ventana.
#include "nucleo.h"

#include <filesystem>
#include <string>

namespace pontavia {

class Ventana {
  public:
    virtual ~Ventana() = default;
    // The open-file dialog with its title, offering the file chosen last; true, with the
    // path, when the user confirms a file.
    virtual bool elegirArchivo(const std::string& titulo, const std::string& ultimo,
                               std::string& elegido) = 0;
    // A modal message box with one OK button and the information icon; returns once the user
    // has dismissed it.
    virtual void mensaje(const std::string& texto) = 0;
    // The same with the warning icon: an input missing.
    virtual void avisar(const std::string& texto) { mensaje(texto); }
    // The box that ends a run: texto, the icon of its weight, its OK button the default (Enter
    // and Escape close it), and a second button "Ver informe"; true when the user chose that.
    virtual bool mensajeFinal(const std::string& texto, Gravedad gravedad) {
        mostrarCaja(texto, gravedad);
        return false;
    }
    // Any box but the end's, with the icon of its weight: the one rule every box follows.
    void mostrarCaja(const std::string& texto, Gravedad gravedad) {
        switch (gravedad) {
        case Gravedad::Informacion:
            return mensaje(texto);
        case Gravedad::Aviso:
            return avisar(texto);
        case Gravedad::Error:
            return mostrarError(texto);
        }
    }
    // The application's error box: the error's own text, caption "Pontavia".
    virtual void mostrarError(const std::string& texto) { mensaje(texto); }
    // A question with "Sí" and "No", "No" the default; true for "Sí".
    virtual bool preguntar(const std::string& texto) = 0;
    // Opens a file (a report) in the system's viewer for it; false when none could.
    virtual bool abrirEnVisor(const std::filesystem::path& archivo) = 0;
    virtual void cursorOcupado(bool ocupado) = 0;
    // Closes the window (in command-line mode this ends the program).
    virtual void cerrar() = 0;
};

// The busy cursor for as long as it lives, or until restaurar(): a run that ends by an error
// gives the cursor back too.
class CursorOcupado {
  public:
    explicit CursorOcupado(Ventana& v) : ventana_(v) { ventana_.cursorOcupado(true); }
    ~CursorOcupado() { restaurar(); }
    void restaurar() {
        if (activo_) {
            activo_ = false;
            ventana_.cursorOcupado(false);
        }
    }
    CursorOcupado(const CursorOcupado&) = delete;
    CursorOcupado& operator=(const CursorOcupado&) = delete;

  private:
    Ventana& ventana_;
    bool activo_ = true;
};

} // namespace pontavia
