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

// Whether ktemp holds a move of tables that a run cut off left begun, some tables new and
// some old until the next exportar, importar or restaurar finishes it. Changes nothing.
bool movimientoInterrumpido(const std::filesystem::path& ktemp);

} // namespace pontavia
