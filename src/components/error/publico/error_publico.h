#pragma once
// The error as it crosses the door to the front ends: what kind of fault it is (what can be
// done about it) and the sentence the user reads, which says where it lies. Which fault it is
// and its place field by field stay behind the door (error.h), where the sentences are made.
#include <exception>
#include <memory>
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

// Which fault it is, and where it lies: known behind the door.
enum class Hecho : int;
struct LugarError;

// The one kind of error the core raises.
class Error : public std::runtime_error {
  public:
    Error(ClaseError clase, Hecho hecho);
    Error(ClaseError clase, Hecho hecho, const LugarError& lugar, std::string detalle = {});

    ClaseError clase() const { return clase_; }
    // Whether it is the input of a run that is not there (VELMORA's file, or Tamberlo's
    // timetable): what Tamberlo's status -1 has always meant.
    bool faltaEntradaDeCorrida() const;

    Hecho hecho() const { return hecho_; }
    const LugarError& lugar() const { return *lugar_; }
    // The value, the encoding or the system's reason the sentence quotes.
    const std::string& detalle() const { return detalle_; }

    // The same fault, found in an element's attribute (lugar: the element) or in a record's
    // field: the sentence then names the element and attribute, or the record and field.
    Error enAtributo(const LugarError& elemento, const std::string& atributo) const;
    Error enRegistro(const std::string& tabla, std::size_t registro,
                     const std::string& campo) const;
    // The same fault, in a table the user named by its path rather than one of Tamberlo's
    // folder: the advice then speaks of that file.
    Error enTablaElegida() const;

  private:
    ClaseError clase_;
    Hecho hecho_;
    std::shared_ptr<const LugarError> lugar_;
    std::string detalle_;
};

// What the window or the command line shows: first, in a timetabler's words, which item or
// table is at fault, what is wrong, what to do and that nothing was changed; then, after a
// blank line, the fault's own sentence unchanged.
std::string mensajeParaElUsuario(const std::exception& e);

// The kind of any fault a run can end with: an Error's own; a disk's failure reported by the
// standard library is the disk's; anything else is Pontavia's own.
ClaseError claseDe(const std::exception& e);

} // namespace pontavia
