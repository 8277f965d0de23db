#pragma once
// The tasks the Start menu (and the Linux desktop entry) starts the window for, each with a
// single word of its own: the last report, a dry run of a chosen file, and the undo of the
// last exportar. Tamberlo's own start (two words) never reaches them. Errors from the core go
// on to the caller, which shows them.
#include "programa.h"
#include "ventana.h"

namespace pontavia {

// The newer of exportar's and importar's reports, in the system's viewer.
void tareaVerInforme(Ventana& ventana);

// exportar's dry run on a chosen file: nothing is written for Tamberlo; its report goes to a
// file of its own in the system's temporary folder, a button away from the end box.
void tareaComprobar(Programa& programa, Ventana& ventana);

// restaurar, once the user has confirmed what it will put back.
void tareaRestaurar(Ventana& ventana);

} // namespace pontavia
