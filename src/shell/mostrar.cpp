#include "mostrar.h"

#include <cstdio>

namespace pontavia {

namespace {

void celda(std::ostream& o, const std::string& v) {
    if (v.find_first_of(",\"\r\n") == std::string::npos) {
        o << v;
        return;
    }
    o << '"';
    for (char c : v) {
        if (c == '"') o << '"';
        o << c;
    }
    o << '"';
}

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
    for (std::size_t i = 0; i < campos.size(); ++i) {
        if (i) o << ',';
        celda(o, campos[i].nombre);
    }
    o << "\r\n";
    for (tabla.First(); !tabla.Eof(); tabla.Next()) {
        for (std::size_t i = 0; i < campos.size(); ++i) {
            if (i) o << ',';
            celda(o, tabla.leerTexto(campos[i].nombre));
        }
        o << "\r\n";
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
