#include "plataforma.h"

#include "error.h"
#include "sistema.h"
#include "texto.h"

#include <system_error>
#include <utility>
#include <vector>

namespace pontavia {

void prepararCarpetaTamberlo(const fs::path& carpeta) {
    std::error_code ec;
    if (fs::is_directory(carpeta, ec)) return;
    if (fs::exists(carpeta, ec))
        throw Error(ClaseError::FalloDeDisco, Hecho::CarpetaEsArchivo,
                    {.archivo = carpeta.string()});
    fs::create_directories(carpeta, ec);
    if (ec)
        throw Error(ClaseError::FalloDeDisco, Hecho::CarpetaNoCreada, {.archivo = carpeta.string()},
                    ec.message());
}

std::vector<fs::path> buscarEnCarpeta(const fs::path& carpeta,
                                      const std::vector<std::string>& nombres) {
    std::vector<fs::path> rutas;
    // The names with no entry of their exact spelling, as a listing matches them.
    std::vector<std::pair<std::size_t, std::string>> buscados;
    std::error_code ec;
    for (const auto& nombre : nombres) {
        const fs::path exacta = carpeta / sistema::ruta(nombre);
        if (fs::exists(exacta, ec)) {
            rutas.push_back(sistema::nombreEnCarpeta(exacta));
        } else {
            buscados.emplace_back(rutas.size(), plegarMayusculas(nombre));
            rutas.push_back(exacta);
        }
    }
    if (buscados.empty()) return rutas;
    for (fs::directory_iterator it(carpeta, ec), fin; !buscados.empty() && !ec && it != fin;
         it.increment(ec)) {
        const std::string entrada = plegarMayusculas(it->path().filename().string());
        std::erase_if(buscados, [&](const auto& buscado) {
            if (buscado.second != entrada) return false;
            rutas[buscado.first] = it->path();
            return true;
        });
    }
    return rutas;
}

fs::path buscarEnCarpeta(const fs::path& carpeta, std::string_view nombre) {
    return buscarEnCarpeta(carpeta, std::vector<std::string>{std::string(nombre)}).front();
}

bool existeEnCarpeta(const fs::path& carpeta, std::string_view nombre) {
    return existeArchivo(buscarEnCarpeta(carpeta, nombre));
}

bool existeArchivo(const fs::path& ruta) {
    std::error_code ec;
    return !ruta.empty() && fs::is_regular_file(ruta, ec);
}

fs::path carpetaDelEjecutable() {
    return sistema::carpetaDelEjecutable();
}

std::string fechaHoraLocal() {
    return sistema::fechaHoraLocal();
}

} // namespace pontavia
