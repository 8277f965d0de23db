#pragma once
// The one door into Pontavia's core, for every front end (the windows, pontavia-cli, the
// tests): each run takes its files, fills the report it is given, and says what happened.
// Errors are raised as pontavia::Error, their Spanish message ready for the user; the front
// end shows it. Nothing here asks the user anything or knows how it is shown. What a run
// writes, moves, removes or holds goes through the Disco it is given: the system's own
// unless the front end (a test, say) hands in another.
#include "disco.h"
#include "informe.h"

#include <filesystem>
#include <string>
#include <vector>

namespace pontavia {

// How a run that raised no error ended.
enum class Resultado {
    Hecho,        // the run did its work
    FaltaEntrada, // its input is not there; nothing was done
};

// VELMORA's XML file into Tamberlo's six tables in the folder ktemp (made when missing),
// with the report beside them. FaltaEntrada when xml is not a file.
Resultado exportar(const std::filesystem::path& xml, const std::filesystem::path& ktemp,
                   Informe& informe, Disco& disco = discoDelSistema());

// exportar's dry run: only the report, nothing written. FaltaEntrada when xml is not a file.
Resultado comprobar(const std::filesystem::path& xml, Informe& informe,
                    Disco& disco = discoDelSistema());

// Tamberlo's timetable (SOLUC in ktemp) into a new XML file beside xml, the report in ktemp.
// FaltaEntrada when either is missing.
Resultado importar(const std::filesystem::path& xml, const std::filesystem::path& ktemp,
                   Informe& informe, Disco& disco = discoDelSistema());

// The tables the last exportar replaced, put back into ktemp: one line per table saying what
// became of it. With no set kept, an error says so.
std::vector<std::string> restaurar(const std::filesystem::path& ktemp,
                                   Disco& disco = discoDelSistema());

// What restaurar would put back, in its lines, with nothing changed: what a front end names
// before it asks the user to confirm. With no set kept, an error says so.
std::vector<std::string> planRestaurar(const std::filesystem::path& ktemp);

// Where the runs leave what they write, for a front end to show: exportar's report and
// importar's, each in ktemp, and importar's result beside the VELMORA file xml.
std::filesystem::path informeDeExportar(const std::filesystem::path& ktemp);
std::filesystem::path informeDeImportar(const std::filesystem::path& ktemp);
std::filesystem::path resultadoDeImportar(const std::filesystem::path& xml);
// The report as the Tamberlo folder's file holds it, written whole into archivo (the dry
// run's, which has no place in ktemp).
void guardarInforme(const Informe& informe, const std::filesystem::path& archivo,
                    Disco& disco = discoDelSistema());
// The newer of the two reports in ktemp; empty when there is neither.
std::filesystem::path ultimoInforme(const std::filesystem::path& ktemp);

} // namespace pontavia
