#include "velmora.h"

#include "error.h"

#include <cstring>

namespace pontavia {

std::string nombreDia(long long dia) {
    static const char* const kNombres[] = {"Lunes",   "Martes", "Miércoles", "Jueves",
                                           "Viernes", "Sábado", "Domingo"};
    return dia >= 1 && dia <= 7 ? kNombres[dia - 1] : "";
}

void exigirCentro(const DocumentoXML& doc, const std::string& archivo) {
    const Nodo raiz = doc.documentElement();
    if (!raiz) throw Error(ClaseError::MalFormada, Hecho::SinRaiz, {.archivo = archivo});
    if (std::strcmp(raiz.name(), "centro") != 0)
        throw Error(ClaseError::NoEsDeVelmora, Hecho::RaizNoCentro,
                    {.archivo = archivo, .elemento = raiz.name()});
}

void exigirDatosDelCentro(const DocumentoXML& doc, const std::string& archivo) {
    const Nodo raiz = doc.documentElement();
    if (!raiz.child("solucion_horario")) return;
    for (const char* seccion :
         {"materias", "profesores", "aulas", "grupos", "franjashorarias", "asignaturas"})
        if (raiz.child(seccion)) return;
    throw Error(ClaseError::NoEsDeVelmora, Hecho::ResultadoDeTamberlo, {.archivo = archivo});
}

} // namespace pontavia
