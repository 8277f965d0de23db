// pontavia-cli: the runs without a window, for scripts, checks and the tests.
#include "cli_textos.h"
#include "codigos_salida.h"
#include "nucleo.h"

#include <CLI/CLI.hpp>
#include <clocale>
#include <filesystem>
#include <iostream>

namespace {

using namespace pontavia;

#ifdef _WIN32
constexpr const char* kCarpetaTamberlo = "\\KTEMP, en la raíz de la unidad actual";
#else
constexpr const char* kCarpetaTamberlo = "/KTEMP";
#endif

void escribirInformeCSV(const Informe& informe, const std::string& destino) {
    if (!destino.empty()) escribirArchivoEntero(rutaDeTexto(destino), informe.csv());
}

// exportar or importar on ARCHIVO, with the window's messages; after them, the report's
// summary.
using Corrida = Resultado (*)(const std::filesystem::path&, const std::filesystem::path&, Informe&,
                              Disco&);
int ejecutar(Corrida corrida, const char* faltaEntrada, const std::string& archivo,
             const std::string& informeCSV) {
    const auto ktemp = carpetaKTEMP();
    Informe informe;
    if (corrida(rutaDeTexto(archivo), ktemp, informe, discoDelSistema()) ==
        Resultado::FaltaEntrada) {
        const bool esImportar = corrida == &pontavia::importar;
        std::cerr << queFalta(rutaDeTexto(archivo), esImportar ? ktemp : std::filesystem::path())
                  << "\n\n"
                  << faltaEntrada << '\n';
        return kSalidaFaltaEntrada;
    }
    std::cout << "Proceso finalizado\n";
    for (const auto& frase : informe.advertencias())
        std::cout << "\nATENCIÓN: " << frase << '\n';
    const bool esImportar = corrida == &pontavia::importar;
    std::cout << "\nResumen del informe:\n"
              << informe.resumen() << "Informe completo en "
              << (esImportar ? informeDeImportar(ktemp) : informeDeExportar(ktemp)).string()
              << "\n";
    escribirInformeCSV(informe, informeCSV);
    return kSalidaHecho;
}

// A crash half-way through moving the tables in: the dry run only tells it.
void avisarMovimientoInterrumpido() {
    if (movimientoInterrumpido(carpetaKTEMP()))
        std::cout << "Aviso: una exportación o restauración anterior se interrumpió mientras "
                     "colocaba las tablas en "
                  << carpetaKTEMP().string()
                  << "; la próxima exportación, importación o restauración la completará.\n";
}

// The dry run: the whole report on standard output, nothing written but the CSV asked for.
int comprobar(const std::string& archivo, const std::string& informeCSV) {
    Informe informe;
    if (pontavia::comprobar(rutaDeTexto(archivo), informe) == Resultado::FaltaEntrada) {
        std::cerr << queFalta(rutaDeTexto(archivo)) << "\n\nNo existe archivo\n";
        return kSalidaFaltaEntrada;
    }
    std::cout << informe.texto();
    avisarMovimientoInterrumpido();
    escribirInformeCSV(informe, informeCSV);
    return kSalidaHecho;
}

} // namespace

