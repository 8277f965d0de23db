#include "tareas.h"

#include "corridas.h"
#include "disposicion.h"
#include "nucleo.h"

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
    if (!v.elegirArchivo(disposicion::kTituloDialogoComprobar, p.filenameXML, elegido)) return;
    p.filenameXML = elegido;
    const FinDeCorrida fin = [&] {
        CursorOcupado cursor(v);
        FinDeCorrida f = correr(Corrida::Comprobar, rutaDeTexto(elegido), *p.disco);
        p.informe = f.informe();
        // It writes nothing for Tamberlo: its report goes to a file of its own, in the
        // system's temporary folder, a button away from the end box.
        if (f.como() == FinDeCorrida::Como::Hecha)
            guardarInforme(f.informe(), f.archivoInforme(), *p.disco);
        return f;
    }();
    mostrarFin(fin, v);
}

void tareaRestaurar(Ventana& v) {
    const auto ktemp = carpetaKTEMP();
    const auto plan = planRestaurar(ktemp);
    // The export it goes back to on a line of its own, then what will become of each table.
    const std::vector<std::string> tablas(plan.begin() + (plan.empty() ? 0 : 1), plan.end());
    if (!v.preguntar("Se deshará la última exportación en " + textoDeRuta(ktemp) +
                     ": las tablas de Tamberlo volverán a como estaban antes de ella." +
                     (plan.empty() ? std::string() : "\n\n" + plan.front()) + enLineas(tablas) +
                     "\n\n¿Desea continuar?"))
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
