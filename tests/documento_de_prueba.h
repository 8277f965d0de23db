#pragma once
// What the tests do with a VELMORA document and a run never does: load a whole file at once
// (or bytes as if read from a file), find one element by XPath, and save a tree whole.
#include "documento_xml.h"

#include <filesystem>
#include <string>
#include <string_view>

namespace pontavia {

class DocumentoDePrueba {
  public:
    // Raises an error with the reason, line and column when the file is not well-formed XML.
    static DocumentoXML cargar(const std::filesystem::path& ruta, Disco& disco = discoDelSistema());
    static DocumentoXML desdeBytes(std::string_view bytes, const std::string& nombre);
    // The first element ruta selects, or none.
    static Nodo primero(const DocumentoXML& doc, const char* ruta);
    // Writes the document in its encoding, replacing ruta atomically.
    static void guardar(const DocumentoXML& doc, const std::filesystem::path& ruta,
                        Disco& disco = discoDelSistema());
};

} // namespace pontavia
