#include "corridas.h"

#include "carpeta_ktemp.h"
#include "nucleo.h"
#include "sistema.h"

#include <string>

namespace pontavia {

namespace {

// The file dialog, offering the file chosen last; a cancelled dialog keeps it.
std::filesystem::path elegirXML(Programa& p, Ventana& v) {
    std::string elegido;
    if (v.elegirArchivo(p.filenameXML, elegido)) p.filenameXML = elegido;
    return sistema::ruta(p.filenameXML);
}

// How a run ends, the same for both: the input missing gives its message and, in command-line
// mode, status -1; a run done gives status 1 and "Proceso finalizado". In command-line mode
// the window then closes.
void terminar(Resultado r, const char* faltaEntrada, Programa& p, Ventana& v) {
    if (r == Resultado::FaltaEntrada) {
        v.mensaje(faltaEntrada);
        if (p.ModoLinea != 2) return;
        p.EstadoTransformado = -1;
    } else {
        p.EstadoTransformado = 1;
        v.mensaje("Proceso finalizado");
    }
    if (p.ModoLinea == 2) v.cerrar();
}

} // namespace

void corridaExportar(Programa& p, Ventana& v) {
    const auto xml = elegirXML(p, v);
    Resultado r;
    {
        CursorOcupado cursor(v);
        r = exportar(xml, carpetaKTEMP(), p.informe);
    }
    terminar(r, "No existe archivo", p, v);
}

void corridaImportar(Programa& p, Ventana& v) {
    v.mensaje("Deberá Abrir el fichero XML de VELMORA,\r\n"
              "desde el cual realizó la Importación a Tamberlo");
    const auto xml = elegirXML(p, v);
    Resultado r;
    {
        CursorOcupado cursor(v);
        r = importar(xml, carpetaKTEMP(), p.informe);
    }
    terminar(r, "No existe archivo XML o Solución.", p, v);
}

} // namespace pontavia
