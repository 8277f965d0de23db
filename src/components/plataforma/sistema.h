#pragma once
// The operating system as the core uses it: files, folders, locks, the locale. One
// implementation per system (sistema_posix.cpp, sistema_win32.cpp); nothing else in the core
// makes a system call. Text is UTF-8 on every system, paths included.
#include <cstddef>
#include <cstdint>
#include <ctime>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace pontavia::sistema {

namespace fs = std::filesystem;

// The path that UTF-8 text names. Windows names files in UTF-16 and would read a narrow string
// in the ANSI code page; path::string() already gives UTF-8 back on both systems.
fs::path ruta(std::string_view utf8);

// The code of the last failure (errno, or Windows' last error) and its text.
int ultimoError();
std::string textoError(int codigo);
// The codes of a full disk and of a failing device, for the test seams that fake them.
int errorDiscoLleno();
int errorEntradaSalida();
void fijarError(int codigo);
// Whether a failure with that code comes from another program holding the file for the
// moment (a sharing or lock violation on Windows, a busy file on POSIX): worth a retry.
bool enUsoPorOtro(int codigo);

// An open file of the program's own, closed with the object.
class Archivo {
  public:
#ifdef _WIN32
    using Nativo = void*; // a HANDLE
#else
    using Nativo = int;
#endif
    Archivo() = default;
    explicit Archivo(Nativo nativo) : nativo_(nativo) {}
    ~Archivo();
    Archivo(Archivo&& otro) noexcept;
    Archivo& operator=(Archivo&& otro) noexcept;
    Archivo(const Archivo&) = delete;
    Archivo& operator=(const Archivo&) = delete;

    bool abierto() const;
    Nativo nativo() const {
        return nativo_;
    }
    // Writes up to n bytes; how many went, or -1 on failure.
    long long escribir(const char* datos, std::size_t n);
    // Waits until what was written is safe on disk.
    bool vaciar();
    bool cerrar();

    // How reading the whole file ended.
    enum class Lectura { Leido, NoEsArchivo, Fallo };
    Lectura leerTodo(std::string& datos) const;

  private:
    Nativo nativo_ = kCerrado;
#ifdef _WIN32
    static inline const Nativo kCerrado = reinterpret_cast<Nativo>(-1); // INVALID_HANDLE_VALUE
#else
    static constexpr Nativo kCerrado = -1;
#endif
};

// A new empty file for writing beside destino, hidden, under a name no other file has (given
// in creado); not open on failure.
Archivo crearJunto(const fs::path& destino, fs::path& creado);

// How opening a table for exclusive use ended.
enum class Retencion { Tomada, EnUso, NoAbre, NoBloquea };
// Opens ruta for reading, with no other program able to write it while the file stays open.
// EnUso when another program has it: Tamberlo keeps its tables open while it runs.
Archivo abrirExclusivo(const fs::path& ruta, Retencion& resultado);

// Gives desde the name hasta in one step, replacing the file there: the file at hasta is the
// old one or the new one, never neither. Folders move too (onto no existing name).
bool reemplazar(const fs::path& desde, const fs::path& hasta);
bool borrar(const fs::path& ruta);
// Gives the file at existente the second name nuevo (a hard link); false where the file
// system has no such names.
bool enlazar(const fs::path& existente, const fs::path& nuevo);
// Removes a folder and all it holds.
bool borrarCarpeta(const fs::path& carpeta);
// An existing entry's path with its name as the folder spells it: Windows finds soluc.dbf by
// the name SOLUC.DBF too.
fs::path nombreEnCarpeta(const fs::path& ruta);
// A new folder inside base named prefijo and a unique ending; empty on failure.
fs::path crearCarpetaUnica(const fs::path& base, std::string_view prefijo);
bool crearCarpeta(const fs::path& carpeta);
// Waits until the file at ruta, written and closed earlier, is safe on disk.
bool vaciarArchivo(const fs::path& ruta);
// Waits until the names in carpeta, as the last renames left them, are safe on disk.
bool vaciarEntradas(const fs::path& carpeta);

// What a killed run left (a temporary file, a staging folder) is told from what a live run is
// using by a hold that the live run keeps on it and that the system drops when the process
// ends, however it ends: a lock on POSIX, a handle that shares no deletion on Windows.
// Takes that hold on abierto, open on what was just made at ruta; it lives in the object
// returned, which is not open when another run holds it or has removed it meanwhile.
Archivo retenerEnUso(const Archivo& abierto, const fs::path& ruta);
// A folder opened so that it can be held; not open on failure.
Archivo abrirCarpeta(const fs::path& carpeta);
// Removes ruta, a file or a folder with all it holds, unless a live run holds it. A link is
// never followed.
void retirarSiAbandonado(const fs::path& ruta);
// The hold of a killed run's folder, taken so that its work can be finished before it goes;
// not open when a live run holds it. Files inside it can still be moved while it is held.
Archivo retenerAbandonada(const fs::path& carpeta);

// Tamberlo's folder when PONTAVIA_KTEMP does not name another: \KTEMP at the root of the
// current drive on Windows, /KTEMP elsewhere.
fs::path carpetaKTEMPPredeterminada();
// That folder as the help describes it to the user.
const char* descripcionCarpetaKTEMP();
// The value of an environment variable in UTF-8; empty when unset.
std::string variableEntorno(const char* nombre);
// The folder of the running executable.
fs::path carpetaDelEjecutable();
// The current date and time on the local clock.
std::tm ahoraLocal();
// The current date and time in the regional formats (the locale's D_FMT and T_FMT; on
// Windows the short date and the time of the thread's locale, the user's own by default).
std::string fechaHoraLocal();
// The decimal separator of the same locale.
char separadorDecimal();

// The command line's arguments in UTF-8, whatever the system's own encoding of them.
std::vector<std::string> argumentos(int argc, char** argv);
// The memory allocator set up for a run over an input of that many bytes, before the run
// does anything (argv as main got it): for a large school, on Linux, the process starts itself
// again, once, to do so.
void prepararMemoria(char** argv, std::uintmax_t bytesEntrada);
// Standard output and error as they are written: UTF-8, and line ends as given (a CSV's CRLF
// stays CRLF on Windows); on a Windows console, the same text as the console shows it.
void prepararConsola();

} // namespace pontavia::sistema
