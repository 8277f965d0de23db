#pragma once
// What both runs ask of a VELMORA document before they use it.
#include "documento_xml.h"

#include <string>

namespace pontavia {

// Raises a clear error when the document's root element is not centro.
void exigirCentro(const DocumentoXML& doc, const std::string& archivo);

} // namespace pontavia
