#pragma once
// Why a document is not well-formed, said as the user reads it, whichever of the two parsers
// found it: expat, which checks the document first, or pugixml, which builds its tree.
#include <expat.h>
#include <pugixml.hpp>

#include <string>

namespace pontavia {

// conElementoAbierto: whether a start tag was met before the fault.
std::string razonEnEspanol(XML_Error codigo, bool conElementoAbierto);
std::string razonEnEspanol(pugi::xml_parse_status estado);

} // namespace pontavia
