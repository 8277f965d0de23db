#pragma once
// The error from inside the core. It knows what went wrong (its kind, which a front end turns
// into what the user or a script can do), where (a file's line and column, an element's
// attribute, a table's record and field) and which of Pontavia's sentences tells it; the
// Spanish sentence the window or the command line shows is made from those in one place,
// error.cpp. The front ends see only its kind, its sentence and where (error_publico.h).
#include "publico/error_publico.h"

#include <cstddef>
#include <exception>
#include <string>

namespace pontavia {

// Where it happened: only what is known is set (numbers from 1; 0 when not known).
struct LugarError {
    std::string archivo{}; // a file or folder, by its path
    std::string destino{}; // where it was being moved to
    std::size_t linea = 0, columna = 0;
    std::string elemento{};              // an XML element's tag
    std::size_t posicion = 0;            // its place in its collection
    std::string atributoIdentificador{}; // the attribute that identifies it, if it has one...
    std::string identificador{};         // ...and its value
    std::string atributo{};              // the attribute at fault
    std::string codigo{}, nombre{};      // the element's code and name, as VELMORA shows it
    // An assignment's or a lesson's group and teacher, by name (nombre is then its subject's).
    std::string grupo{}, profesor{};
    std::string tabla{}; // a dBase table, by the name or the path it was opened by
    std::size_t registro = 0;
    std::string campo{}; // a table's field
    // The table is a file the user named, not one of Tamberlo's folder.
    bool tablaElegida = false;

    bool operator==(const LugarError&) const = default;
};

// Each thing that can go wrong, as one sentence; the kind is given beside it, as the same
// sentence can tell faults of different kinds (a table that cannot be opened: missing, or a
// disk that fails).
enum class Hecho : int {
    // a run's input: Pontavia's own words, "No existe archivo" and "No existe archivo XML o
    // Solución."; archivo is VELMORA's file as chosen (empty when none was), tabla the
    // timetable looked for when it is that which is missing
    NoExisteArchivo,
    NoExisteArchivoOSolucion,
    // VELMORA's file
    ArchivoNoAbierto,        // the file cannot be opened
    ArchivoNoLeido,          // nor read
    MemoriaParaLeer,         // no memory to check it
    XMLNoValido,             // not well-formed: detalle is the reason; line and column
    BytesNoUTF8,             // bytes that are not UTF-8, at a line and column
    CodificacionDesconocida, // detalle: the encoding it declares
    TrasLaRaiz,              // what follows the root cannot be read: detalle, the reason
    SinRaiz,                 // no root element
    RaizNoCentro,            // the root (elemento) is not centro
    ResultadoDeTamberlo,     // a timetable Tamberlo gave back, and none of VELMORA's sections
    FaltaAtributo,           // the element lacks the attribute
    // Tamberlo's timetable is not of this file: none of its lessons' subjects is in it; the
    // school by its nombre and codigo (codigo_interno), detalle its curso
    HorarioDeOtroArchivo,
    // values: detalle is the value as written
    NoEsEntero,
    NoEsDecimal,
    NoCabeEnCampo, // a whole number the field (campo) cannot hold
    HorasFueraDeRango,
    // the result document
    CodificacionNoEscribible, // detalle: the encoding
    DocumentoNoConvertido,    // detalle: the encoding
    // Tamberlo's folder and tables
    CarpetaEsArchivo,
    CarpetaNoCreada,        // detalle: the system's reason
    NoExisteTabla,          // a table asked for by name
    NoExisteTablaExportada, // a table exportar writes, needed by importar
    TablaNoEsArchivo,
    TablaNoLeida,     // detalle: the system's reason
    TablaNoAbierta,   // detalle: the system's reason
    TablaNoBloqueada, // detalle: the system's reason
    TablaEnUso,
    TablaNoDBase, // detalle: what is wrong with it
    TablaFoxBASE,
    TablaSinCampo,
    CampoDeCeroBytes,
    CampoNoNumerico,
    TablaLlena,
    // SOLUC places lessons (detalle: how many) and ASIGNOMT knows none of their subjects
    LeccionesSinMateria,
    // writing
    NoEscrito,           // a file: detalle, the system's reason
    TemporalesRetirados, // another program removes its temporary files
    CarpetaNoEscrita,    // detalle: the system's reason
    NoMovido,            // archivo to destino: detalle, the system's reason
    PreparacionNoHecha,  // the staging folder: detalle, the system's reason
    PreparacionRetirada, // another program removes the staging folder
    MovimientoNoLeido,   // the record of a cut-off run's move: detalle, the system's reason
    EstadoNoEscrito,     // the status file Tamberlo reads (its own words, in English)
    NadaQueRestaurar,
    // The set kept for restaurar (archivo: its folder, or its record): a set with no record
    // of what it is, a record that cannot be read, and a table (tabla) it lists that is gone.
    ConjuntoSinRegistro,
    RegistroConjuntoDanado,
    TablaGuardadaPerdida,
    // Pontavia's own faults
    CampoAnchoNoValido,
    DemasiadosCampos,
    CampoSinTexto,
    CampoNoLogico,
    SinRegistroActual,
    SinRegistroNuevo,
    PaginaDeCodigosDesconocida, // detalle: its name
    ElementoNoQuitado,
    ElementoNoColocado,
};

// The fault's own sentence (what()): the system's words where it has them.
std::string frase(Hecho hecho, const LugarError& lugar, const std::string& detalle);

// How the user finds an element in the file: "profesor número 2 (idprofesor 77)".
std::string describirElemento(const LugarError& lugar);

// An element as the timetabler finds it in VELMORA: what it is, its name and its code
// ("el aula «Aula 1» (código A1)"), or, with neither, its place ("el aula número 3").
std::string elementoVisible(const LugarError& lugar);

// How the report names an element or a lesson of Tamberlo's timetable: as the timetabler finds
// it, with what finds its row besides ("el aula «Aula 1» (código A1, idaula 1207)", "la lección
// «Inglés» del grupo «1º ESO A» (registro 4)"); one with no name, code, group or teacher as
// describirElemento, or "registro 4".
std::string elementoEnInforme(const LugarError& lugar);

} // namespace pontavia
