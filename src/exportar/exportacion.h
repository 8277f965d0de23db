#pragma once
// What every builder of one exportar run works with: the run's report, the loaded document,
// the folder its tables are written to before they replace Tamberlo's, and the subject
// registries that ASIGNOMT's two passes share.
#include "codigos.h"
#include "documento_xml.h"
#include "error.h"
#include "esquema_tabla.h"
#include "informe.h"
#include "tabla_dbase.h"

#include <filesystem>
#include <vector>

namespace pontavia {

struct Exportacion {
    Informe& informe;
    const DocumentoXML& doc;
    std::filesystem::path carpeta;
    Disco& disco;
    RegistroMaterias materias;

    // The tables made so far, in the order they were made.
    std::vector<const char*> escritas;

    // The run's tables, in its folder, made as described. Writing them does not wait for the
    // disk: the folder is made safe as a whole before its tables replace Tamberlo's.
    TablaDBase nuevaTabla(const VistaTabla& tabla) {
        escritas.push_back(tabla.nombre);
        return TablaDBase::nueva(carpeta / tabla.archivo(), tabla.definiciones(), Durable::No,
                                 disco);
    }
    TablaDBase abrirTabla(const VistaTabla& tabla) const {
        return TablaDBase::abrir(carpeta / tabla.archivo(), Durable::No, disco);
    }
};

// The value convertir makes of an element's attribute. The error it raises is placed in the
// element and the attribute, so that the user finds which of thousands holds the bad value.
template <typename Convertir>
decltype(auto) convertirAtributo(const ElementoXML& elemento, const char* atributo,
                                 Convertir convertir) {
    try {
        return convertir();
    } catch (const Error& e) {
        throw e.enAtributo(elemento.lugar(), atributo);
    }
}

// Runs the builders in their order into carpeta, and gives back the names of the tables they
// made, in that order: those exportar writes in esquema_tamberlo.h, and no other.
std::vector<const char*> construirTablas(Informe& informe, const DocumentoXML& doc,
                                         const std::filesystem::path& carpeta, Disco& disco);

// The builders, called by the run in this order; each may read the tables written before it.
// Each file holds where its table's rows come from and the row it makes of one element
// (construir_tabla.h); CargarMaterias writes ASIGNOMT (asignomt.cpp).
void CargarMaterias(Exportacion& e);
void CargarProfesores(Exportacion& e);
void CargarAulas(Exportacion& e);
void CargarGrupos(Exportacion& e);
void CargarFranjas(Exportacion& e);
void CargarAsignaturas(Exportacion& e);

} // namespace pontavia
