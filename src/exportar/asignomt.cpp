#include "asignomt.h"

#include "codigos.h"
#include "tabla_dbase.h"
#include "texto.h"

namespace pontavia {

void escribirMaterias(Exportacion& e, bool tareas) {
    const Nodos NodosXML = e.doc.selectNodes("/centro/materias/dmateria");
    TablaDBase tabla = TablaDBase::abrir(e.carpeta / "ASIGNOMT.DBF");
    for (std::size_t i = 0; i < NodosXML.size(); ++i) {
        const ElementoXML NodoXML(NodosXML[i], i, "idmateria");
        const std::string codigo = NodoXML.leer("codigo");
        const std::string nombre = NodoXML.leer("nombre");
        const std::string actividad = NodoXML.leer("codigo_actividad");
        const std::string id = NodoXML.leer("idmateria");
        // An element whose code equals its activity code is an activity.
        if ((codigo == actividad) != tareas) continue;
        const auto cod = asignarCodigoMateria(e.programa, codigo, nombre);
        if (!cod) continue;
        tabla.Append();
        tabla.asignarTexto("COD", *cod);
        tabla.asignarTexto("CODLARGO", primeros(nombre, 10));
        tabla.asignarTexto("NOMBRE", nombre);
        tabla.asignarTexto("CODTAREA", tareas ? *cod : actividad);
        tabla.asignarLogico("ESTAREA", tareas);
        tabla.asignarTexto("IDASIG", id);
        tabla.Post();
    }
    tabla.cerrar();
}

} // namespace pontavia
