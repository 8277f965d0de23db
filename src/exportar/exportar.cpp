#include "exportar.h"

#include "archivo_atomico.h"
#include "error.h"
#include "exportacion.h"
#include "fin_de_corrida.h"
#include "plataforma.h"
#include "preparacion.h"
#include "sistema.h"
#include "velmora.h"

namespace pontavia {

namespace {

// The builders in their order; each may read the tables written before it.
void construirTablas(Programa& p, const std::filesystem::path& carpeta) {
    Exportacion e{p, *p.DocXML, carpeta};
    CargarMaterias(e);
    CargarTareas(e);
    CargarProfesores(e);
    CargarAulas(e);
    CargarGrupos(e);
    CargarFranjas(e);
    CargarAsignaturas(e);
}

void cargarDocumento(Programa& p) {
    p.DocXML = DocumentoXML::cargar(sistema::ruta(p.filenameXML));
    exigirCentro(*p.DocXML, p.filenameXML);
}

} // namespace

void BExportarClick(Programa& p, Ventana& v) {
    std::string elegido;
    if (v.elegirArchivo(p.filenameXML, elegido)) p.filenameXML = elegido;
    if (!existeArchivo(sistema::ruta(p.filenameXML))) {
        faltaEntrada(p, v, "No existe archivo");
        return;
    }

    CursorOcupado cursor(v);
    cargarDocumento(p);
    p.informe.empezar("exportar", p.filenameXML);
    const auto ktemp = carpetaKTEMP();
    CarpetaPreparacion preparacion(ktemp);
    construirTablas(p, preparacion.carpeta());
    // The report appears with the tables, or not at all.
    ArchivoPreparado informe(buscarEnCarpeta(ktemp, kNombreInforme), p.informe.contenidoArchivo());
    preparacion.confirmar(preparacion.carpeta(), tablasExportadas());
    informe.confirmar();
    cursor.restaurar();

    procesoFinalizado(p, v);
}

void comprobarExportacion(Programa& p, const std::filesystem::path& archivo) {
    p.filenameXML = archivo.string();
    cargarDocumento(p);
    p.informe.empezar("comprobar", p.filenameXML);
    CarpetaPreparacion preparacion(std::filesystem::temp_directory_path());
    construirTablas(p, preparacion.carpeta());
}

} // namespace pontavia
