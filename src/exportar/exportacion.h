#pragma once
// What every builder of one exportar run works with: the program's state, the loaded
// document, and the folder its tables are written to before they replace Tamberlo's.
#include "documento_xml.h"
#include "programa.h"

#include <filesystem>

namespace pontavia {

struct Exportacion {
    Programa& programa;
    const DocumentoXML& doc;
    std::filesystem::path carpeta;
};

// The builders, called by the run in this order; each may read the tables written before it.
void CargarMaterias(Exportacion& e);
void CargarTareas(Exportacion& e);
void CargarProfesores(Exportacion& e);
void CargarAulas(Exportacion& e);
void CargarGrupos(Exportacion& e);
void CargarFranjas(Exportacion& e);
void CargarAsignaturas(Exportacion& e);

} // namespace pontavia
