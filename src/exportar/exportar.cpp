#include "exportar.h"

#include "exportacion.h"
#include "plataforma.h"
#include "preparacion.h"
#include "velmora.h"

namespace pontavia {

void BExportarClick(Programa& p, Ventana& v) {
    std::string elegido;
    if (v.elegirArchivo(p.filenameXML, elegido)) p.filenameXML = elegido;
    if (!existeArchivo(p.filenameXML)) {
        v.mensaje("No existe archivo");
        if (p.ModoLinea == 2) {
            p.EstadoTransformado = -1;
            v.cerrar();
        }
        return;
    }

    CursorOcupado cursor(v);
    p.DocXML = DocumentoXML::cargar(p.filenameXML);
    exigirCentro(*p.DocXML, p.filenameXML);

    CarpetaPreparacion preparacion(carpetaKTEMP());
    Exportacion e{p, *p.DocXML, preparacion.carpeta()};
    CargarMaterias(e);
    CargarTareas(e);
    CargarProfesores(e);
    CargarAulas(e);
    CargarGrupos(e);
    CargarFranjas(e);
    CargarAsignaturas(e);
    // DIASHORAST never had an index, so an index file of that name is not Pontavia's to remove.
    preparacion.confirmar({"ASIGNOMT", "PROFT", "AULAT", "GRUPOST", "DIASHORAST", "ASIGT"},
                          {"ASIGNOMT", "PROFT", "AULAT", "GRUPOST", "ASIGT"});
    cursor.restaurar();

    p.EstadoTransformado = 1;
    v.mensaje("Proceso finalizado");
    if (p.ModoLinea == 2) v.cerrar();
}

} // namespace pontavia
