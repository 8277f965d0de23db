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

void escribirInformeCSV(const InformeLeido& informe, const std::string& destino) {
    if (!destino.empty()) escribirArchivoEntero(rutaDeTexto(destino), informe.csv());
}

// A run on ARCHIVO, told as every front end tells its end: a run done on standard output,
// with the report as CSV where asked; anything else on standard error, with its kind's code.
int ejecutar(Corrida corrida, const std::string& archivo, const std::string& informeCSV) {
    const FinDeCorrida fin = correr(corrida, rutaDeTexto(archivo));
    if (fin.como() != FinDeCorrida::Como::Hecha) {
        std::cerr << fin.textoConsola() << '\n';
        return codigoDeSalida(fin.clase());
    }
    std::cout << fin.textoConsola();
    escribirInformeCSV(fin.informe(), informeCSV);
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
                     descripcionCarpetaKTEMP() +
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
        if (*exportar) return ejecutar(Corrida::Exportar, archivo, informeCSV);
        if (*importar) {
            // The reminder that the window shows before its dialog.
            std::cout << kRecordatorioImportar << '\n';
            return ejecutar(Corrida::Importar, archivo, informeCSV);
        }
        if (*comprobar_) return ejecutar(Corrida::Comprobar, archivo, informeCSV);
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
        if (estructura)
            mostrarEstructuraTabla(tabla, carpetaKTEMP(), std::cout);
        else
            mostrarTablaCSV(tabla, carpetaKTEMP(), std::cout);
        return kSalidaHecho;
    } catch (const std::exception& e) {
        std::cout.flush();
        std::cerr << mensajeParaElUsuario(e) << '\n';
        return codigoDeSalida(claseDe(e));
    }
}