int main(int argc, char** argv) {
    std::setlocale(LC_ALL, "");
    prepararConsola();
    // The arguments as UTF-8, as the core takes every text.
    std::vector<std::string> argumentos = argumentosEnUtf8(argc, argv);
    std::vector<char*> punteros;
    for (auto& a : argumentos)
        punteros.push_back(a.data());
    CLI::App app{"Pontavia: intercambio de datos entre VELMORA y Tamberlo.\n"
                 "Las tablas de Tamberlo están en la carpeta " +
                     std::string(kCarpetaTamberlo) +
                     ", o en la que indique la variable PONTAVIA_KTEMP.",
                 "pontavia-cli"};
    textosEnEspanol(app);
    app.require_subcommand(1);
    app.footer(textoCodigosDeSalida());

    std::string archivo;
    std::string informeCSV;
    auto opcionInforme = [&](CLI::App* orden) {
        orden
            ->add_option("--informe", informeCSV,
                         "Escribe además el informe completo como CSV en FICHERO")
            ->option_text("FICHERO");
    };
    auto* exportar = app.add_subcommand(
        "exportar", "Crea las tablas de Tamberlo a partir del archivo XML de VELMORA");
    exportar->add_option("ARCHIVO", archivo, "Archivo XML exportado por VELMORA")->required();
    opcionInforme(exportar);

    auto* importar = app.add_subcommand(
        "importar", "Guarda el horario de Tamberlo (SOLUC) como XML junto al archivo de VELMORA");
    importar->add_option("ARCHIVO", archivo, "Archivo XML de VELMORA del que se exportó")
        ->required();
    opcionInforme(importar);

    auto* comprobar_ = app.add_subcommand(
        "comprobar", "Prueba la exportación sin escribir nada y muestra su informe, para "
                     "corregir antes los datos en VELMORA");
    comprobar_->add_option("ARCHIVO", archivo, "Archivo XML exportado por VELMORA")->required();
    opcionInforme(comprobar_);

    auto* restaurar = app.add_subcommand(
        "restaurar", "Devuelve a la carpeta de Tamberlo las tablas que había antes de la última "
                     "exportación (y guarda las actuales, para poder deshacerlo)");

    std::string tabla;
    bool estructura = false;
    bool tablas = false;
    auto* mostrar = app.add_subcommand("mostrar", "Muestra una tabla dBase como CSV");
    auto* opcionTabla =
        mostrar->add_option("TABLA", tabla, "Nombre de la tabla en la carpeta de Tamberlo, o ruta");
    mostrar
        ->add_flag("--estructura", estructura,
                   "Muestra la estructura de la tabla en lugar de sus registros")
        ->needs(opcionTabla);
    // A table, or the list of those exportar writes: one of the two.
    mostrar->add_flag("--tablas", tablas, "Lista las tablas que escribe exportar, una por línea")
        ->excludes(opcionTabla);

    try {
        app.parse(static_cast<int>(punteros.size()), punteros.data());
    } catch (const CLI::CallForHelp& e) {
        return app.exit(e);
    } catch (const CLI::ParseError& e) {
        if (e.get_exit_code() == 0) return app.exit(e);
        std::cerr << "Uso incorrecto: " << mensajeDeUso(e, app)
                  << "\nConsulte pontavia-cli --ayuda.\n";
        return kSalidaUsoIncorrecto;
    }

    // A table or the list: CLI11 would say it in English, and in the help too.
    if (*mostrar && !tablas && tabla.empty()) {
        std::cerr << "Uso incorrecto: Falta TABLA.\nConsulte pontavia-cli --ayuda.\n";
        return kSalidaUsoIncorrecto;
    }
    if (*exportar || *importar || *comprobar_) prepararMemoria(argv, rutaDeTexto(archivo));
    try {
        if (*exportar)
            return ejecutar(pontavia::exportar, "No existe archivo", archivo, informeCSV);
        if (*importar) {
            // The reminder that the window shows before its dialog.
            std::cout << "Deberá Abrir el fichero XML de VELMORA,\r\n"
                         "desde el cual realizó la Importación a Tamberlo\n";
            return ejecutar(pontavia::importar, "No existe archivo XML o Solución.", archivo,
                            informeCSV);
        }
        if (*comprobar_) return comprobar(archivo, informeCSV);
        if (*restaurar) {
            for (const auto& linea : pontavia::restaurar(carpetaKTEMP()))
                std::cout << linea << '\n';
            std::cout << "Restauradas las tablas anteriores a la última exportación.\n";
            return kSalidaHecho;
        }
        if (tablas) {
            mostrarTablasExportadas(std::cout);
            return kSalidaHecho;
        }
        const auto ruta = buscarTabla(tabla, carpetaKTEMP());
        if (estructura)
            mostrarEstructuraTabla(ruta, std::cout);
        else
            mostrarTablaCSV(ruta, std::cout);
        return kSalidaHecho;
    } catch (const std::exception& e) {
        std::cout.flush();
        std::cerr << mensajeParaElUsuario(e) << '\n';
        return codigoDeSalida(e);
    }
}
