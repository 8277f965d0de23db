#include "importar.h"

#include "archivo_atomico.h"
#include "cargar_solucion.h"
#include "carpeta_tamberlo.h"
#include "error.h"
#include "plataforma.h"
#include "procedencia.h"
#include "sistema.h"
#include "tablas_tamberlo.h"
#include "velmora.h"

namespace pontavia {

namespace {

void escribirResultado(DocumentoXML& doc, const std::filesystem::path& xml,
                       const std::filesystem::path& ktemp, Informe& informe, Disco& disco) {
    exigirCentro(doc, xml.string());
    TablasTamberlo tablas(disco, ktemp);

    // The school's header is all the result keeps of the chosen file's root.
    Nodo CentroXML = doc.documentElement();
    const ElementoXML cabecera(CentroXML, 0);
    const std::string codigoInterno = cabecera.leer("codigo_interno");
    const std::string nombre = cabecera.leer("nombre");
    const std::string curso = cabecera.leer("curso");
    const std::string version = cabecera.leer("version");

    Nodo nuevo = doc.createElement("centro");
    anadirAtributo(nuevo, "codigo_interno", codigoInterno);
    anadirAtributo(nuevo, "nombre", nombre);
    anadirAtributo(nuevo, "curso", curso);
    anadirAtributo(nuevo, "fecha_exportacion", fechaHoraLocal());
    anadirAtributo(nuevo, "version", version);
    doc.replaceChild(nuevo, CentroXML);
    CentroXML = nuevo;
    informe.empezar("importar", xml.string());
    // The lessons go to the file as SOLUC is read: a large timetable never sits in the tree.
    // The check of the chosen file ends before the root does, for what follows the root.
    // Whether the timetable belongs to the chosen file is known once both are read whole: the
    // result is then still unconfirmed, and a refusal leaves nothing behind.
    ArchivoPreparado resultado(disco, archivoResultado(xml));
    ProcedenciaHorario procedencia;
    doc.escribirEn(resultado, CentroXML.append_child("solucion_horario"),
                   [&](HijosEnCurso& solucion) {
                       CargarSolucion(tablas, solucion, informe, procedencia);
                       doc.esperarComprobacion();
                       procedencia.decidir(doc.identificadores(),
                                           {xml.string(), nombre, codigoInterno, curso}, informe);
                   });
    // The report appears only once the result is in place.
    ArchivoPreparado archivo(disco, buscarEnCarpeta(ktemp, kNombreInformeImportar, disco),
                             informe.contenidoArchivo());
    resultado.confirmarAntesDe(archivo);
    // "Proceso finalizado" promises the result: its name, and the report's, must outlast a
    // power cut as their bytes do, or the earlier result could come back.
    for (const auto& carpeta : {resultado.destino().parent_path(), archivo.destino().parent_path()})
        if (!disco.vaciarEntradas(carpeta))
            throw Error(ClaseError::FalloDeDisco, Hecho::CarpetaNoEscrita,
                        {.archivo = carpeta.string()}, sistema::textoError(sistema::ultimoError()));
}

} // namespace

std::filesystem::path archivoResultado(const std::filesystem::path& xml) {
    return xml.parent_path() / sistema::ruta("ResultadoTamberlo" + xml.filename().string());
}

void importarHorario(const std::filesystem::path& xml, const std::filesystem::path& ktemp,
                     Informe& informe, Disco& disco) {
    // The chosen file is checked on another core while the timetable is read and written,
    // its pages given back as they are read: the run never holds the school's file and
    // Tamberlo's tables in memory at once. When anything fails on a file that is not
    // well-formed, that is the error the user reads.
    DocumentoXML doc = DocumentoXML::cargarCabeceraMientrasSeComprueba(xml, disco);
    conComprobacion(doc, [&] { escribirResultado(doc, xml, ktemp, informe, disco); });
}

} // namespace pontavia
