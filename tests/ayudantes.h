#pragma once
// What the tests share: a Tamberlo folder of their own, small files, tables read back as rows,
// how a run through the core's door ended, and the command-line front end. Only the core is
// needed here; the windows the front ends' tests play are in ventanas_de_prueba.h.
#include "error.h"
#include "informe.h"
#include "nucleo.h"
#include "tabla_dbase.h"
#include "tabla_de_prueba.h"

#include <filesystem>
#include <map>
#include <string>
#include <type_traits>
#include <vector>

namespace pontavia::prueba {

namespace fs = std::filesystem;

// A fresh temporary folder that PONTAVIA_KTEMP points to while the object lives.
class KTEMPTemporal {
  public:
    KTEMPTemporal();
    ~KTEMPTemporal();
    const fs::path& ruta() const { return ruta_; }
    fs::path operator/(const std::string& nombre) const { return ruta_ / nombre; }

  private:
    fs::path ruta_;
};

// A temporary folder removed with the object.
class CarpetaTemporal {
  public:
    CarpetaTemporal();
    ~CarpetaTemporal();
    const fs::path& ruta() const { return ruta_; }
    fs::path operator/(const std::string& nombre) const { return ruta_ / nombre; }

  private:
    fs::path ruta_;
};

// Switches the regional settings for one test: the process locale (on Windows, the thread's,
// whose formats the program takes; "es_ES.UTF-8" and "C" name es-ES and the invariant one).
class LocaleTemporal {
  public:
    explicit LocaleTemporal(const char* nombre);
    ~LocaleTemporal();

  private:
    std::string anterior_;
    unsigned long hiloAnterior_ = 0;
};

// Sets an environment variable (UTF-8) for this process and the programs it starts; empty
// removes it.
void fijarVariable(const char* nombre, const std::string& valor);

// A school's folder as a secretary names it, holding the sample school's centro.xml, and
// Tamberlo's with an ñ too, named by PONTAVIA_KTEMP while the object lives.
class CarpetasConEspaciosYEnes {
  public:
    CarpetasConEspaciosYEnes();
    ~CarpetasConEspaciosYEnes();
    const fs::path& datos() const { return datos_; }
    const fs::path& ktemp() const { return ktemp_; }

  private:
    CarpetaTemporal tmp_;
    fs::path datos_;
    fs::path ktemp_;
};

// Another program (Tamberlo) holding a table for as long as the object lives, or for the
// milliseconds given from the moment it holds it: flock(1) on POSIX, a small Windows program
// that opens it with no sharing and locks it on Windows.
class TablaRetenida {
  public:
    explicit TablaRetenida(const fs::path& tabla, int milisegundos = 60'000);
    ~TablaRetenida();
    TablaRetenida(const TablaRetenida&) = delete;
    TablaRetenida& operator=(const TablaRetenida&) = delete;

  private:
#ifdef _WIN32
    void* proceso_ = nullptr;
#else
    int pid_ = -1;
    fs::path tabla_;
#endif
};

void escribirArchivo(const fs::path& ruta, const std::string& bytes);
std::string leerArchivo(const fs::path& ruta);

using Fila = std::map<std::string, std::string>;
// Every live record of a table, each field read as text.
std::vector<Fila> leerTabla(const fs::path& ruta);
// The field names of a table in their order.
std::vector<std::string> camposDe(const fs::path& ruta);
// One column of every live record.
std::vector<std::string> columna(const fs::path& ruta, const std::string& campo);

// Every file below a folder with its bytes, to prove that nothing changed.
std::map<std::string, std::string> instantanea(const fs::path& carpeta);
// Puts carpeta back as a snapshot holds it: what it holds now goes first.
void reponer(const fs::path& carpeta, const std::map<std::string, std::string>& foto);
// A snapshot without the report's date and the set's moment of export: two runs at different
// moments write the same report and record otherwise.
std::map<std::string, std::string> sinFecha(std::map<std::string, std::string> foto);
// The tables (.DBF) directly in a folder, with their bytes.
std::map<std::string, std::string> tablasEn(const fs::path& carpeta);

// The tables exportar writes, in its order, as Tamberlo's tables are described.
std::vector<std::string> nombresExportados();

// A VELMORA document (UTF-8) whose centro holds the given inner XML.
std::string documento(const std::string& interior);

// How a run through the core's door ended, as one text to compare: "" when it did its work,
// kFaltaEntrada when its input was missing, or the message of the pontavia::Error it raised
// (what the user reads).
inline constexpr const char* kFaltaEntrada = "(falta la entrada)";
template <typename Corrida> std::string desenlace(Corrida&& corrida) {
    try {
        corrida();
        return "";
    } catch (const Error& e) {
        return e.faltaEntradaDeCorrida() ? kFaltaEntrada : e.what();
    }
}

// A dBase table byte by byte, as other tools write it: dBase III (version 0x03), level 7
// (0x04) or Visual FoxPro (0x30, with its 263 bytes after the field list). Each record string
// starts with its deletion flag; cuentaCabecera < 0 gives the real number of records. A text
// field wider than 255 keeps its high byte in decimales.
struct CampoBytes {
    std::string nombre;
    char tipo;
    int ancho;
    int decimales = 0;
    std::uint8_t banderas = 0; // Visual FoxPro: 0x01 hidden system field, 0x02 may be NULL
};
std::string tablaBytes(std::uint8_t version, const std::vector<CampoBytes>& campos,
                       const std::vector<std::string>& registros, std::uint8_t idioma = 0x57,
                       long cuentaCabecera = -1, const std::string& driver = "");

#ifndef _WIN32
// While it lives, the process acts as a user without rights over what it does not own:
// when the tests run as root, who writes anywhere, it takes the identity of user nobody.
// POSIX only: Windows' rights are not a file's mode bits (Wine ignores read-only ones).
class ComoOtroUsuario {
  public:
    ComoOtroUsuario();
    ~ComoOtroUsuario();
    ComoOtroUsuario(const ComoOtroUsuario&) = delete;
    ComoOtroUsuario& operator=(const ComoOtroUsuario&) = delete;

  private:
    bool cambiado_ = false;
};
#endif

// Runs a program with the arguments (UTF-8, none through a shell) and waits for it to end:
// its exit code, or -1 when it did not start or did not exit.
int ejecutarPrograma(const std::string& programa, const std::vector<std::string>& argumentos);

struct ResultadoCLI {
    int codigo = 0;
    std::string salida;
    std::string errores;
};
// Runs pontavia-cli with the arguments (each quoted for the shell) and the current environment.
ResultadoCLI ejecutarCLI(const std::vector<std::string>& argumentos);

// One item of a report, read back from its CSV: the report keeps no items, only their text.
struct AvisoLeido {
    std::string tabla, tipo, elemento, campo, valor, resultado, motivo;
};
std::vector<AvisoLeido> avisosLeidos(const InformeLeido& informe);

} // namespace pontavia::prueba
