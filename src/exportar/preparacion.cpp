#include "preparacion.h"

#include "bloqueo.h"
#include "error.h"
#include "plataforma.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <stdlib.h>
#include <system_error>

namespace pontavia {

namespace {

struct Movimiento {
    std::filesystem::path desde;
    std::filesystem::path hasta;
};

void mover(const std::filesystem::path& desde, const std::filesystem::path& hasta) {
    if (std::rename(desde.c_str(), hasta.c_str()) != 0)
        throw Error("No se pudo mover " + desde.string() + " a " + hasta.string() + ": " +
                    std::strerror(errno) + ".");
}

} // namespace

CarpetaPreparacion::CarpetaPreparacion(const std::filesystem::path& ktemp) : ktemp_(ktemp) {
    std::string plantilla = (ktemp / ".pontavia-preparacion-XXXXXX").string();
    if (!::mkdtemp(plantilla.data()))
        throw Error("No se pudo preparar la exportación en " + ktemp.string() + ": " +
                    std::strerror(errno) + ".");
    carpeta_ = plantilla;
}

CarpetaPreparacion::~CarpetaPreparacion() {
    std::error_code ec;
    std::filesystem::remove_all(carpeta_, ec);
}

void CarpetaPreparacion::confirmar(const std::vector<std::string>& tablas,
                                   const std::vector<std::string>& indicesObsoletos) {
    // Hold every table Tamberlo may have open before touching any of them.
    std::vector<BloqueoExclusivo> bloqueos;
    for (const auto& t : tablas) {
        const auto actual = buscarEnCarpeta(ktemp_, t + ".DBF");
        if (existeArchivo(actual)) bloqueos.emplace_back(actual);
    }

    const auto anteriores = carpeta_ / "anteriores";
    std::filesystem::create_directory(anteriores);
    std::vector<Movimiento> hechos;
    try {
        // The old files step aside first, so that a failure can put them back.
        auto apartar = [&](const std::string& nombre) {
            const auto actual = buscarEnCarpeta(ktemp_, nombre);
            if (!existeArchivo(actual)) return actual.parent_path() / nombre;
            const auto destino = anteriores / actual.filename();
            mover(actual, destino);
            hechos.push_back({actual, destino});
            return actual;
        };
        std::vector<std::filesystem::path> destinos;
        for (const auto& t : tablas)
            destinos.push_back(apartar(t + ".DBF"));
        for (const auto& t : indicesObsoletos)
            apartar(t + ".MDX");
        for (std::size_t i = 0; i < tablas.size(); ++i) {
            mover(carpeta_ / (tablas[i] + ".DBF"), destinos[i]);
            hechos.push_back({carpeta_ / (tablas[i] + ".DBF"), destinos[i]});
        }
    } catch (...) {
        for (auto it = hechos.rbegin(); it != hechos.rend(); ++it)
            std::rename(it->hasta.c_str(), it->desde.c_str());
        throw;
    }
}

} // namespace pontavia
