#pragma once
// One school at one scale, made ready for the benchmarks: its VELMORA file, a Tamberlo
// folder holding the tables exportar writes and a SOLUC with one record per lesson, and the
// bytes each run writes, which the floor writes again.
#include <cstddef>
#include <filesystem>
#include <map>
#include <string>

namespace pontavia::bench {

struct Escenario {
    int escala = 0;
    std::filesystem::path xml;    // the generated VELMORA file
    std::filesystem::path ktemp;  // Tamberlo's folder for this scale
    std::size_t elementosXML = 0; // the elements of the collections exportar reads
    std::size_t lecciones = 0;    // SOLUC's records
    std::map<std::string, std::string> tablasExportadas; // name -> bytes
    std::string resultadoImportar;                       // the bytes importar writes
    // The report each run writes beside the tables: part of its output too.
    std::string informeExportar, informeImportar;
};

// datos holds centro_N.xml, made by the generator; the scenario's folders go beside it. With
// informeLargo, the timetable also has lessons in rooms and with teachers that the tables do
// not know, as a timetable made on other tables has, so that importar's report is long too.
const Escenario& escenario(const std::filesystem::path& datos, int escala,
                           bool informeLargo = false);

} // namespace pontavia::bench
