#include "carpeta_tamberlo.h"

#include "plataforma.h"
#include "sistema.h"
#include "texto.h"

#include <utility>

namespace pontavia {

std::vector<fs::path> buscarEnCarpeta(const fs::path& carpeta,
                                      const std::vector<std::string>& nombres, Disco& disco) {
    std::vector<fs::path> rutas;
    // The names with no entry of their exact spelling, as a listing matches them.
    std::vector<std::pair<std::size_t, std::string>> buscados;
    for (const auto& nombre : nombres) {
        const fs::path exacta = carpeta / sistema::ruta(nombre);
        if (disco.examinar(exacta) != Disco::Entrada::Ninguna) {
            rutas.push_back(disco.nombreEnCarpeta(exacta));
        } else {
            buscados.emplace_back(rutas.size(), plegarMayusculas(nombre));
            rutas.push_back(exacta);
        }
    }
    if (buscados.empty()) return rutas;
    std::vector<fs::path> entradas;
    disco.listar(carpeta, entradas);
    for (const auto& ruta : entradas) {
        if (buscados.empty()) break;
        const std::string entrada = plegarMayusculas(ruta.filename().string());
        std::erase_if(buscados, [&](const auto& buscado) {
            if (buscado.second != entrada) return false;
            rutas[buscado.first] = ruta;
            return true;
        });
    }
    return rutas;
}

fs::path buscarEnCarpeta(const fs::path& carpeta, std::string_view nombre, Disco& disco) {
    return buscarEnCarpeta(carpeta, std::vector<std::string>{std::string(nombre)}, disco).front();
}

bool existeEnCarpeta(const fs::path& carpeta, std::string_view nombre, Disco& disco) {
    return existeArchivo(buscarEnCarpeta(carpeta, nombre, disco), disco);
}

} // namespace pontavia
