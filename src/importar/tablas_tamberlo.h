#pragma once
// The tables an importar run holds open from start to end: Tamberlo's timetable and the
// lookup tables that exportar wrote. Each is closed when the object goes, also on an error.
#include "tabla_dbase.h"

#include <filesystem>

namespace pontavia {

struct TablasTamberlo {
    // Opens, in this order, SOLUC, GRUPOST, PROFT, AULAT, ASIGNOMT and ASIGT in ktemp, and
    // checks that every field the run reads is there.
    TablasTamberlo(Disco& disco, const std::filesystem::path& ktemp);

    TablaDBase soluc;
    TablaDBase grupos;
    TablaDBase profesores;
    TablaDBase aulas;
    TablaDBase materias;
    TablaDBase asignaturas; // held for exclusive use, not read
};

} // namespace pontavia
