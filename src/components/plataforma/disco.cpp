#include "disco.h"

#include <chrono>
#include <fstream>
#include <sstream>
#include <system_error>
#include <thread>

namespace pontavia {

namespace {

// A virus scanner, a search indexer or a backup tool opens a freshly written file for a few
// milliseconds, and a move or removal of it then fails as if the file were in use. Such a
// failure is tried again, with a growing wait (25, 50, 75 ms...), for about a second in all;
// a file held longer (Tamberlo has it open) fails as before. intento returns whether it
// succeeded; enUso whether its failure was such a hold.
template <typename Intento, typename EnUso> bool esperandoRetencion(Intento intento, EnUso enUso) {
    constexpr auto kPaso = std::chrono::milliseconds(25);
    constexpr auto kTotal = std::chrono::milliseconds(1000);
    std::chrono::milliseconds esperado{0};
    for (int n = 1;; ++n) {
        if (intento()) return true;
        if (!enUso() || esperado >= kTotal) return false;
        const int error = sistema::ultimoError();
        std::this_thread::sleep_for(kPaso * n);
        esperado += kPaso * n;
        sistema::fijarError(error);
    }
}

template <typename Intento> bool esperandoRetencion(Intento intento) {
    return esperandoRetencion(intento,
                              [] { return sistema::enUsoPorOtro(sistema::ultimoError()); });
}

// Straight through to the system's half of the seam (sistema_posix.cpp, sistema_win32.cpp).
class DiscoDelSistema final : public Disco {
  public:
    sistema::Archivo crearJunto(const std::filesystem::path& destino,
                                std::filesystem::path& creado) override {
        return sistema::crearJunto(destino, creado);
    }
    long long escribir(sistema::Archivo& archivo, const char* datos, std::size_t n) override {
        return archivo.escribir(datos, n);
    }
    bool vaciar(sistema::Archivo& archivo) override { return archivo.vaciar(); }
    bool cerrar(sistema::Archivo& archivo) override { return archivo.cerrar(); }
    bool vaciarArchivo(const std::filesystem::path& ruta) override {
        return esperandoRetencion([&] { return sistema::vaciarArchivo(ruta); });
    }
    bool vaciarEntradas(const std::filesystem::path& carpeta) override {
        return sistema::vaciarEntradas(carpeta);
    }
    bool reemplazar(const std::filesystem::path& desde,
                    const std::filesystem::path& hasta) override {
        return esperandoRetencion([&] { return sistema::reemplazar(desde, hasta); });
    }
    bool borrar(const std::filesystem::path& ruta) override {
        return esperandoRetencion([&] { return sistema::borrar(ruta); });
    }
    bool enlazar(const std::filesystem::path& existente,
                 const std::filesystem::path& nuevo) override {
        return esperandoRetencion([&] { return sistema::enlazar(existente, nuevo); });
    }
    bool borrarCarpeta(const std::filesystem::path& carpeta) override {
        return sistema::borrarCarpeta(carpeta);
    }
    void retirarSiAbandonado(const std::filesystem::path& ruta) override {
        sistema::retirarSiAbandonado(ruta);
    }
    sistema::Archivo retenerEnUso(const std::filesystem::path& carpeta) override {
        return sistema::retenerEnUso(sistema::abrirCarpeta(carpeta), carpeta);
    }
    sistema::Archivo retenerAbandonada(const std::filesystem::path& carpeta) override {
        return sistema::retenerAbandonada(carpeta);
    }
    bool crearCarpeta(const std::filesystem::path& carpeta) override {
        return sistema::crearCarpeta(carpeta);
    }
    std::filesystem::path crearCarpetaUnica(const std::filesystem::path& base,
                                            std::string_view prefijo) override {
        return sistema::crearCarpetaUnica(base, prefijo);
    }
    bool listar(const std::filesystem::path& carpeta,
                std::vector<std::filesystem::path>& entradas) override {
        std::error_code ec;
        std::filesystem::directory_iterator it(carpeta, ec);
        for (; !ec && it != std::filesystem::directory_iterator(); it.increment(ec))
            entradas.push_back(it->path());
        return !ec;
    }
    sistema::Archivo abrirExclusivo(const std::filesystem::path& ruta,
                                    sistema::Retencion& resultado) override {
        sistema::Archivo archivo;
        esperandoRetencion(
            [&] {
                archivo = sistema::abrirExclusivo(ruta, resultado);
                return resultado == sistema::Retencion::Tomada;
            },
            [&] { return resultado == sistema::Retencion::EnUso; });
        return archivo;
    }

    Entrada examinar(const std::filesystem::path& ruta) override {
        std::error_code ec;
        const auto estado = std::filesystem::status(ruta, ec);
        if (ec || !std::filesystem::exists(estado)) return Entrada::Ninguna;
        if (std::filesystem::is_regular_file(estado)) return Entrada::Archivo;
        if (std::filesystem::is_directory(estado)) return Entrada::Carpeta;
        return Entrada::Otra;
    }
    std::filesystem::path nombreEnCarpeta(const std::filesystem::path& ruta) override {
        return sistema::nombreEnCarpeta(ruta);
    }
    std::optional<std::uintmax_t> tamano(const std::filesystem::path& ruta) override {
        std::error_code ec;
        const auto bytes = std::filesystem::file_size(ruta, ec);
        if (ec) return std::nullopt;
        return bytes;
    }
    std::optional<std::filesystem::file_time_type>
    modificado(const std::filesystem::path& ruta) override {
        std::error_code ec;
        const auto cuando = std::filesystem::last_write_time(ruta, ec);
        if (ec) return std::nullopt;
        return cuando;
    }
    std::filesystem::path carpetaTemporal() override {
        return std::filesystem::temp_directory_path();
    }
    bool crearCarpetas(const std::filesystem::path& carpeta, std::error_code& error) override {
        std::filesystem::create_directories(carpeta, error);
        return !error;
    }

    Mapeo mapear(const std::filesystem::path& ruta, Mapeo::Acceso acceso) override {
        return Mapeo(ruta, acceso);
    }
    std::optional<Mapeo> mapearAbierto(const sistema::Archivo& archivo) override {
        return Mapeo::deAbierto(archivo);
    }
    sistema::Archivo::Lectura leerTodo(const sistema::Archivo& archivo,
                                       std::string& datos) override {
        return archivo.leerTodo(datos);
    }
    bool leerArchivo(const std::filesystem::path& ruta, std::string& datos) override {
        std::ifstream f(ruta, std::ios::binary);
        std::ostringstream s;
        s << f.rdbuf();
        if (!f) return false;
        datos = s.str();
        return true;
    }
};

} // namespace

Disco& discoDelSistema() {
    static DiscoDelSistema disco;
    return disco;
}

} // namespace pontavia
