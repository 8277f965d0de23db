#pragma once
// The program-wide state that the runs share, handed to them by whichever front end runs
// them (the window, pontavia-cli, the tests).
#include "documento_xml.h"
#include "informe.h"

#include <cstdint>
#include <optional>
#include <string>
#include <unordered_map>
#include <unordered_set>

namespace pontavia {

struct Programa {
    // 2 when Tamberlo started the program with a mode word (command-line mode), 0 otherwise.
    int ModoLinea = 0;
    // Status of the last run: 0 none finished, 1 ended normally, -1 input missing in
    // command-line mode. Tamberlo reads it from the status file.
    int EstadoTransformado = 0;
    // Subject codes written to ASIGNOMT, and subject names seen, in the current exportar run.
    std::unordered_set<std::string> ListaCodigos;
    std::unordered_set<std::string> ListaNombres;
    // For each subject code renumbered in that run, the number its next copy tries first.
    std::unordered_map<std::string, std::uint64_t> SiguienteNumeroCodigo;
    // The document the last run loaded.
    std::optional<DocumentoXML> DocXML;
    // The XML file chosen last, by either run.
    std::string filenameXML;
    // What the last run did to the data besides passing it through.
    Informe informe;
};

} // namespace pontavia
