#pragma once
// How a run ends, told once for every front end: the window's box and pontavia-cli's output
// are both made here, from the same facts, so that what the timetabler reads, what Tamberlo's
// status becomes and what a script's exit code says cannot drift apart.
#include "error_publico.h"
#include "informe_leido.h"

#include <filesystem>
#include <string>

namespace pontavia {

class Disco;
Disco& discoDelSistema();

// The runs a front end starts.
enum class Corrida {
    Exportar,  // VELMORA's file into Tamberlo's tables
    Importar,  // Tamberlo's timetable into a new VELMORA file
    Comprobar, // exportar's dry run: the report, nothing written
};

// What a box tells, and so the icon it carries: one rule for every box of every window.
enum class Gravedad {
    Informacion, // a run done with nothing lost, a task's answer, nothing to undo
    Aviso,       // a run done with items lost or a warning; a run's input missing
    Error,       // a run refused or failed
};
// The weight of a fault of this kind outside a run (restaurar, the status file).
Gravedad gravedadDe(ClaseError clase);

// What importar says before its file dialog (and pontavia-cli before the run): which file to
// choose.
inline constexpr const char* kRecordatorioImportar =
    "Deberá Abrir el fichero XML de VELMORA,\r\ndesde el cual realizó la Importación a Tamberlo";

class FinDeCorrida;

// Runs corrida on VELMORA's file xml with Tamberlo's folder (carpetaKTEMP()), and tells how it
// ended; it never raises. The dry run writes nothing: a front end that keeps its report does
// so with guardarInforme, at archivoInforme().
FinDeCorrida correr(Corrida corrida, const std::filesystem::path& xml,
                    Disco& disco = discoDelSistema());

class FinDeCorrida {
  public:
    enum class Como {
        Hecha,        // the run did its work
        FaltaEntrada, // its input (VELMORA's file, Tamberlo's timetable) is not there
        Fallida,      // refused or failed: nothing was changed
    };

    Corrida corrida() const { return corrida_; }
    Como como() const { return como_; }
    // What a window shows in the box that ends the run: a run done, its first line ("Proceso
    // finalizado", or the dry run's), the warnings, the rows, the items and where the report
    // and the result are; otherwise what is wrong and what to do.
    std::string textoCaja() const;
    // What pontavia-cli writes: a run done, for standard output (for the dry run, the whole
    // report); otherwise the same message as the box, for standard error.
    std::string textoConsola() const;
    // The icon of the box that tells it.
    Gravedad gravedad() const;
    // The kind of fault of a run not done, from which a script's exit code follows.
    ClaseError clase() const { return clase_; }
    // The report the run made (as far as it got), and where it lies.
    const InformeLeido& informe() const { return informe_; }
    const std::filesystem::path& archivoInforme() const { return archivoInforme_; }

  private:
    explicit FinDeCorrida(Corrida corrida) : corrida_(corrida) {}
    friend FinDeCorrida correr(Corrida, const std::filesystem::path&, Disco&);

    Corrida corrida_;
    Como como_ = Como::Hecha;
    ClaseError clase_ = ClaseError::Interna;
    std::string mensaje_; // a run not done: the user's message
    InformeLeido informe_;
    std::filesystem::path archivoInforme_;
    std::filesystem::path resultado_;     // importar's new XML file
    std::filesystem::path ktemp_;         // Tamberlo's folder the run used
    bool movimientoInterrumpido_ = false; // the dry run found a cut-off move in ktemp
};

} // namespace pontavia
