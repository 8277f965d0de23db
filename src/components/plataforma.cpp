#include "plataforma.h"

#include "error.h"
#include "texto.h"

#include <cstdlib>
#include <ctime>
#include <system_error>

namespace pontavia {

fs::path carpetaKTEMP() {
    const char* variable = std::getenv("PONTAVIA_KTEMP");
    fs::path carpeta = (variable && *variable) ? fs::path(variable) : fs::path("/KTEMP");
    std::error_code ec;
    if (fs::is_directory(carpeta, ec)) return carpeta;
    if (fs::exists(carpeta, ec))
        throw Error("La carpeta de Tamberlo " + carpeta.string() +
                    " no es una carpeta: ya existe un archivo con ese nombre.");
    fs::create_directories(carpeta, ec);
    if (ec)
        throw Error("No se pudo crear la carpeta de Tamberlo " + carpeta.string() + ": " +
                    ec.message() + ".");
    return carpeta;
}

fs::path buscarEnCarpeta(const fs::path& carpeta, std::string_view nombre) {
    std::error_code ec;
    const fs::path exacta = carpeta / nombre;
    if (fs::exists(exacta, ec)) return exacta;
    const std::string buscado = plegarMayusculas(nombre);
    for (fs::directory_iterator it(carpeta, ec), fin; !ec && it != fin; it.increment(ec)) {
        if (plegarMayusculas(it->path().filename().string()) == buscado) return it->path();
    }
    return exacta;
}

bool existeEnCarpeta(const fs::path& carpeta, std::string_view nombre) {
    return existeArchivo(buscarEnCarpeta(carpeta, nombre));
}

bool existeArchivo(const fs::path& ruta) {
    std::error_code ec;
    return !ruta.empty() && fs::is_regular_file(ruta, ec);
}

fs::path carpetaDelEjecutable() {
    std::error_code ec;
    fs::path exe = fs::read_symlink("/proc/self/exe", ec);
    if (ec) return fs::current_path();
    return exe.parent_path();
}

std::string fechaHoraLocal() {
    const std::time_t ahora = std::time(nullptr);
    std::tm local{};
    localtime_r(&ahora, &local);
    char buf[128];
    const std::size_t n = std::strftime(buf, sizeof buf, "%x %X", &local);
    return std::string(buf, n);
}

} // namespace pontavia
