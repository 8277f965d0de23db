#include "asignomt.h"

#include "codigos.h"
#include "tabla_dbase.h"
#include "texto.h"

namespace pontavia {

void escribirMaterias(Exportacion& e, bool tareas) {
    const Nodos NodosXML = e.doc.selectNodes("/centro/materias/dmateria");
    TablaDBase tabla = e.abrirTabla("ASIGNOMT.DBF");
    Informe& informe = e.informe;
    informe.vigilar(tabla);
    tabla.reservar(NodosXML.size());
    // Every subject and activity registers its code and its name: room for all at once.
    e.materias.ListaCodigos.reserve(NodosXML.size());
    e.materias.ListaNombres.reserve(NodosXML.size());
    for (std::size_t i = 0; i < NodosXML.size(); ++i) {
        const ElementoXML NodoXML(NodosXML[i], i, "idmateria");
        informe.elementoActual(NodoXML);
        const std::string codigo = NodoXML.leer("codigo");
        const std::string nombre = NodoXML.leer("nombre");
        const std::string actividad = NodoXML.leer("codigo_actividad");
        const std::string id = NodoXML.leer("idmateria");
        // An element whose code equals its activity code is an activity.
        if ((codigo == actividad) != tareas) continue;
        const auto [cod, motivo] = asignarCodigoMateria(e.materias, codigo, nombre);
        if (!cod) {
            informe.agregar({"ASIGNOMT", TipoAviso::Omitido, NodoXML.descripcion(), "codigo",
                             codigo, "", motivo});
            continue;
        }
        if (*cod != codigo)
            informe.agregar({"ASIGNOMT", TipoAviso::CodigoCambiado, NodoXML.descripcion(), "codigo",
                             codigo, *cod, motivo});
        tabla.Append();
        tabla.asignarTexto("COD", *cod);
        tabla.asignarTexto("CODLARGO", primeros(nombre, 10));
        tabla.asignarTexto("NOMBRE", nombre);
        tabla.asignarTexto("CODTAREA", tareas ? *cod : actividad);
        tabla.asignarLogico("ESTAREA", tareas);
        tabla.asignarTexto("IDASIG", id);
        tabla.Post();
    }
    // The activities are the second and last pass over the table.
    if (tareas) informe.filas("ASIGNOMT", tabla.registros());
    tabla.cerrar();
}

} // namespace pontavia
