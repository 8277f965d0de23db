// A third front end, as small as one can be: a "window" on the terminal that implements
// Ventana and lets Formulario do the rest (the mode word, the runs, their end, Tamberlo's
// status). It proves that a front end needs the door and the window logic, nothing more.
#include "formulario.h"

#include <iostream>
#include <string>

namespace {

class VentanaDeTerminal : public pontavia::Formulario {
  public:
    using Formulario::Formulario;

    bool elegirArchivo(const std::string& titulo, const std::string& ultimo,
                       std::string& elegido) override {
        std::cout << titulo << " [" << ultimo << "]: ";
        return static_cast<bool>(std::getline(std::cin, elegido)) && !elegido.empty();
    }
    void mensaje(const std::string& texto) override { std::cout << texto << '\n'; }
    void mostrarError(const std::string& texto) override { std::cerr << texto << '\n'; }
    bool preguntar(const std::string& texto) override {
        std::cout << texto << " [s/N] ";
        std::string respuesta;
        return std::getline(std::cin, respuesta) && (respuesta == "s" || respuesta == "S");
    }
    bool abrirEnVisor(const std::filesystem::path&) override { return false; }
    void cursorOcupado(bool) override {}
    void cerrar() override { cerrada = true; }
    bool abrirAyuda(const std::filesystem::path&, int) override { return false; }
    bool abrirGuia(const std::filesystem::path&, int) override { return false; }

    bool cerrada = false;
};

} // namespace

int main(int argc, char** argv) {
    const auto parametros = pontavia::argumentosEnUtf8(argc, argv);
    VentanaDeTerminal ventana({parametros.begin() + 1, parametros.end()},
                              pontavia::carpetaDelEjecutable());
    ventana.alMostrarse();
    if (ventana.modo() == pontavia::Modo::Interactivo) ventana.pulsarExportar();
    ventana.alCerrarse();
    return ventana.programa().EstadoTransformado == 1 ? 0 : 1;
}
