#include "disco_con_fallos.h"

#include <algorithm>

#ifdef _WIN32
#include <windows.h>
#else
#include <unistd.h>
#endif

namespace pontavia::prueba {

void DiscoConFallos::fallarEnPaso(std::size_t k) {
    pasos_ = 0;
    registro_.clear();
    pasoQueFalla_ = k;
}

void DiscoConFallos::terminarEnPaso(std::size_t k) {
    pasos_ = 0;
    registro_.clear();
    pasoQueTermina_ = k;
}

void DiscoConFallos::limitarEscritura(std::size_t bytes) {
    restantes_ = bytes;
}

bool DiscoConFallos::paso(const char* nombre, const std::filesystem::path& ruta,
                          const std::filesystem::path& hasta) {
    registro_.push_back({nombre, ruta, hasta});
    if (antesDe) antesDe(registro_.back());
    if (++pasos_ == pasoQueTermina_) {
#ifdef _WIN32
        ::TerminateProcess(::GetCurrentProcess(), kTerminado);
#else
        ::_exit(kTerminado);
#endif
    }
    if (pasos_ != pasoQueFalla_) return true;
    sistema::fijarError(sistema::errorEntradaSalida());
    return false;
}

sistema::Archivo DiscoConFallos::crearJunto(const std::filesystem::path& destino,
                                            std::filesystem::path& creado) {
    return paso("crearJunto", destino) ? sistema_.crearJunto(destino, creado) : sistema::Archivo();
}

long long DiscoConFallos::escribir(sistema::Archivo& archivo, const char* datos, std::size_t n) {
    if (!paso("escribir")) return -1;
    if (restantes_) {
        if (*restantes_ == 0) {
            sistema::fijarError(sistema::errorDiscoLleno());
            return -1;
        }
        n = std::min(n, *restantes_);
    }
    const long long escrito = sistema_.escribir(archivo, datos, n);
    if (restantes_ && escrito > 0) *restantes_ -= static_cast<std::size_t>(escrito);
    return escrito;
}

bool DiscoConFallos::vaciar(sistema::Archivo& archivo) {
    return paso("vaciar") && sistema_.vaciar(archivo);
}

bool DiscoConFallos::cerrar(sistema::Archivo& archivo) {
    if (paso("cerrar")) return sistema_.cerrar(archivo);
    // A close that fails still lets the file go, as the system's does.
    archivo = sistema::Archivo();
    sistema::fijarError(sistema::errorEntradaSalida());
    return false;
}

bool DiscoConFallos::vaciarArchivo(const std::filesystem::path& ruta) {
    return paso("vaciarArchivo", ruta) && sistema_.vaciarArchivo(ruta);
}

bool DiscoConFallos::vaciarEntradas(const std::filesystem::path& carpeta) {
    return paso("vaciarEntradas", carpeta) && sistema_.vaciarEntradas(carpeta);
}

bool DiscoConFallos::reemplazar(const std::filesystem::path& desde,
                                const std::filesystem::path& hasta) {
    return paso("reemplazar", desde, hasta) && sistema_.reemplazar(desde, hasta);
}

bool DiscoConFallos::borrar(const std::filesystem::path& ruta) {
    return paso("borrar", ruta) && sistema_.borrar(ruta);
}

bool DiscoConFallos::enlazar(const std::filesystem::path& existente,
                             const std::filesystem::path& nuevo) {
    return paso("enlazar", existente, nuevo) && sistema_.enlazar(existente, nuevo);
}

bool DiscoConFallos::borrarCarpeta(const std::filesystem::path& carpeta) {
    return paso("borrarCarpeta", carpeta) && sistema_.borrarCarpeta(carpeta);
}

void DiscoConFallos::retirarSiAbandonado(const std::filesystem::path& ruta) {
    if (paso("retirarSiAbandonado", ruta)) sistema_.retirarSiAbandonado(ruta);
}

sistema::Archivo DiscoConFallos::retenerEnUso(const std::filesystem::path& carpeta) {
    if (!paso("retenerEnUso", carpeta)) return {};
    return sistema_.retenerEnUso(carpeta);
}

sistema::Archivo DiscoConFallos::retenerAbandonada(const std::filesystem::path& carpeta) {
    if (!paso("retenerAbandonada", carpeta)) return {};
    return sistema_.retenerAbandonada(carpeta);
}

bool DiscoConFallos::crearCarpeta(const std::filesystem::path& carpeta) {
    return paso("crearCarpeta", carpeta) && sistema_.crearCarpeta(carpeta);
}

std::filesystem::path DiscoConFallos::crearCarpetaUnica(const std::filesystem::path& base,
                                                        std::string_view prefijo) {
    return paso("crearCarpetaUnica", base) ? sistema_.crearCarpetaUnica(base, prefijo)
                                           : std::filesystem::path();
}

bool DiscoConFallos::listar(const std::filesystem::path& carpeta,
                            std::vector<std::filesystem::path>& entradas) {
    return paso("listar", carpeta) && sistema_.listar(carpeta, entradas);
}

sistema::Archivo DiscoConFallos::abrirExclusivo(const std::filesystem::path& ruta,
                                                sistema::Retencion& resultado) {
    if (paso("abrirExclusivo", ruta)) return sistema_.abrirExclusivo(ruta, resultado);
    resultado = sistema::Retencion::NoAbre;
    return sistema::Archivo();
}

Disco::Entrada DiscoConFallos::examinar(const std::filesystem::path& ruta) {
    return sistema_.examinar(ruta);
}

std::filesystem::path DiscoConFallos::nombreEnCarpeta(const std::filesystem::path& ruta) {
    return sistema_.nombreEnCarpeta(ruta);
}

std::optional<std::uintmax_t> DiscoConFallos::tamano(const std::filesystem::path& ruta) {
    return sistema_.tamano(ruta);
}

std::optional<std::filesystem::file_time_type>
DiscoConFallos::modificado(const std::filesystem::path& ruta) {
    return sistema_.modificado(ruta);
}

std::filesystem::path DiscoConFallos::carpetaTemporal() {
    return sistema_.carpetaTemporal();
}

bool DiscoConFallos::crearCarpetas(const std::filesystem::path& carpeta, std::error_code& error) {
    if (paso("crearCarpetas", carpeta)) return sistema_.crearCarpetas(carpeta, error);
    error = std::make_error_code(std::errc::io_error);
    return false;
}

Mapeo DiscoConFallos::mapear(const std::filesystem::path& ruta, Mapeo::Acceso acceso) {
    if (paso("mapear", ruta)) return sistema_.mapear(ruta, acceso);
    Mapeo::fallar(Mapeo::Fallo::Leer, ruta);
}

std::optional<Mapeo> DiscoConFallos::mapearAbierto(const sistema::Archivo& archivo) {
    // A view that cannot be had is no failure: the table is read instead.
    if (!paso("mapearAbierto") || sinVistas_) return std::nullopt;
    return sistema_.mapearAbierto(archivo);
}

sistema::Archivo::Lectura DiscoConFallos::leerTodo(const sistema::Archivo& archivo,
                                                   std::string& datos) {
    if (paso("leerTodo")) return sistema_.leerTodo(archivo, datos);
    // Half of the file came before the device failed.
    if (sistema_.leerTodo(archivo, datos) == sistema::Archivo::Lectura::Leido)
        datos.resize(datos.size() / 2);
    sistema::fijarError(sistema::errorEntradaSalida());
    return sistema::Archivo::Lectura::Fallo;
}

bool DiscoConFallos::leerArchivo(const std::filesystem::path& ruta, std::string& datos) {
    return paso("leerArchivo", ruta) && sistema_.leerArchivo(ruta, datos);
}

} // namespace pontavia::prueba
