#pragma once
// What both runs ask of a VELMORA document before they use it.
#include "documento_xml.h"

#include <string>

namespace pontavia {

// The name of a day of the week as VELMORA numbers them, 1 for Monday to 7 for Sunday
// ("Lunes"...); empty for any other number.
std::string nombreDia(long long dia);

// Raises a clear error when the document's root element is not centro.
void exigirCentro(const DocumentoXML& doc, const std::string& archivo);

// Raises a clear error when the document is a Tamberlo result that importar wrote (a
// solucion_horario and none of the school's sections): exporting it would replace Tamberlo's
// tables with empty ones.
void exigirDatosDelCentro(const DocumentoXML& doc, const std::string& archivo);

} // namespace pontavia
