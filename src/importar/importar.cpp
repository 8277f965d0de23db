#include "importar.h"

#include "archivo_atomico.h"
#include "cargar_solucion.h"
#include "plataforma.h"
#include "sistema.h"
#include "tablas_tamberlo.h"
#include "velmora.h"

namespace pontavia {

void importarHorario(const std::filesystem::path& xml, const std::filesystem::path& ktemp,
                     Informe& informe, Disco& disco) {
    // The chosen file is read and let go before the tables are opened: the run never holds
    // the school's file and Tamberlo's tables in memory at once.
    DocumentoXML doc = DocumentoXML::cargarCabecera(xml);
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
    setAttribute(nuevo, "codigo_interno", codigoInterno);
    setAttribute(nuevo, "nombre", nombre);
    setAttribute(nuevo, "curso", curso);
    setAttribute(nuevo, "fecha_exportacion", fechaHoraLocal());
    setAttribute(nuevo, "version", version);
    doc.replaceChild(nuevo, CentroXML);
    CentroXML = nuevo;
    informe.empezar("importar", xml.string());
    // The lessons go to the file as SOLUC is read: a large timetable never sits in the tree.
    ArchivoPreparado resultado(
        disco, xml.parent_path() / sistema::ruta("ResultadoTamberlo" + xml.filename().string()));
    doc.escribirEn(resultado, CentroXML.append_child("solucion_horario"),
                   [&](HijosEnCurso& solucion) { CargarSolucion(tablas, solucion, informe); });
    // The report appears only once the result is in place.
    ArchivoPreparado archivo(disco, buscarEnCarpeta(ktemp, kNombreInforme),
                             informe.contenidoArchivo());
    resultado.confirmarAntesDe(archivo);
}

} // namespace pontavia
