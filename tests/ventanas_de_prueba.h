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
// The program's own words that end a message, after what it tells the timetabler first
// ("No existe archivo" after which file is missing); a message without that part whole.
inline std::vector<std::string> palabrasPropias(std::vector<std::string> mensajes) {
    for (auto& m : mensajes)
        if (const auto corte = m.rfind("\n\n"); corte != std::string::npos) m.erase(0, corte + 2);
    return mensajes;
}

template <typename Base> class DialogosDePrueba : public Base {
  public:
    using Base::Base;
    std::string archivo;
    bool confirmar = true;
    std::vector<std::string> mensajes;

    // The dialogs' titles, in the order shown.
    std::vector<std::string> titulos;
    bool elegirArchivo(const std::string& titulo, const std::string&,
                       std::string& elegido) override {
        titulos.push_back(titulo);
        elegido = archivo;
        return confirmar;
    }
    // Each box's weight (its icon), in the order shown: plain boxes, warnings, the end box.
    std::vector<Gravedad> gravedades;
    void mensaje(const std::string& texto) override {
        mensajes.push_back(texto);
        gravedades.push_back(Gravedad::Informacion);
    }
    void avisar(const std::string& texto) override {
        mensajes.push_back(texto);
        gravedades.push_back(Gravedad::Aviso);
    }

    // The end box: its first line among the messages, the whole text in finales;
    // verInforme is the button the user takes.
    bool verInforme = false;
    std::vector<std::string> finales;
    bool mensajeFinal(const std::string& texto, Gravedad gravedad) override {
        mensajes.push_back(texto.substr(0, texto.find('\n')));
        gravedades.push_back(gravedad);
        finales.push_back(texto);
        return verInforme;
    }
    // Questions are recorded too, and answered with respuesta.
    bool respuesta = true;
    std::vector<std::string> preguntas;
    bool preguntar(const std::string& texto) override {
        preguntas.push_back(texto);
        return respuesta;
    }
    std::vector<std::filesystem::path> vistos;
    bool abrirEnVisor(const std::filesystem::path& ruta) override {
        vistos.push_back(ruta);
        return true;
    }
};

// A window with the error box and the help viewer (a Formulario): both recorded too.
template <typename Base> class FormularioDePrueba : public DialogosDePrueba<Base> {
  public:
    using DialogosDePrueba<Base>::DialogosDePrueba;
    std::vector<std::string> errores;
    std::vector<int> ayudas;
    bool visorInstalado = true;

    void mostrarError(const std::string& texto) override {
        errores.push_back(texto);
        this->gravedades.push_back(Gravedad::Error);
    }
    bool abrirAyuda(const std::filesystem::path&, int contexto) override {
        ayudas.push_back(contexto);
        return visorInstalado;
    }
    // Pontavia's guide: the topics asked for; guiaInstalada is whether it is there.
    std::vector<int> guias;
    bool guiaInstalada = true;
    bool abrirGuia(const std::filesystem::path&, int contexto) override {
        guias.push_back(contexto);
        return guiaInstalada;
    }
};

// The window of the runs' tests: besides its dialogs, the error box, the cursor and the
// closes are recorded.
class VentanaPrueba : public DialogosDePrueba<Ventana> {
  public:
    int cierres = 0;
    bool ocupado = false;
    std::vector<std::string> errores;

    void mostrarError(const std::string& texto) override {
        errores.push_back(texto);
        gravedades.push_back(Gravedad::Error);
    }

    void cursorOcupado(bool o) override { ocupado = o; }
    void cerrar() override { ++cierres; }
};

} // namespace pontavia::prueba
