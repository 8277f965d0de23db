#include "corridas.h"

#include "nucleo.h"
#include "resumen_final.h"

#include <string>

namespace pontavia {

namespace {

// The file dialog, offering the file chosen last; a cancelled dialog keeps it.
std::filesystem::path elegirXML(Programa& p, Ventana& v) {
    std::string elegido;
    if (v.elegirArchivo(p.filenameXML, elegido)) p.filenameXML = elegido;
    return rutaDeTexto(p.filenameXML);
}

// How a run ends, the same for both: the input missing gives its message and, in command-line
// mode, status -1; a run done gives status 1 and "Proceso finalizado" with what the run did,
// and the report a button away. In command-line mode the window then closes.
void terminar(Resultado r, const std::string& faltaEntrada, const std::filesystem::path& informe,
              const std::filesystem::path& resultado, Programa& p, Ventana& v) {
    if (r == Resultado::FaltaEntrada) {
        v.mensaje(faltaEntrada);
        if (p.ModoLinea != 2) return;
        p.EstadoTransformado = -1;
    } else {
        p.EstadoTransformado = 1;
        if (v.mensajeFinal("Proceso finalizado" + resumenFinal(p.informe, informe, resultado)))
            verInforme(v, informe);
    }
    if (p.ModoLinea == 2) v.cerrar();
}

} // namespace

void verInforme(Ventana& v, const std::filesystem::path& informe) {
    if (!v.abrirEnVisor(informe))
        v.mensaje("No hay ningún programa para abrir el informe " + textoDeRuta(informe) + ".");
}

void corridaExportar(Programa& p, Ventana& v) {
    const auto xml = elegirXML(p, v);
    Resultado r;
    {
        CursorOcupado cursor(v);
        r = exportar(xml, carpetaKTEMP(), p.informe, *p.disco);
    }
    const auto ktemp = carpetaKTEMP();
    terminar(r, queFalta(xml) + "\n\nNo existe archivo", informeDeExportar(ktemp), {}, p, v);
}

void corridaImportar(Programa& p, Ventana& v) {
    v.mensaje("Deberá Abrir el fichero XML de VELMORA,\r\n"
              "desde el cual realizó la Importación a Tamberlo");
    const auto xml = elegirXML(p, v);
    Resultado r;
    {
        CursorOcupado cursor(v);
        r = importar(xml, carpetaKTEMP(), p.informe, *p.disco);
    }
    terminar(r, queFalta(xml, carpetaKTEMP()) + "\n\nNo existe archivo XML o Solución.",
             informeDeImportar(carpetaKTEMP()), resultadoDeImportar(xml), p, v);
}

} // namespace pontavia
