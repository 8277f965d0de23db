#pragma once
// What a window keeps between its runs, shared by every window (and by the tests that play
// one): the mode Tamberlo started it in, the status it leaves, the file chosen last and the
// last run's report. The runs' own state lives inside each run, in the core.
#include "nucleo.h"

#include <string>

namespace pontavia {

struct Programa {
    // 2 when Tamberlo started the program with a mode word (command-line mode), 0 otherwise.
    int ModoLinea = 0;
    // Status of the last run: 0 none finished, 1 ended normally, -1 input missing in
    // command-line mode. Tamberlo reads it from the status file.
    int EstadoTransformado = 0;
    // The XML file chosen last, by either run.
    std::string filenameXML;
    // What the last run did to the data besides passing it through.
    InformeLeido informe;
    // The disk the runs write through: the system's, unless a test hands in another.
    Disco* disco = &discoDelSistema();
};

} // namespace pontavia
