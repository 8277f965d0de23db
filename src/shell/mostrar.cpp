#include "mostrar.h"

#include "csv.h"

#include <cstdio>

namespace pontavia {

namespace {

std::string nombreVersion(const FormatoDBase& f) {
    if (f.nivel7) return "dBase nivel 7";
    if (f.foxpro) return "Visual FoxPro";
    switch (f.version) {
    case 0x02:
        return "FoxBase";
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
        fila.push_back(c.nombre);
    o << filaCSV(fila);
    for (tabla.First(); !tabla.Eof(); tabla.Next()) {
        fila.clear();
        for (const auto& c : campos)
            fila.push_back(tabla.leerTexto(NombreCampo::deTexto(c.nombre)));
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
        o << c.nombre << ',' << c.tipo << ',' << c.ancho << ',' << c.decimales << '\n';
}

} // namespace pontavia
