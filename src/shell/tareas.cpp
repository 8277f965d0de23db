#include "tareas.h"

#include "corridas.h"
#include "nucleo.h"
#include "resumen_final.h"

#include <string>

namespace pontavia {

namespace {

std::string enLineas(const std::vector<std::string>& lineas) {
    std::string s;
    for (const auto& l : lineas)
        s += "\n  " + l;
    return s;
}

} // namespace

void tareaVerInforme(Ventana& v) {
    const auto ktemp = carpetaKTEMP();
    const auto informe = ultimoInforme(ktemp);
    if (informe.empty()) {
        v.mensaje("Todavía no hay ningún informe de Pontavia en " + textoDeRuta(ktemp) +
                  ": cada exportación e importación deja el suyo allí al terminar.");
        return;
    }
    verInforme(v, informe);
}

void tareaComprobar(Programa& p, Ventana& v) {
    std::string elegido;
    if (!v.elegirArchivo(p.filenameXML, elegido)) return;
    p.filenameXML = elegido;
    const auto archivo = informeDeComprobar();
    {
        CursorOcupado cursor(v);
        if (comprobar(rutaDeTexto(elegido), p.informe) == Resultado::FaltaEntrada) {
            cursor.restaurar();
            v.mensaje(queFalta(rutaDeTexto(elegido)) + "\n\nNo existe archivo");
            return;
        }
        guardarInforme(p.informe, archivo);
    }
    if (v.mensajeFinal("Comprobación terminada: no se ha escrito nada en las tablas de Tamberlo." +
                       resumenFinal(p.informe, archivo)))
        verInforme(v, archivo);
}

void tareaRestaurar(Ventana& v) {
    const auto ktemp = carpetaKTEMP();
    const auto plan = planRestaurar(ktemp);
    if (!v.preguntar("Se deshará la última exportación en " + textoDeRuta(ktemp) +
                     ": las tablas de Tamberlo vuelven a como estaban antes de ella." +
                     enLineas(plan) + "\n\n¿Desea continuar?"))
        return;
    std::vector<std::string> hecho;
    {
        CursorOcupado cursor(v);
        hecho = restaurar(ktemp);
    }
    v.mensaje("Exportación deshecha en " + textoDeRuta(ktemp) + "." + enLineas(hecho) +
              "\n\nOtra vez «Deshacer la última exportación» vuelve a ponerla.");
}

} // namespace pontavia
