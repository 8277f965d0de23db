// pontavia-cli: the runs without a window, for scripts, checks and the tests.
#include "archivo_atomico.h"
#include "carpeta_ktemp.h"
#include "error.h"
#include "mostrar.h"
#include "nucleo.h"
#include "plataforma.h"
#include "sistema.h"
#include "tabla_dbase.h"

#include <CLI/CLI.hpp>
#include <clocale>
#include <filesystem>
#include <iostream>
#include <system_error>

namespace {

using namespace pontavia;

enum Salida { kBien = 0, kError = 1, kFaltaArchivo = 2 };

#ifdef _WIN32
constexpr const char* kCarpetaTamberlo = "\\KTEMP, en la raíz de la unidad actual";
#else
constexpr const char* kCarpetaTamberlo = "/KTEMP";
#endif

void escribirInformeCSV(const Informe& informe, const std::string& destino) {
    if (!destino.empty()) escribirAtomico(discoDelSistema(), sistema::ruta(destino), informe.csv());
}

// exportar or importar on ARCHIVO, with the window's messages; after them, the report's
// summary.
using Corrida = Resultado (*)(const std::filesystem::path&, const std::filesystem::path&, Informe&,
                              Disco&);
int ejecutar(Corrida corrida, const char* faltaEntrada, const std::string& archivo,
             const std::string& informeCSV) {
    const auto ktemp = carpetaKTEMP();
    Informe informe;
    if (corrida(sistema::ruta(archivo), ktemp, informe, discoDelSistema()) ==
        Resultado::FaltaEntrada) {
        std::cout << faltaEntrada << '\n';
        return kFaltaArchivo;
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
    return kBien;
}

// The dry run: the whole report on standard output, nothing written but the CSV asked for.
int comprobar(const std::string& archivo, const std::string& informeCSV) {
    Informe informe;
    if (pontavia::comprobar(sistema::ruta(archivo), informe) == Resultado::FaltaEntrada) {
        std::cout << "No existe archivo\n";
        return kFaltaArchivo;
    }
    std::cout << informe.texto();
    escribirInformeCSV(informe, informeCSV);
    return kBien;
}

std::filesystem::path rutaDeTabla(const std::string& tabla) {
    if (existeArchivo(sistema::ruta(tabla))) return sistema::ruta(tabla);
    std::string nombre = tabla;
    if (std::filesystem::path(nombre).extension().empty()) nombre += ".DBF";
    const auto ktemp = carpetaKTEMP();
    prepararCarpetaTamberlo(ktemp);
    const auto ruta = buscarEnCarpeta(ktemp, nombre);
    if (!existeArchivo(ruta)) throw Error("No existe la tabla " + ruta.string() + ".");
    return ruta;
}

void configurarEnEspanol(CLI::App& app) {
    auto f = app.get_formatter();
    f->label("OPTIONS", "OPCIONES");
    f->label("SUBCOMMAND", "ORDEN");
    f->label("SUBCOMMANDS", "ÓRDENES");
    f->label("POSITIONALS", "ARGUMENTOS");
    f->label("Usage", "Uso");
    f->label("REQUIRED", "OBLIGATORIO");
    f->label("TEXT", "TEXTO");
    app.set_help_flag("-h,--ayuda", "Muestra esta ayuda y termina");
}

} // namespace

int main(int argc, char** argv) {
    std::setlocale(LC_ALL, "");
    sistema::prepararConsola();
    // The arguments as UTF-8, as the core takes every text.
    std::vector<std::string> argumentos = sistema::argumentos(argc, argv);
    std::vector<char*> punteros;
    for (auto& a : argumentos)
        punteros.push_back(a.data());
    CLI::App app{"Pontavia: intercambio de datos entre VELMORA y Tamberlo.\n"
                 "Las tablas de Tamberlo están en la carpeta " +
                     std::string(kCarpetaTamberlo) +
                     ", o en la que indique la variable PONTAVIA_KTEMP.",
                 "pontavia-cli"};
    configurarEnEspanol(app);
    app.require_subcommand(1);

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
    configurarEnEspanol(*exportar);
    exportar->add_option("ARCHIVO", archivo, "Archivo XML exportado por VELMORA")->required();
    opcionInforme(exportar);

    auto* importar = app.add_subcommand(
        "importar", "Guarda el horario de Tamberlo (SOLUC) como XML junto al archivo de VELMORA");
    configurarEnEspanol(*importar);
    importar->add_option("ARCHIVO", archivo, "Archivo XML de VELMORA del que se exportó")
        ->required();
    opcionInforme(importar);

    auto* comprobar_ = app.add_subcommand(
        "comprobar", "Prueba la exportación sin escribir nada y muestra su informe, para "
                     "corregir antes los datos en VELMORA");
    configurarEnEspanol(*comprobar_);
    comprobar_->add_option("ARCHIVO", archivo, "Archivo XML exportado por VELMORA")->required();
    opcionInforme(comprobar_);

    auto* restaurar = app.add_subcommand(
        "restaurar", "Devuelve a la carpeta de Tamberlo las tablas que había antes de la última "
                     "exportación (y guarda las actuales, para poder deshacerlo)");
    configurarEnEspanol(*restaurar);

    std::string tabla;
    bool estructura = false;
    auto* mostrar = app.add_subcommand("mostrar", "Muestra una tabla dBase como CSV");
    configurarEnEspanol(*mostrar);
    mostrar->add_option("TABLA", tabla, "Nombre de la tabla en la carpeta de Tamberlo, o ruta")
        ->required();
    mostrar->add_flag("--estructura", estructura,
                      "Muestra la estructura de la tabla en lugar de sus registros");

    try {
        app.parse(static_cast<int>(punteros.size()), punteros.data());
    } catch (const CLI::CallForHelp& e) {
        return app.exit(e);
    } catch (const CLI::ParseError& e) {
        if (e.get_exit_code() == 0) return app.exit(e);
        std::cerr << "Uso incorrecto: " << e.what() << "\nConsulte pontavia-cli --ayuda.\n";
        return kError;
    }

    if (*exportar || *importar || *comprobar_) {
        std::error_code error;
        const auto bytes = std::filesystem::file_size(sistema::ruta(archivo), error);
        if (!error) sistema::prepararMemoria(argv, bytes);
    }
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
            return kBien;
        }
        TablaDBase t = TablaDBase::abrir(rutaDeTabla(tabla));
        if (estructura)
            mostrarEstructura(t, std::cout);
        else
            mostrarCSV(t, std::cout);
        return kBien;
    } catch (const std::exception& e) {
        std::cout.flush();
        std::cerr << e.what() << '\n';
        return kError;
    }
}
