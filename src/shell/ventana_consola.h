#pragma once
// The window as pontavia-cli plays it: the file named on the command line stands for the
// dialog's choice, messages go to standard output.
#include "ventana.h"

#include <ostream>
#include <string>

namespace pontavia {

class VentanaConsola : public Ventana {
  public:
    VentanaConsola(std::string archivo, std::ostream& salida)
        : archivo_(std::move(archivo)), salida_(salida) {}
    bool elegirArchivo(const std::string&, std::string& elegido) override {
        elegido = archivo_;
        return true;
    }
    void mensaje(const std::string& texto) override { salida_ << texto << '\n'; }
    void cursorOcupado(bool) override {}
    void cerrar() override {}

  private:
    std::string archivo_;
    std::ostream& salida_;
};

} // namespace pontavia
