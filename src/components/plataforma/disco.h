#pragma once
// The disk as a run uses it: what it finds and reads, the files it makes, writes, flushes,
// moves and removes, the folders it makes and clears, the tables it holds, all go through one
// Disco handed in by the front end; nothing else in the core touches a file. The system's own
// is discoDelSistema(); a test hands in one that fails on demand.
#include "mapeo.h"
#include "sistema.h"

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <system_error>
#include <vector>

namespace pontavia {

// Each operation returns what the system call would and leaves the last error set
// (sistema::ultimoError) when it fails; raising the error is the caller's part.
class Disco {
  public:
    virtual ~Disco() = default;

    // A new empty file for writing beside destino, under a hidden unique name (in creado).
    virtual sistema::Archivo crearJunto(const std::filesystem::path& destino,
                                        std::filesystem::path& creado) = 0;
    // Writes up to n bytes; how many went, or -1.
    virtual long long escribir(sistema::Archivo& archivo, const char* datos, std::size_t n) = 0;
    // What was written through archivo is safe on disk.
    virtual bool vaciar(sistema::Archivo& archivo) = 0;
    virtual bool cerrar(sistema::Archivo& archivo) = 0;
    // The file at ruta, written earlier and closed, is safe on disk.
    virtual bool vaciarArchivo(const std::filesystem::path& ruta) = 0;
    // The names in carpeta, as renames left them, are safe on disk.
    virtual bool vaciarEntradas(const std::filesystem::path& carpeta) = 0;

    virtual bool reemplazar(const std::filesystem::path& desde,
                            const std::filesystem::path& hasta) = 0;
    virtual bool borrar(const std::filesystem::path& ruta) = 0;
    // A second name for an existing file (sistema::enlazar).
    virtual bool enlazar(const std::filesystem::path& existente,
                         const std::filesystem::path& nuevo) = 0;
    virtual bool borrarCarpeta(const std::filesystem::path& carpeta) = 0; // and all it holds
    // Removes ruta unless a live run holds it (sistema::retirarSiAbandonado).
    virtual void retirarSiAbandonado(const std::filesystem::path& ruta) = 0;
    // The hold a live run keeps on a folder it has just made (sistema::retenerEnUso); not open
    // when another run holds it or has removed it meanwhile.
    virtual sistema::Archivo retenerEnUso(const std::filesystem::path& carpeta) = 0;
    // The hold of a killed run's folder (sistema::retenerAbandonada); not open when a live
    // run holds it.
    virtual sistema::Archivo retenerAbandonada(const std::filesystem::path& carpeta) = 0;

    virtual bool crearCarpeta(const std::filesystem::path& carpeta) = 0;
    // A new folder inside base named prefijo and a unique ending; empty on failure.
    virtual std::filesystem::path crearCarpetaUnica(const std::filesystem::path& base,
                                                    std::string_view prefijo) = 0;
    // The entries of carpeta, in the system's order.
    virtual bool listar(const std::filesystem::path& carpeta,
                        std::vector<std::filesystem::path>& entradas) = 0;

    // A table opened for exclusive use (sistema::abrirExclusivo).
    virtual sistema::Archivo abrirExclusivo(const std::filesystem::path& ruta,
                                            sistema::Retencion& resultado) = 0;

    // What there is at a path, links followed; Ninguna too when that cannot be known.
    enum class Entrada { Ninguna, Archivo, Carpeta, Otra };
    virtual Entrada examinar(const std::filesystem::path& ruta) = 0;
    // An existing entry's path with its name as the folder spells it (sistema::nombreEnCarpeta).
    virtual std::filesystem::path nombreEnCarpeta(const std::filesystem::path& ruta) = 0;
    // A file's size in bytes; nothing when it cannot be known.
    virtual std::optional<std::uintmax_t> tamano(const std::filesystem::path& ruta) = 0;
    // When a file was last written; nothing when it cannot be known.
    virtual std::optional<std::filesystem::file_time_type>
    modificado(const std::filesystem::path& ruta) = 0;
    // The folder for temporary files; raises std::filesystem::filesystem_error when there is
    // none.
    virtual std::filesystem::path carpetaTemporal() = 0;
    // The folder and those above it, where missing; the system's error in error otherwise.
    virtual bool crearCarpetas(const std::filesystem::path& carpeta, std::error_code& error) = 0;

    // A file's bytes mapped into memory (Mapeo); raises as Mapeo does when the file cannot be
    // opened or read.
    virtual Mapeo mapear(const std::filesystem::path& ruta, Mapeo::Acceso acceso) = 0;
    // A read-only view of a table held open (Mapeo::deAbierto); nothing when the system gives
    // none, and the table is read instead.
    virtual std::optional<Mapeo> mapearAbierto(const sistema::Archivo& archivo) = 0;
    // The whole of a file held open (sistema::Archivo::leerTodo).
    virtual sistema::Archivo::Lectura leerTodo(const sistema::Archivo& archivo,
                                               std::string& datos) = 0;
    // The whole of the file at ruta; false when it cannot be read.
    virtual bool leerArchivo(const std::filesystem::path& ruta, std::string& datos) = 0;
};

// The running system's disk: the one every front end hands in unless told otherwise. A
// move, removal, second name or flush of a file, and the opening of a table, that another
// program's moment's hold makes fail are tried again for about a second.
Disco& discoDelSistema();

} // namespace pontavia
