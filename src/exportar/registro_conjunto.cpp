#include "registro_conjunto.h"

#include "documento_xml.h"
#include "texto.h"

#include <cstdio>
#include <ctime>

namespace pontavia {

namespace {

constexpr std::string_view kCabecera = "pontavia-conjunto 1";

// A value on one line of the record: its tabs and line ends, which a school's name may hold,
// written as escapes.
std::string escapar(std::string_view valor) {
    std::string s;
    for (char c : valor) {
        switch (c) {
        case '\\':
            s += "\\\\";
            break;
        case '\t':
            s += "\\t";
            break;
        case '\n':
            s += "\\n";
            break;
        case '\r':
            s += "\\r";
            break;
        default:
            s += c;
        }
    }
    return s;
}

bool desescapar(std::string_view texto, std::string& valor) {
    valor.clear();
    for (std::size_t i = 0; i < texto.size(); ++i) {
        if (texto[i] != '\\') {
            valor += texto[i];
            continue;
        }
        if (++i == texto.size()) return false;
        switch (texto[i]) {
        case '\\':
            valor += '\\';
            break;
        case 't':
            valor += '\t';
            break;
        case 'n':
            valor += '\n';
            break;
        case 'r':
            valor += '\r';
            break;
        default:
            return false;
        }
    }
    return true;
}

// A table's name: what restaurar looks for in the kept set's folder, so nothing that leads
// out of it.
bool esNombreDeTabla(std::string_view nombre) {
    if (nombre.empty()) return false;
    for (char c : nombre)
        if (!((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') ||
              c == '_'))
            return false;
    return true;
}

// "2026-12-11 10:30" as the timetabler reads it: "el 11/12/2026 a las 10:30".
std::string momentoLegible(const std::string& momento) {
    int anio = 0, mes = 0, dia = 0, hora = 0, minuto = 0;
    char resto = 0;
    if (std::sscanf(momento.c_str(), "%4d-%2d-%2d %2d:%2d%c", &anio, &mes, &dia, &hora, &minuto,
                    &resto) != 5)
        return "el " + momento;
    char texto[40];
    std::snprintf(texto, sizeof texto, "el %02d/%02d/%04d a las %02d:%02d", dia, mes, anio, hora,
                  minuto);
    return texto;
}

std::string ahora() {
    const std::time_t t = std::time(nullptr);
    // Read once, at the end of a run; no other thread asks for the time meanwhile.
    const std::tm* local = std::localtime(&t);
    char texto[32] = "";
    if (local) std::strftime(texto, sizeof texto, "%Y-%m-%d %H:%M", local);
    return texto;
}

} // namespace

std::string textoRegistro(const RegistroConjunto& r) {
    std::string texto(kCabecera);
    texto += '\n';
    if (r.origen) {
        const OrigenConjunto& o = *r.origen;
        texto += "archivo\t" + escapar(o.archivo) + "\n";
        texto += "nombre\t" + escapar(o.nombre) + "\n";
        texto += "codigo_interno\t" + escapar(o.codigoInterno) + "\n";
        texto += "curso\t" + escapar(o.curso) + "\n";
        texto += "exportado\t" + escapar(o.exportado) + "\n";
    }
    for (const auto& t : r.tablas)
        texto += "tabla\t" + t + "\n";
    return texto + "fin\n";
}

bool leerRegistro(std::string_view texto, RegistroConjunto& r) {
    r = {};
    std::vector<std::pair<std::string_view, std::string_view>> lineas;
    while (!texto.empty()) {
        const auto fin = texto.find('\n');
        if (fin == std::string_view::npos) return false; // cut short
        const std::string_view linea = texto.substr(0, fin);
        texto.remove_prefix(fin + 1);
        const auto tab = linea.find('\t');
        lineas.emplace_back(linea.substr(0, tab), tab == std::string_view::npos
                                                      ? std::string_view()
                                                      : linea.substr(tab + 1));
    }
    if (lineas.size() < 2 || lineas.front().first != kCabecera || lineas.back().first != "fin" ||
        !lineas.front().second.empty() || !lineas.back().second.empty())
        return false;
    OrigenConjunto o;
    const std::pair<const char*, std::string*> kOrigen[] = {
        {"archivo", &o.archivo}, {"nombre", &o.nombre},       {"codigo_interno", &o.codigoInterno},
        {"curso", &o.curso},     {"exportado", &o.exportado},
    };
    std::size_t i = 1;
    // The origin is whole, its five lines in their order, or absent.
    if (lineas[i].first == kOrigen[0].first) {
        for (const auto& [clave, valor] : kOrigen) {
            if (i + 1 >= lineas.size() || lineas[i].first != clave ||
                !desescapar(lineas[i].second, *valor))
                return false;
            ++i;
        }
        r.origen = std::move(o);
    }
    for (; i + 1 < lineas.size(); ++i) {
        if (lineas[i].first != "tabla" || !esNombreDeTabla(lineas[i].second)) return false;
        r.tablas.emplace_back(lineas[i].second);
    }
    return true;
}

OrigenConjunto origenDe(const DocumentoXML& doc, const std::string& xml) {
    const Nodo centro = doc.documentElement();
    const auto leer = [&](const char* atributo) {
        return recortar(centro.attribute(atributo).value());
    };
    return {xml, leer("nombre"), leer("codigo_interno"), leer("curso"), ahora()};
}

std::string describirConjunto(const RegistroConjunto& r) {
    if (!r.origen)
        return r.tablas.empty()
                   ? "la carpeta de Tamberlo sin tablas, como estaba antes de la primera "
                     "exportación"
                   : "las tablas que ya había en la carpeta de Tamberlo antes de que Pontavia "
                     "anotase de qué archivo de VELMORA venía cada exportación";
    const OrigenConjunto& o = *r.origen;
    std::string s = "las tablas exportadas de «" + o.nombre + "» (";
    if (!o.curso.empty()) s += "curso " + o.curso + ", ";
    return s + "archivo " + o.archivo + ", " + momentoLegible(o.exportado) + ")";
}

} // namespace pontavia
