#pragma once
// The check that a document is well-formed XML, made by expat over the characters the tree
// will be built from, before pugixml builds it: pugixml alone takes two roots, repeated
// attributes, undeclared entities and more as a whole document.
#include <cstddef>
#include <functional>
#include <string>
#include <string_view>
#include <unordered_set>

namespace pontavia {

// What a school's file holds, by VELMORA's identifiers (trimmed of codes up to 32): the
// subjects (idmateria), teachers (idprofesor), rooms (idaula) and groups (idgrupo) of its
// sections, and whether it has any of VELMORA's sections at all (a Tamberlo result has none).
struct IdentificadoresCentro {
    bool conSecciones = false;
    std::unordered_set<std::string> materias, profesores, aulas, grupos;
};

// Where the root element's start tag ends and where its end tag begins, in bytes of the text
// checked; for an empty root element (<centro/>) the end tag begins before the start tag ends.
// The same pass notes the identifiers the root's sections hold.
struct LimitesRaiz {
    std::size_t finApertura = 0;
    std::size_t inicioCierre = 0;
    IdentificadoresCentro centro{};
};

// codificacion names how texto is encoded ("UTF-8", "UTF-16LE", "UTF-16BE" or "ISO-8859-1")
// and overrides the declaration's. Raises an error naming the file, the reason, the line and
// the column when the document is not well-formed. No external file is read; the internal
// entities expand only inside the check, within expat's limits on amplification. When
// limites is given, the same pass finds where the root's tags lie.
// When leido is given, it is told after each piece which bytes of texto the check is done
// with, so that their memory can be given back while the rest is read.
void comprobarBienFormado(std::string_view texto, const char* codificacion,
                          const std::string& nombre, LimitesRaiz* limites = nullptr,
                          const std::function<void(std::string_view)>& leido = {});

// Where the root element's start tag begins and ends, in bytes of texto, found by the same
// pass stopped there: the rest of texto is not read. Raises the error the whole check would
// when the document breaks before that tag ends.
struct AperturaRaiz {
    std::size_t inicio = 0;
    std::size_t fin = 0;
};
AperturaRaiz buscarAperturaRaiz(std::string_view texto, const char* codificacion,
                                const std::string& nombre);

} // namespace pontavia
