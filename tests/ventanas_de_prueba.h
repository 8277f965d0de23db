#pragma once
// The windows the front ends' tests play, besides what every test shares.
#include "ayudantes.h"
#include "programa.h"
#include "ventana.h"

#include <filesystem>
#include <string>
#include <vector>

namespace pontavia::prueba {

// The dialogs of every window the tests play (Ventana, Formulario or a toolkit's window): the
// file dialog answers with a fixed file, messages are recorded.
template <typename Base> class DialogosDePrueba : public Base {
  public:
    using Base::Base;
    std::string archivo;
    bool confirmar = true;
    std::vector<std::string> mensajes;

    bool elegirArchivo(const std::string&, std::string& elegido) override {
        elegido = archivo;
        return confirmar;
    }
    void mensaje(const std::string& texto) override { mensajes.push_back(texto); }
};

// A window with the error box and the help viewer (a Formulario): both recorded too.
template <typename Base> class FormularioDePrueba : public DialogosDePrueba<Base> {
  public:
    using DialogosDePrueba<Base>::DialogosDePrueba;
    std::vector<std::string> errores;
    std::vector<int> ayudas;
    bool visorInstalado = true;

    void mostrarError(const std::string& texto) override { errores.push_back(texto); }
    bool abrirAyuda(const std::filesystem::path&, int contexto) override {
        ayudas.push_back(contexto);
        return visorInstalado;
    }
};

// The window of the runs' tests: besides its dialogs, the cursor and the closes are recorded.
class VentanaPrueba : public DialogosDePrueba<Ventana> {
  public:
    int cierres = 0;
    bool ocupado = false;

    void cursorOcupado(bool o) override { ocupado = o; }
    void cerrar() override { ++cierres; }
};

} // namespace pontavia::prueba
