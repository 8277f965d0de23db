// ASIGNOMT, which two builders fill: CargarMaterias creates it and writes the subjects,
// CargarTareas adds the activities, tested against the codes and names the subjects left in
// the registries.
#include "codigos.h"
#include "exportacion.h"
#include "tabla_dbase.h"
#include "texto.h"

namespace pontavia {

namespace {

// Appends to ASIGNOMT a row for each dmateria that is an activity (tareas) or a subject.
void escribirMaterias(Exportacion& e, TablaDBase& tabla, bool tareas) {
    const Nodos NodosXML = e.doc.selectNodes("/centro/materias/dmateria");
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

} // namespace

void CargarMaterias(Exportacion& e) {
    TablaDBase tabla = e.nuevaTabla("ASIGNOMT.DBF", {
                                                        {"COD", TipoCampo::Texto, 10},
                                                        {"CODLARGO", TipoCampo::Texto, 10},
                                                        {"NOMBRE", TipoCampo::Texto, 80},
                                                        {"CODTAREA", TipoCampo::Texto, 10},
                                                        {"ESTAREA", TipoCampo::Logico, 0},
                                                        {"IDASIG", TipoCampo::Texto, 10},
                                                    });
    escribirMaterias(e, tabla, false);
}

void CargarTareas(Exportacion& e) {
    TablaDBase tabla = e.abrirTabla("ASIGNOMT.DBF");
    escribirMaterias(e, tabla, true);
}

} // namespace pontavia
