#include "importar.h"

#include "archivo_atomico.h"
#include "cargar_solucion.h"
#include "fin_de_corrida.h"
#include "plataforma.h"
#include "sistema.h"
#include "tablas_tamberlo.h"
#include "velmora.h"

namespace pontavia {

void BImportarClick(Programa& p, Ventana& v) {
    v.mensaje("Deberá Abrir el fichero XML de VELMORA,\r\n"
              "desde el cual realizó la Importación a Tamberlo");
    std::string elegido;
    if (v.elegirArchivo(p.filenameXML, elegido)) p.filenameXML = elegido;
    const auto ktemp = carpetaKTEMP();
    if (!existeArchivo(sistema::ruta(p.filenameXML)) || !existeEnCarpeta(ktemp, "SOLUC.DBF")) {
        faltaEntrada(p, v, "No existe archivo XML o Solución.");
        return;
    }

    CursorOcupado cursor(v);
    TablasTamberlo tablas(ktemp);
    p.DocXML = DocumentoXML::cargar(sistema::ruta(p.filenameXML));
    DocumentoXML& doc = *p.DocXML;
    exigirCentro(doc, p.filenameXML);

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
    p.informe.empezar("importar", p.filenameXML);
    // The lessons go to the file as SOLUC is read: a large timetable never sits in the tree.
    const std::filesystem::path elegida = sistema::ruta(p.filenameXML);
    ArchivoPreparado resultado(elegida.parent_path() /
                               sistema::ruta("ResultadoTamberlo" + elegida.filename().string()));
    doc.escribirEn(resultado, CentroXML.append_child("solucion_horario"),
                   [&](HijosEnCurso& solucion) { CargarSolucion(tablas, solucion, p.informe); });
    // The report appears only once the result is in place.
    ArchivoPreparado informe(buscarEnCarpeta(ktemp, kNombreInforme), p.informe.contenidoArchivo());
    resultado.confirmar();
    informe.confirmar();
    cursor.restaurar();

    procesoFinalizado(p, v);
}

} // namespace pontavia
