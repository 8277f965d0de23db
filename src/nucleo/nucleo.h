#pragma once
// The one door into Pontavia's core, for every front end (the windows, pontavia-cli): the
// only header of the core a front end includes. Each run takes its files, fills the report
// it is given, and says what happened. Errors are raised as pontavia::Error (error.h): its
// kind, its place, and its Spanish sentence ready for the user; the front end shows the
// sentence, and may act on the kind. Nothing here asks the user anything or knows how it is
// shown. What a run reads, writes, moves, removes or holds goes through the Disco it is given:
// the system's own unless a test hands in another.
#include "error.h"
#include "informe.h"

#include <cstdint>
#include <filesystem>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

namespace pontavia {

// The disk the runs use; a front end only passes it on (see disco.h inside the core).
class Disco;
Disco& discoDelSistema();

// How a run that raised no error ended.
enum class Resultado {
    Hecho,        // the run did its work
    FaltaEntrada, // its input is not there; nothing was done
};

// VELMORA's XML file into Tamberlo's six tables in the folder ktemp (made when missing),
// with the report beside them. FaltaEntrada when xml is not a file.
Resultado exportar(const std::filesystem::path& xml, const std::filesystem::path& ktemp,
                   Informe& informe, Disco& disco = discoDelSistema());

// exportar's dry run: only the report, with what it would change in the tables of Tamberlo's
// folder (carpetaKTEMP()) now; nothing written. FaltaEntrada when xml is not a file.
Resultado comprobar(const std::filesystem::path& xml, Informe& informe,
                    Disco& disco = discoDelSistema());

// Tamberlo's timetable (SOLUC in ktemp) into a new XML file beside xml, the report in ktemp.
// FaltaEntrada when either is missing.
Resultado importar(const std::filesystem::path& xml, const std::filesystem::path& ktemp,
                   Informe& informe, Disco& disco = discoDelSistema());

// The tables the last exportar replaced, put back into ktemp: first a line naming the export
// they came from, then one line per table saying what became of it. With no set kept, or one
// whose record is missing or damaged or that lacks a table it lists, an error says so.
std::vector<std::string> restaurar(const std::filesystem::path& ktemp,
                                   Disco& disco = discoDelSistema());

// Said before the program's own words when a run's input is not there ("No existe archivo",
// "No existe archivo XML o Solución."): which file is missing, what to do, and that nothing
// was changed. For importar, ktemp is where SOLUC is looked for; empty for exportar.
std::string queFalta(const std::filesystem::path& xml, const std::filesystem::path& ktemp = {},
                     Disco& disco = discoDelSistema());

// Tamberlo's folder: $PONTAVIA_KTEMP, or /KTEMP (\KTEMP at the root of the current drive on
// Windows). The runs make it when they need it and it is missing.
std::filesystem::path carpetaKTEMP();

// Tamberlo's status file: one entry set, every other byte as it was, written atomically.
// Raises "Unable to write to %s" (the file's full path) when the file cannot be written.
void escribirEntradaIni(const std::filesystem::path& archivo, const std::string& seccion,
                        const std::string& clave, const std::string& valor,
                        Disco& disco = discoDelSistema());

// A file of the front end's own (the report as CSV), which appears whole or not at all.
void escribirArchivoEntero(const std::filesystem::path& destino, std::string_view datos,
                           Disco& disco = discoDelSistema());

// A dBase table named the way a user names it: a path to it, or a name in ktemp (".DBF"
// added when it has no extension, found whatever its case). Raises when there is none.
std::filesystem::path buscarTabla(const std::string& tabla, const std::filesystem::path& ktemp,
                                  Disco& disco = discoDelSistema());
// The table as CSV (RFC 4180: a header row of field names, then one row per live record,
// CRLF line ends), or its layout.
void mostrarTablaCSV(const std::filesystem::path& tabla, std::ostream& salida,
                     Disco& disco = discoDelSistema());
void mostrarEstructuraTabla(const std::filesystem::path& tabla, std::ostream& salida,
                            Disco& disco = discoDelSistema());
// The tables exportar writes, one name a line, in their order: the list scripts go through.
void mostrarTablasExportadas(std::ostream& salida);

// Whether a regular file (or a link to one) exists at ruta; the empty path never does.
bool existeArchivo(const std::filesystem::path& ruta, Disco& disco = discoDelSistema());
// The folder of the running executable, where the help file lies beside it.
std::filesystem::path carpetaDelEjecutable();

// The process as a front end sets it up, on every system.
// The path that UTF-8 text names (Windows names files in UTF-16).
std::filesystem::path rutaDeTexto(std::string_view utf8);
// A path as the user reads it: UTF-8 on every system.
std::string textoDeRuta(const std::filesystem::path& ruta);
// The command line's arguments in UTF-8, whatever the system's own encoding of them.
std::vector<std::string> argumentosEnUtf8(int argc, char** argv);
// Standard output and error as they are written: UTF-8, and line ends as given.
void prepararConsola();
// The memory allocator set up for a run over the input file entrada, before the run does
// anything (argv as main got it); nothing when entrada cannot be measured.
void prepararMemoria(char** argv, const std::filesystem::path& entrada,
                     Disco& disco = discoDelSistema());

// Whether ktemp holds a move of tables that a run cut off left begun, some tables new and
// some old until the next exportar, importar or restaurar finishes it. Changes nothing.
bool movimientoInterrumpido(const std::filesystem::path& ktemp, Disco& disco = discoDelSistema());

// What restaurar would put back, in its lines, with nothing changed: what a front end names
// before it asks the user to confirm. With no set kept, an error says so.
std::vector<std::string> planRestaurar(const std::filesystem::path& ktemp,
                                       Disco& disco = discoDelSistema());

// Where the runs leave what they write, for a front end to show: exportar's report and
// importar's, each in ktemp, and importar's result beside the VELMORA file xml.
std::filesystem::path informeDeExportar(const std::filesystem::path& ktemp,
                                        Disco& disco = discoDelSistema());
std::filesystem::path informeDeImportar(const std::filesystem::path& ktemp,
                                        Disco& disco = discoDelSistema());
// Where the dry run started from the window leaves its report: the temporary folder, since
// it has no place in ktemp.
std::filesystem::path informeDeComprobar(Disco& disco = discoDelSistema());
std::filesystem::path resultadoDeImportar(const std::filesystem::path& xml);
// The report as the Tamberlo folder's file holds it, written whole into archivo (the dry
// run's, which has no place in ktemp).
void guardarInforme(const Informe& informe, const std::filesystem::path& archivo,
                    Disco& disco = discoDelSistema());
// The newer of the two reports in ktemp; empty when there is neither.
std::filesystem::path ultimoInforme(const std::filesystem::path& ktemp,
                                    Disco& disco = discoDelSistema());

} // namespace pontavia
