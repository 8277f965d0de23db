#pragma once
// An importar's inputs for each way Tamberlo's timetable may stand to the VELMORA file chosen
// for it, for the tests of the decision through each front end: the chosen file, Tamberlo's
// tables in ktemp and a timetable of two lessons placed in the codes they give.
#include "ayudantes.h"

#include <ostream>

namespace pontavia::prueba {

enum class Procedencia {
    DelArchivo,          // the file the tables were exported from
    DeOtroCentro,        // another school's file: none of the lessons' subjects is in it
    TablasDeOtroArchivo, // tables exported from another file after the timetable was made
    FaltanAlgunos,       // the file lacks the lessons' teacher and room
    NingunaColocada,     // Tamberlo placed no lesson
    ResultadoAnterior,   // an earlier result of importar chosen: no sections to compare with
};

struct CasoProcedencia {
    const char* nombre;
    Procedencia procedencia;
    bool rechazado;        // refused: nothing written, the input's kind of error
    const char* enMensaje; // what the user reads (the error's advice, or the end box)
    std::size_t lecciones; // dsolucion elements in the result, when not refused
};

inline void PrintTo(const CasoProcedencia& c, std::ostream* o) {
    *o << c.nombre;
}

// Every case, for the tables of tests.
const std::vector<CasoProcedencia>& casosDeProcedencia();

// Writes the case's files into datos and ktemp; gives the file to choose.
fs::path prepararProcedencia(Procedencia p, const fs::path& datos, const fs::path& ktemp);

} // namespace pontavia::prueba
