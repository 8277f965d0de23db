#include "exportar.h"

#include "archivo_atomico.h"
#include "error.h"
#include "exportacion.h"
#include "plataforma.h"
#include "preparacion.h"
#include "sistema.h"
#include "velmora.h"

namespace pontavia {

namespace {

// The builders in their order; each may read the tables written before it.
void construirTablas(Informe& informe, const DocumentoXML& doc,
                     const std::filesystem::path& carpeta, Disco& disco) {
    Exportacion e{informe, doc, carpeta, disco, {}};
    CargarMaterias(e);
    CargarProfesores(e);
    CargarAulas(e);
    CargarGrupos(e);
    CargarFranjas(e);
    CargarAsignaturas(e);
}

DocumentoXML cargarDocumento(const std::filesystem::path& xml) {
    DocumentoXML doc = DocumentoXML::cargar(xml);
    exigirCentro(doc, xml.string());
    return doc;
}

} // namespace

void exportarCentro(const std::filesystem::path& xml, const std::filesystem::path& ktemp,
                    Informe& informe, Disco& disco) {
    const DocumentoXML doc = cargarDocumento(xml);
    informe.empezar("exportar", xml.string());
    prepararCarpetaTamberlo(ktemp);
    CarpetaPreparacion preparacion(disco, ktemp);
    construirTablas(informe, doc, preparacion.carpeta(), disco);
    // The report appears with the tables, or not at all.
    ArchivoPreparado archivo(disco, buscarEnCarpeta(ktemp, kNombreInforme),
                             informe.contenidoArchivo());
    preparacion.confirmar(preparacion.carpeta(), tablasExportadas(), &archivo);
}

void comprobarCentro(const std::filesystem::path& xml, Informe& informe, Disco& disco) {
    const DocumentoXML doc = cargarDocumento(xml);
    informe.empezar("comprobar", xml.string());
    CarpetaPreparacion preparacion(disco, std::filesystem::temp_directory_path());
    construirTablas(informe, doc, preparacion.carpeta(), disco);
}

} // namespace pontavia
