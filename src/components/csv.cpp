#include "csv.h"

namespace pontavia {

std::string celdaCSV(std::string_view valor) {
    if (valor.find_first_of(",\"\r\n") == std::string_view::npos) return std::string(valor);
    std::string s = "\"";
    for (char c : valor) {
        if (c == '"') s += '"';
        s += c;
    }
    return s + '"';
}

std::string filaCSV(const std::vector<std::string>& valores) {
    std::string fila;
    for (std::size_t i = 0; i < valores.size(); ++i) {
        if (i > 0) fila += ',';
        fila += celdaCSV(valores[i]);
    }
    return fila + "\r\n";
}

} // namespace pontavia
