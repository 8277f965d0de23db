#include "velmora.h"

#include "error.h"

#include <cstring>

namespace pontavia {

void exigirCentro(const DocumentoXML& doc, const std::string& archivo) {
    const Nodo raiz = doc.documentElement();
    if (!raiz) throw Error("El archivo " + archivo + " no tiene elemento raíz.");
    if (std::strcmp(raiz.name(), "centro") != 0)
        throw Error("El archivo " + archivo +
                    " no es un documento de VELMORA: su elemento raíz es " + raiz.name() +
                    " y debería ser centro.");
}

} // namespace pontavia
