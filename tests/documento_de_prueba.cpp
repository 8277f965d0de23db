#include "documento_de_prueba.h"

#include "archivo_atomico.h"

#include <algorithm>
#include <memory>

namespace pontavia {

DocumentoXML DocumentoDePrueba::cargar(const std::filesystem::path& ruta, Disco& disco) {
    return DocumentoXML::cargar(ruta, DocumentoXML::Carga::Completa, disco);
}

DocumentoXML DocumentoDePrueba::desdeBytes(std::string_view bytes, const std::string& nombre) {
    auto copia = std::make_shared_for_overwrite<char[]>(bytes.size());
    std::copy(bytes.begin(), bytes.end(), copia.get());
    const std::string_view propios(copia.get(), bytes.size());
    char* escribible = copia.get();
    return DocumentoXML::leer(std::move(copia), propios, escribible, nombre,
                              DocumentoXML::Carga::Completa, [&] { return std::string(bytes); });
}

Nodo DocumentoDePrueba::primero(const DocumentoXML& doc, const char* ruta) {
    const Nodos nodos = doc.selectNodes(ruta);
    return nodos.empty() ? Nodo() : nodos.front();
}

void DocumentoDePrueba::guardar(const DocumentoXML& doc, const std::filesystem::path& ruta,
                                Disco& disco) {
    ArchivoPreparado archivo(disco, ruta);
    doc.escribir([&](std::string_view trozo) { archivo.escribir(trozo); }, {}, nullptr);
    archivo.confirmar();
}

} // namespace pontavia
