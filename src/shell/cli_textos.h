// pontavia-cli's command line in Spanish, CLI11's own texts included: the help's headings,
// the help and version flags, and the sentence for each way the command line can be wrong.
#pragma once

#include <CLI/CLI.hpp>
#include <string>

namespace pontavia {

// Call on the application before adding any option or command: the commands made after it
// inherit the Spanish help and its flags (-h, --ayuda, --help); -V and --version print the
// version.
void textosEnEspanol(CLI::App& app);

// The Spanish sentence for what was wrong in the command line that "app" failed to parse.
std::string mensajeDeUso(const CLI::ParseError& error, const CLI::App& app);

} // namespace pontavia
