#include "corridas.h"

#include "disposicion.h"
#include "nucleo.h"

#include <string>

namespace pontavia {

namespace {

// The file dialog, offering the file chosen last; a cancelled dialog keeps it.
std::filesystem::path elegirXML(Programa& p, Ventana& v) {
    std::string elegido;
    if (v.elegirArchivo(disposicion::kTituloDialogo, p.filenameXML, elegido))
        p.filenameXML = elegido;
    return rutaDeTexto(p.filenameXML);
}

// The run with the busy cursor, its report kept for the window.
FinDeCorrida correrConCursor(Corrida corrida, const std::filesystem::path& xml, Programa& p,
                             Ventana& v) {
    CursorOcupado cursor(v);
    FinDeCorrida fin = correr(corrida, xml, *p.disco);
    p.informe = fin.informe();
    return fin;
}

// How exportar and importar end for Tamberlo: a run done gives status 1, its input missing
// status -1 in command-line mode; either closes the window in that mode. A run refused or
// failed leaves the status as it was and the window open with its error, as always.
void terminar(const FinDeCorrida& fin, Programa& p, Ventana& v) {
    if (fin.como() == FinDeCorrida::Como::Hecha) p.EstadoTransformado = 1;
    if (fin.como() == FinDeCorrida::Como::FaltaEntrada && p.ModoLinea == 2)
        p.EstadoTransformado = -1;
    mostrarFin(fin, v);
    if (fin.como() != FinDeCorrida::Como::Fallida && p.ModoLinea == 2) v.cerrar();
}

} // namespace

void mostrarFin(const FinDeCorrida& fin, Ventana& v) {
    if (fin.como() != FinDeCorrida::Como::Hecha)
        return v.mostrarCaja(fin.textoCaja(), fin.gravedad());
    if (v.mensajeFinal(fin.textoCaja(), fin.gravedad())) verInforme(v, fin.archivoInforme());
}

void verInforme(Ventana& v, const std::filesystem::path& informe) {
    if (!v.abrirEnVisor(informe))
        v.mensaje("No hay ningún programa para abrir el informe " + textoDeRuta(informe) + ".");
}

void corridaExportar(Programa& p, Ventana& v) {
    const auto xml = elegirXML(p, v);
    terminar(correrConCursor(Corrida::Exportar, xml, p, v), p, v);
}

void corridaImportar(Programa& p, Ventana& v) {
    v.mensaje(kRecordatorioImportar);
    const auto xml = elegirXML(p, v);
    terminar(correrConCursor(Corrida::Importar, xml, p, v), p, v);
}

} // namespace pontavia
