#pragma once
// The one kind of error the core raises. It knows what went wrong (its kind, which a front
// end turns into what the user or a script can do), where (a file's line and column, an
// element's attribute, a table's record and field) and which of Pontavia's sentences tells
// it; the Spanish sentence the window or the command line shows is made from those in one
// place, error.cpp.
#include <cstddef>
#include <exception>
#include <stdexcept>
#include <string>

namespace pontavia {

// What kind of fault it is: what can be done about it.
enum class ClaseError {
    FaltaEntrada,     // a file the run reads is not there
    MalFormada,       // VELMORA's file is not well-formed XML
    NoEsDeVelmora,    // well-formed, but not a document of VELMORA's, or not the one Tamberlo's
                      // timetable and tables were made from
    ValorNoValido,    // a value that cannot be read, or that its field cannot hold
    TablaRetenida,    // another program holds a table (Tamberlo, most likely)
    TablaDanada,      // a table that is not a dBase table, or not as Tamberlo writes it
    FalloDeDisco,     // no room, no permission, or the disk failed
    NadaQueRestaurar, // restaurar finds no set of tables kept
    Interna,          // Pontavia's own fault
};

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

    bool operator==(const LugarError&) const = default;
};

// Each thing that can go wrong, as one sentence; the kind is given beside it, as the same
// sentence can tell faults of different kinds (a table that cannot be opened: missing, or a
// disk that fails).
enum class Hecho {
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

class Error : public std::runtime_error {
  public:
    Error(ClaseError clase, Hecho hecho, LugarError lugar = {}, std::string detalle = {});

    ClaseError clase() const { return clase_; }
    Hecho hecho() const { return hecho_; }
    const LugarError& lugar() const { return lugar_; }
    // The value, the encoding or the system's reason the sentence quotes.
    const std::string& detalle() const { return detalle_; }

    // The same fault, found in an element's attribute (lugar: the element) or in a record's
    // field: the sentence then names the element and attribute, or the record and field.
    Error enAtributo(const LugarError& elemento, const std::string& atributo) const;
    Error enRegistro(const std::string& tabla, std::size_t registro,
                     const std::string& campo) const;

  private:
    ClaseError clase_;
    Hecho hecho_;
    LugarError lugar_;
    std::string detalle_;
};

// The fault's own sentence (what()): the system's words where it has them.
std::string frase(Hecho hecho, const LugarError& lugar, const std::string& detalle);

// What the window or the command line shows: first, in a timetabler's words, which item or
// table is at fault, what is wrong, what to do and that nothing was changed; then, after a
// blank line, the fault's own sentence unchanged.
std::string mensajeParaElUsuario(const std::exception& e);

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
