#include "mostrar.h"

#include "csv.h"
#include "esquema_tamberlo.h"

#include <cstdio>

namespace pontavia {

namespace {

std::string nombreVersion(const FormatoDBase& f) {
    if (f.nivel7) return "dBase nivel 7";
    if (f.foxpro) return "Visual FoxPro";
    switch (f.version) {
    case 0x03:
        return "dBase III+";
    case 0x83:
        return "dBase III+ con memo";
    case 0x8B:
        return "dBase IV con memo";
    case 0xF5:
        return "FoxPro con memo";
    default:
        return "dBase";
    }
}

} // namespace

void mostrarCSV(TablaDBase& tabla, std::ostream& o) {
    const auto& campos = tabla.formato().campos;
    std::vector<std::string> fila;
    for (const auto& c : campos)
        fila.push_back(tabla.codigoPagina().aUtf8(c.nombre));
    o << filaCSV(fila);
    // By position: a table may hold two fields of the same name.
    for (tabla.primero(); !tabla.alFinal(); tabla.siguiente()) {
        fila.clear();
        for (std::size_t i = 0; i < campos.size(); ++i)
            fila.push_back(tabla.leerTextoEn(i));
        o << filaCSV(fila);
    }
}

void mostrarEstructura(const TablaDBase& tabla, std::ostream& o) {
    const auto& f = tabla.formato();
    char version[8];
    std::snprintf(version, sizeof version, "0x%02X", f.version);
    o << "Tabla: " << tabla.nombre() << '\n'
      << "Versión: " << version << " (" << nombreVersion(f) << ")\n"
      << "Página de códigos: " << f.codigoPagina << '\n'
      << "Registros: " << tabla.registros() << '\n'
      << "Campos:\n"
      << "nombre,tipo,ancho,decimales\n";
    for (const auto& c : f.campos)
        o << tabla.codigoPagina().aUtf8(c.nombre) << ',' << c.tipo << ',' << c.ancho << ','
          << c.decimales << '\n';
}

void mostrarTablasExportadas(std::ostream& o) {
    for (const VistaTabla& t : tamberlo::kTablasTamberlo)
        if (t.exportada()) o << t.nombre << '\n';
}

} // namespace pontavia
