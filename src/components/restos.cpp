#include "restos.h"

#include "sistema.h"

#include <cctype>
#include <string>

namespace pontavia {

namespace {

bool esTemporal(std::string_view nombre, std::string_view prefijo) {
    constexpr std::size_t kSufijo = 6; // the unique ending of a temporary name
    if (nombre.size() != prefijo.size() + kSufijo || nombre.substr(0, prefijo.size()) != prefijo)
        return false;
    for (char c : nombre.substr(prefijo.size()))
        if (!std::isalnum(static_cast<unsigned char>(c))) return false;
    return true;
}

} // namespace

void retirarAbandonados(const std::filesystem::path& carpeta, std::string_view prefijo) {
    std::error_code ec;
    std::filesystem::directory_iterator it(carpeta.empty() ? "." : carpeta, ec);
    if (ec) return;
    for (; !ec && it != std::filesystem::directory_iterator(); it.increment(ec))
        if (esTemporal(it->path().filename().string(), prefijo))
            sistema::retirarSiAbandonado(it->path());
}

} // namespace pontavia
