#include "cli_textos.h"

#include "version.h"

#include <memory>
#include <string_view>

namespace pontavia {
namespace {

// CLI11 puts every option in its group "Options" (a command's help flag is made before the
// command takes its parent's defaults, so renaming the group would split it in two): the
// heading is translated where it is written.
class FormatoEspanol : public CLI::Formatter {
  public:
    std::string make_group(std::string grupo, bool posicional,
                           std::vector<const CLI::Option*> opciones) const override {
        if (grupo == "Options") grupo = "Opciones";
        return CLI::Formatter::make_group(grupo, posicional, opciones);
    }
};

// What comes before the first ':' (CLI11 puts the option's name there), or the whole text.
std::string antesDeDosPuntos(std::string_view texto) {
    return std::string(texto.substr(0, texto.find(':')));
}

} // namespace

void textosEnEspanol(CLI::App& app) {
    auto formato = std::make_shared<FormatoEspanol>();
    formato->label("Usage", "Uso");
    formato->label("OPTIONS", "OPCIONES");
    formato->label("SUBCOMMAND", "ORDEN");
    formato->label("SUBCOMMANDS", "ÓRDENES");
    formato->label("Positionals", "Argumentos");
    formato->label("REQUIRED", "OBLIGATORIO");
    formato->label("TEXT", "TEXTO");
    formato->label("INT", "ENTERO");
    formato->label("UINT", "NATURAL");
    formato->label("FLOAT", "NÚMERO");
    formato->label("Env", "Variable");
    formato->label("Needs", "Necesita");
    formato->label("Excludes", "Excluye");
    app.formatter(formato);
    app.group("Órdenes");
    app.set_help_flag("-h,--ayuda,--help", "Muestra esta ayuda y termina");
    app.set_version_flag("-V,--version", std::string("pontavia-cli ") + PONTAVIA_VERSION,
                         "Muestra la versión y termina");
}

std::string mensajeDeUso(const CLI::ParseError& error, const CLI::App& app) {
    // CLI11's name for an error is at times the command's: the kind is told by its type.
    const std::string_view texto = error.what();
    if (dynamic_cast<const CLI::RequiredError*>(&error)) {
        if (texto == "A subcommand is required") {
            // A word that is no command is left over, not taken for one.
            const auto sobrantes = app.remaining();
            if (!sobrantes.empty()) return "Orden desconocida: " + sobrantes.front() + ".";
            return "Falta la orden: exportar, importar, comprobar, restaurar o mostrar.";
        }
        const auto pos = texto.find(" is required");
        if (pos != std::string_view::npos)
            return "Falta " + std::string(texto.substr(0, pos)) + ".";
        return "Faltan argumentos.";
    }
    if (dynamic_cast<const CLI::ExtrasError*>(&error)) {
        // In the order given (CLI11's own text lists them backwards).
        const auto sobrantes = app.remaining(true);
        if (sobrantes.size() == 1) return "Sobra el argumento: " + sobrantes.front() + ".";
        if (sobrantes.empty()) return "Sobran argumentos.";
        std::string lista;
        for (const auto& a : sobrantes)
            lista += (lista.empty() ? "" : " ") + a;
        return "Sobran los argumentos: " + lista + ".";
    }
    if (dynamic_cast<const CLI::ArgumentMismatch*>(&error))
        return "Falta el valor de " + antesDeDosPuntos(texto) + ".";
    if (dynamic_cast<const CLI::ConversionError*>(&error) ||
        dynamic_cast<const CLI::ValidationError*>(&error))
        return "Valor no válido para " + antesDeDosPuntos(texto) + ".";
    return "La línea de órdenes no es válida.";
}

} // namespace pontavia
