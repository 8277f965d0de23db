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

void exigirDatosDelCentro(const DocumentoXML& doc, const std::string& archivo) {
    const Nodo raiz = doc.documentElement();
    if (!raiz.child("solucion_horario")) return;
    for (const char* seccion :
         {"materias", "profesores", "aulas", "grupos", "franjashorarias", "asignaturas"})
        if (raiz.child(seccion)) return;
    throw Error("El archivo " + archivo +
                " es un resultado de Tamberlo, no una exportación de VELMORA: solo tiene un "
                "horario (solucion_horario), sin materias, profesores, aulas, grupos, franjas "
                "horarias ni asignaturas. Elija el archivo que exportó VELMORA. No se ha "
                "cambiado nada.");
}

} // namespace pontavia
