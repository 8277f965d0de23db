// CargarMaterias: the subjects and the activities, into ASIGNOMT, in two passes over the
// same elements: the subjects first, then the activities, tested against the codes and
// names the subjects left in the registries.
#include "codigos.h"
#include "construir_tabla.h"
#include "texto.h"

namespace pontavia {

namespace {

using tamberlo::ASIGNOMT;
constexpr OrigenTabla kMaterias{ASIGNOMT, "/centro/materias/dmateria", "idmateria"};

// The row of a dmateria that is an activity (tareas) or a subject, as that pass asks.
bool filaMateria(Exportacion& e, const ElementoXML& NodoXML, Fila& fila, bool tareas) {
    const std::string codigo = NodoXML.leer("codigo");
    const std::string nombre = NodoXML.leer("nombre");
    const std::string actividad = NodoXML.leer("codigo_actividad");
    const std::string id = NodoXML.leer("idmateria");
    // An element whose code equals its activity code is an activity.
    if ((codigo == actividad) != tareas) return false;
    const auto [cod, motivo] = asignarCodigoMateria(e.materias, codigo, nombre);
    if (!cod) {
        e.informe.agregar({ASIGNOMT.nombre, TipoAviso::Omitido, e.informe.nombreElementoActual(),
                           "codigo", codigo, "", motivo});
        return false;
    }
    if (*cod != codigo)
        e.informe.agregar({ASIGNOMT.nombre, TipoAviso::CodigoCambiado,
                           e.informe.nombreElementoActual(), "codigo", codigo, *cod, motivo});
    fila.texto(ASIGNOMT["COD"], *cod);
    fila.texto(ASIGNOMT["CODLARGO"], primeros(nombre, 10));
    fila.texto(ASIGNOMT["NOMBRE"], nombre);
    fila.texto(ASIGNOMT["CODTAREA"], tareas ? *cod : actividad);
    fila.logico(ASIGNOMT["ESTAREA"], tareas);
    fila.texto(ASIGNOMT["IDASIG"], id);
    return true;
}

} // namespace

void CargarMaterias(Exportacion& e) {
    // Every subject and activity registers its code and its name: room for all at once.
    const std::size_t materias = e.doc.selectNodes(kMaterias.coleccion).size();
    e.materias.ListaCodigos.reserve(materias);
    e.materias.ListaNombres.reserve(materias);
    construirTabla(
        e, kMaterias,
        [&](const ElementoXML& NodoXML, Fila& fila) {
            return filaMateria(e, NodoXML, fila, false);
        },
        [&](const ElementoXML& NodoXML, Fila& fila) {
            return filaMateria(e, NodoXML, fila, true);
        });
}

} // namespace pontavia
