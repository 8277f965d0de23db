#include "restos.h"

#include <cctype>
#include <string>
#include <vector>

namespace pontavia {

bool esNombreTemporal(std::string_view nombre, std::string_view prefijo) {
    constexpr std::size_t kSufijo = 6; // the unique ending of a temporary name
    if (nombre.size() != prefijo.size() + kSufijo || nombre.substr(0, prefijo.size()) != prefijo)
        return false;
    for (char c : nombre.substr(prefijo.size()))
        if (!std::isalnum(static_cast<unsigned char>(c))) return false;
    return true;
}

void retirarAbandonados(Disco& disco, const std::filesystem::path& carpeta,
                        std::string_view prefijo) {
    std::vector<std::filesystem::path> entradas;
    // A listing cut short still clears what it found; the next run clears the rest.
    disco.listar(carpeta.empty() ? "." : carpeta, entradas);
    for (const auto& entrada : entradas)
        if (esNombreTemporal(entrada.filename().string(), prefijo))
            disco.retirarSiAbandonado(entrada);
}

} // namespace pontavia
