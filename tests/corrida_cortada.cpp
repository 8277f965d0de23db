// A run cut off at its k-th disk operation, for the tests that kill a run at every instant: the
// run goes through the core's door (or, for "tamberlo", through the window as Tamberlo starts
// it with its mode word) on a disk that ends this process at operation k, with no clean-up.
// With k = 0 the run goes to its end and the number of operations it took is written to
// PASOS. Arguments arrive as UTF-8 on every system.
//
//   corrida_cortada K PASOS exportar XML KTEMP
//   corrida_cortada K PASOS importar XML KTEMP
//   corrida_cortada K PASOS restaurar KTEMP
//   corrida_cortada K PASOS tamberlo XML CARPETA   (exportar; Tamberlo.ini in CARPETA, the
//                                                    KTEMP folder from PONTAVIA_KTEMP)
#include "disco_con_fallos.h"
#include "error.h"
#include "formulario.h"
#include "informe.h"
#include "nucleo.h"
#include "sistema.h"

#include <fstream>
#include <iostream>
#include <string>
#include <vector>

using namespace pontavia;

namespace {

// The window as Tamberlo starts it, without a toolkit: the file dialog answers with one file.
class FormularioSinVentana final : public Formulario {
  public:
    FormularioSinVentana(std::filesystem::path carpeta, std::string xml)
        : Formulario({"exportar", "x"}, std::move(carpeta)), xml_(std::move(xml)) {}
    bool elegirArchivo(const std::string&, const std::string&, std::string& elegido) override {
        elegido = xml_;
        return true;
    }
    void mensaje(const std::string&) override {}
    void mostrarError(const std::string& texto) override { std::cerr << texto << "\n"; }
    void cursorOcupado(bool) override {}
    void cerrar() override { alCerrarse(); }
    bool abrirAyuda(const std::filesystem::path&, int) override { return false; }
    bool abrirGuia(const std::filesystem::path&, int) override { return false; }
    bool preguntar(const std::string&) override { return false; }
    bool abrirEnVisor(const std::filesystem::path&) override { return false; }

  private:
    std::string xml_;
};

} // namespace

int main(int argc, char** argv) {
    const std::vector<std::string> a = sistema::argumentos(argc, argv);
    if (a.size() < 4) return 2;
    const std::size_t k = std::stoul(a[1]);
    prueba::DiscoConFallos disco;
    const auto ruta = [&](std::size_t i) { return sistema::ruta(a.at(i)); };
    int codigo = 0;
    try {
        if (a[3] == "tamberlo") {
            FormularioSinVentana f(ruta(5), a.at(4));
            // Only the run goes through disco: the status is written on the system's disk, the
            // first time before the run.
            f.programa().disco = &disco;
            disco.terminarEnPaso(k);
            f.alMostrarse();
        } else {
            disco.terminarEnPaso(k);
            Informe informe;
            if (a[3] == "exportar")
                exportar(ruta(4), ruta(5), informe, disco);
            else if (a[3] == "importar")
                importar(ruta(4), ruta(5), informe, disco);
            else if (a[3] == "restaurar")
                restaurar(ruta(4), disco);
            else
                return 2;
        }
    } catch (const Error& e) {
        std::cerr << e.what() << "\n";
        codigo = 1;
    }
    if (k == 0) std::ofstream(ruta(2)) << disco.pasos() << "\n";
    return codigo;
}
