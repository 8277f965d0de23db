#include "exportar.h"

#include "archivo_atomico.h"
#include "cambios.h"
#include "error.h"
#include "exportacion.h"
#include "plataforma.h"
#include "preparacion.h"
#include "registro_conjunto.h"
#include "sistema.h"
#include "velmora.h"

namespace pontavia {

namespace {

// Runs pasos on the school's file while expat still checks it on another core: pasos take the
// verdict before anything they made is kept, and when a step fails on a file that is not
// well-formed, that is the error the user reads.
template <typename Pasos>
void conDocumento(const std::filesystem::path& xml, Disco& disco, Pasos pasos) {
    DocumentoXML doc = DocumentoXML::cargarMientrasSeComprueba(xml, disco);
    conComprobacion(doc, [&] {
        exigirCentro(doc, xml.string());
        exigirDatosDelCentro(doc, xml.string());
        pasos(doc);
    });
}

} // namespace

std::vector<const char*> construirTablas(Informe& informe, const DocumentoXML& doc,
                                         const std::filesystem::path& carpeta, Disco& disco) {
    Exportacion e{informe, doc, carpeta, disco, {}, {}};
    CargarMaterias(e);
    CargarProfesores(e);
    CargarAulas(e);
    CargarGrupos(e);
    CargarFranjas(e);
    CargarAsignaturas(e);
    return e.escritas;
}

void exportarCentro(const std::filesystem::path& xml, const std::filesystem::path& ktemp,
                    Informe& informe, Disco& disco) {
    conDocumento(xml, disco, [&](DocumentoXML& doc) {
        informe.empezar("exportar", xml.string());
        // Tamberlo's folder is made only for a file that is XML.
        if (disco.examinar(ktemp) != Disco::Entrada::Carpeta) doc.esperarComprobacion();
        prepararCarpetaTamberlo(ktemp, disco);
        CarpetaPreparacion preparacion(disco, ktemp);
        const auto tablas = construirTablas(informe, doc, preparacion.carpeta(), disco);
        doc.esperarComprobacion();
        compararConTamberlo(ktemp, preparacion.carpeta(), Comparacion::Exportacion, informe, disco);
        std::error_code sinRuta;
        // The record names the file as the user finds it again: its whole path.
        auto ruta = std::filesystem::absolute(xml, sinRuta);
        if (sinRuta) ruta = xml;
        const std::u8string archivo8 = ruta.u8string();
        escribirAtomico(disco, preparacion.carpeta() / kRegistroConjunto,
                        textoRegistro({origenDe(doc, {archivo8.begin(), archivo8.end()}),
                                       {tablas.begin(), tablas.end()}}));
        // The report appears with the tables, or not at all: it moves in with them.
        ArchivoPreparado archivo(disco, preparacion.carpeta() / kNombreInforme,
                                 informe.contenidoArchivo());
        preparacion.confirmar(preparacion.carpeta(), tablasExportadas(), &archivo);
    });
}

void comprobarCentro(const std::filesystem::path& xml, const std::filesystem::path& ktemp,
                     Informe& informe, Disco& disco) {
    conDocumento(xml, disco, [&](DocumentoXML& doc) {
        informe.empezar("comprobar", xml.string());
        CarpetaPreparacion preparacion(disco, disco.carpetaTemporal());
        construirTablas(informe, doc, preparacion.carpeta(), disco);
        doc.esperarComprobacion();
        compararConTamberlo(ktemp, preparacion.carpeta(), Comparacion::Simulacion, informe, disco);
    });
}

} // namespace pontavia
