#pragma once
// The one door into Pontavia's core, for every front end (the windows, pontavia-cli): the
// only header of the core a front end includes. A front end starts a run with correr() and
// shows the end it gets back (fin_de_corrida.h), made once for all of them. Every fault, a
// missing input too, is raised as pontavia::Error (error_publico.h): its kind, where, and its
// Spanish sentence ready for the user. Nothing here asks the user anything or knows how it is
// shown. What a run reads, writes, moves, removes or holds goes through the Disco it is given:
// the system's own unless a test hands in another.
#include "ascii.h"
#include "error_publico.h"
#include "fin_de_corrida.h"
#include "informe_leido.h"

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

// The runs themselves, each raising an Error when it cannot end (its input missing too): the
// report it made goes to informe in either case. correr() is how a front end starts them.
// VELMORA's XML file into Tamberlo's six tables in the folder ktemp (made when missing),
// with the report beside them.
void exportar(const std::filesystem::path& xml, const std::filesystem::path& ktemp,
              InformeLeido& informe, Disco& disco = discoDelSistema());
// exportar's dry run: only the report, with what it would change in the tables of Tamberlo's
// folder (carpetaKTEMP()) now; nothing written.
void comprobar(const std::filesystem::path& xml, InformeLeido& informe,
               Disco& disco = discoDelSistema());
// Tamberlo's timetable (SOLUC in ktemp) into a new XML file beside xml, the report in ktemp.
void importar(const std::filesystem::path& xml, const std::filesystem::path& ktemp,
              InformeLeido& informe, Disco& disco = discoDelSistema());

// The tables the last exportar replaced, put back into ktemp: first a line naming the export
// they came from, then one line per table saying what became of it. With no set kept, or one
// whose record is missing or damaged or that lacks a table it lists, an error says so.
std::vector<std::string> restaurar(const std::filesystem::path& ktemp,
                                   Disco& disco = discoDelSistema());

// Tamberlo's folder: $PONTAVIA_KTEMP, or /KTEMP (\KTEMP at the root of the current drive on
// Windows). The runs make it when they need it and it is missing.
std::filesystem::path carpetaKTEMP();
// Where that folder is when PONTAVIA_KTEMP names none, as the help tells the user.
std::string descripcionCarpetaKTEMP();

// Tamberlo's status file: one entry set, every other byte as it was, written atomically.
// Raises "Unable to write to %s" (the file's full path) when the file cannot be written.
void escribirEntradaIni(const std::filesystem::path& archivo, const std::string& seccion,
                        const std::string& clave, const std::string& valor,
                        Disco& disco = discoDelSistema());

// A file of the front end's own (the report as CSV), which appears whole or not at all.
void escribirArchivoEntero(const std::filesystem::path& destino, std::string_view datos,
                           Disco& disco = discoDelSistema());

// A dBase table named the way a user names it (a path to it, or a name in ktemp, ".DBF" added
// when it has no extension, found whatever its case), as CSV (RFC 4180: a header row of field
// names, then one row per live record, CRLF line ends), or its layout. A table the user named by a
// path outside ktemp is spoken of as that file, not as one of Tamberlo's.
void mostrarTablaCSV(const std::string& tabla, const std::filesystem::path& ktemp,
                     std::ostream& salida, Disco& disco = discoDelSistema());
void mostrarEstructuraTabla(const std::string& tabla, const std::filesystem::path& ktemp,
                            std::ostream& salida, Disco& disco = discoDelSistema());
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
void guardarInforme(const InformeLeido& informe, const std::filesystem::path& archivo,
                    Disco& disco = discoDelSistema());
// The newer of the two reports in ktemp; empty when there is neither.
std::filesystem::path ultimoInforme(const std::filesystem::path& ktemp,
                                    Disco& disco = discoDelSistema());

} // namespace pontavia
