#pragma once
// What every builder of one exportar run works with: the run's report, the loaded document,
// the folder its tables are written to before they replace Tamberlo's, and the subject
// registries that ASIGNOMT's two passes share.
#include "codigos.h"
#include "documento_xml.h"
#include "error.h"
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

    // The run's tables, by file name in its folder. Writing them does not wait for the disk:
    // the folder is made safe as a whole before its tables replace Tamberlo's.
    TablaDBase nuevaTabla(const char* archivo, const std::vector<DefinicionCampo>& campos) const {
        return TablaDBase::nueva(carpeta / archivo, campos, Durable::No, disco);
    }
    TablaDBase abrirTabla(const char* archivo) const {
        return TablaDBase::abrir(carpeta / archivo, Durable::No, disco);
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

// The builders, called by the run in this order; each may read the tables written before it.
// Each file holds its table's description and the row it makes of one element
// (construir_tabla.h); CargarMaterias writes ASIGNOMT (asignomt.cpp).
void CargarMaterias(Exportacion& e);
void CargarProfesores(Exportacion& e);
void CargarAulas(Exportacion& e);
void CargarGrupos(Exportacion& e);
void CargarFranjas(Exportacion& e);
void CargarAsignaturas(Exportacion& e);

} // namespace pontavia
