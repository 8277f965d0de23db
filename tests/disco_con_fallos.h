#pragma once
// A disk that fails on demand, for the tests of every path that reads or writes: the k-th
// operation of any kind fails as on a failing device (a read half-way through), and every
// write fails as on a full disk once a number of bytes has been written in all. Looking at
// what a path holds never fails. Everything else goes to the system's disk.
#include "disco.h"

#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace pontavia::prueba {

class DiscoConFallos final : public Disco {
  public:
    // The exit code of a process that terminarEnPaso ended.
    static constexpr int kTerminado = 77;

    // Fails the k-th operation, counting from 1 from now on; 0 fails none and only counts.
    void fallarEnPaso(std::size_t k);
    // Ends the process at the k-th operation, counting from 1 from now on, before it is done
    // and without any clean-up (no destructor runs), as a power cut or a killed process would.
    void terminarEnPaso(std::size_t k);
    // Every write fails once this many bytes have been written in all, from now on.
    void limitarEscritura(std::size_t bytes);
    // A table held open gives no view of its pages, as on a system that maps none: it is read.
    void sinVistas() { sinVistas_ = true; }
    std::size_t pasos() const { return pasos_; } // taken since fallarEnPaso

    // Every operation asked for, in order: its name, the path it names (none for those on an
    // open file) and, for a rename, where to.
    struct Operacion {
        std::string nombre;
        std::filesystem::path ruta;
        std::filesystem::path hasta;
    };
    const std::vector<Operacion>& registro() const { return registro_; }
    // Called with each operation before it is done, to stage what another program does then.
    std::function<void(const Operacion&)> antesDe;

    sistema::Archivo crearJunto(const std::filesystem::path& destino,
                                std::filesystem::path& creado) override;
    long long escribir(sistema::Archivo& archivo, const char* datos, std::size_t n) override;
    bool vaciar(sistema::Archivo& archivo) override;
    bool cerrar(sistema::Archivo& archivo) override;
    bool vaciarArchivo(const std::filesystem::path& ruta) override;
    bool vaciarEntradas(const std::filesystem::path& carpeta) override;
    bool reemplazar(const std::filesystem::path& desde,
                    const std::filesystem::path& hasta) override;
    bool borrar(const std::filesystem::path& ruta) override;
    bool enlazar(const std::filesystem::path& existente,
                 const std::filesystem::path& nuevo) override;
    bool borrarCarpeta(const std::filesystem::path& carpeta) override;
    void retirarSiAbandonado(const std::filesystem::path& ruta) override;
    sistema::Archivo retenerEnUso(const std::filesystem::path& carpeta) override;
    sistema::Archivo retenerAbandonada(const std::filesystem::path& carpeta) override;
    bool crearCarpeta(const std::filesystem::path& carpeta) override;
    std::filesystem::path crearCarpetaUnica(const std::filesystem::path& base,
                                            std::string_view prefijo) override;
    bool listar(const std::filesystem::path& carpeta,
                std::vector<std::filesystem::path>& entradas) override;
    sistema::Archivo abrirExclusivo(const std::filesystem::path& ruta,
                                    sistema::Retencion& resultado) override;
    Entrada examinar(const std::filesystem::path& ruta) override;
    std::filesystem::path nombreEnCarpeta(const std::filesystem::path& ruta) override;
    std::optional<std::uintmax_t> tamano(const std::filesystem::path& ruta) override;
    std::optional<std::filesystem::file_time_type>
    modificado(const std::filesystem::path& ruta) override;
    std::filesystem::path carpetaTemporal() override;
    bool crearCarpetas(const std::filesystem::path& carpeta, std::error_code& error) override;
    Mapeo mapear(const std::filesystem::path& ruta, Mapeo::Acceso acceso) override;
    std::optional<Mapeo> mapearAbierto(const sistema::Archivo& archivo) override;
    sistema::Archivo::Lectura leerTodo(const sistema::Archivo& archivo,
                                       std::string& datos) override;
    bool leerArchivo(const std::filesystem::path& ruta, std::string& datos) override;

  private:
    // Whether the next operation goes through; when not, the last error is an I/O error.
    bool paso(const char* nombre, const std::filesystem::path& ruta = {},
              const std::filesystem::path& hasta = {});

    Disco& sistema_ = discoDelSistema();
    std::size_t pasos_ = 0;
    std::size_t pasoQueFalla_ = 0;
    std::size_t pasoQueTermina_ = 0;
    std::optional<std::size_t> restantes_; // bytes the disk still takes
    bool sinVistas_ = false;
    std::vector<Operacion> registro_;
};

} // namespace pontavia::prueba
