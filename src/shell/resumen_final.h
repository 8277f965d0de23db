#pragma once
// What the box at the end of a run says below "Proceso finalizado": first any warning about
// the whole run, then the rows each table received, how many items were left out and how
// many codes changed, and where the report and the result file are.
#include "informe.h"

#include <filesystem>
#include <string>

namespace pontavia {

// resultado: importar's new XML file; empty for exportar and the dry run.
std::string resumenFinal(const Informe& informe, const std::filesystem::path& archivoInforme,
                         const std::filesystem::path& resultado = {});

} // namespace pontavia
