#pragma once
// The check that a document is well-formed XML, made by expat over the characters the tree
// will be built from, before pugixml builds it: pugixml alone takes two roots, repeated
// attributes, undeclared entities and more as a whole document.
#include <cstddef>
#include <string>
#include <string_view>

namespace pontavia {

// Where the root element's start tag ends and where its end tag begins, in bytes of the text
// checked; for an empty root element (<centro/>) the end tag begins before the start tag ends.
struct LimitesRaiz {
    std::size_t finApertura = 0;
    std::size_t inicioCierre = 0;
};

// codificacion names how texto is encoded ("UTF-8", "UTF-16LE", "UTF-16BE" or "ISO-8859-1")
// and overrides the declaration's. Raises an error naming the file, the reason, the line and
// the column when the document is not well-formed. No external file is read; the internal
// entities expand only inside the check, within expat's limits on amplification. When
// limites is given, the same pass finds where the root's tags lie.
void comprobarBienFormado(std::string_view texto, const char* codificacion,
                          const std::string& nombre, LimitesRaiz* limites = nullptr);

} // namespace pontavia
