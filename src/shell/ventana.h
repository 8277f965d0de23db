#pragma once
// All that a run asks of the window: the same runs serve the Qt window, pontavia-cli and
// the tests, each with its own Ventana.
#include <filesystem>
#include <string>

namespace pontavia {

class Ventana {
  public:
    virtual ~Ventana() = default;
    // The open-file dialog, offering the file chosen last; true, with the path, when the
    // user confirms a file.
    virtual bool elegirArchivo(const std::string& ultimo, std::string& elegido) = 0;
    // A modal message box with one OK button; returns once the user has dismissed it.
    virtual void mensaje(const std::string& texto) = 0;
    // The box that ends a run: texto, its OK button the default (Enter closes it), and a
    // second button "Ver informe"; true when the user chose that one.
    virtual bool mensajeFinal(const std::string& texto) {
        mensaje(texto);
        return false;
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
