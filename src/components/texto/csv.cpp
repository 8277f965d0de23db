#include "csv.h"

namespace pontavia {

namespace {

void anadirCelda(std::string& destino, std::string_view valor) {
    if (valor.find_first_of(",\"\r\n") == std::string_view::npos) {
        destino.append(valor);
        return;
    }
    destino += '"';
    for (char c : valor) {
        if (c == '"') destino += '"';
        destino += c;
    }
    destino += '"';
}

template <typename Valores> void anadirFila(std::string& destino, const Valores& valores) {
    bool primera = true;
    for (const auto& v : valores) {
        if (!primera) destino += ',';
        primera = false;
        anadirCelda(destino, v);
    }
    destino += "\r\n";
}

} // namespace

std::string celdaCSV(std::string_view valor) {
    std::string s;
    anadirCelda(s, valor);
    return s;
}

std::string filaCSV(const std::vector<std::string>& valores) {
    std::string fila;
    anadirFila(fila, valores);
    return fila;
}

void anadirFilaCSV(std::string& destino, std::initializer_list<std::string_view> valores) {
    anadirFila(destino, valores);
}

} // namespace pontavia
