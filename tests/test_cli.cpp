// pontavia-cli end to end: exit codes, messages, mostrar, the sample school read back by an
// independent dBase reader and against the expected files in tests/esperado.
#include "ayudantes.h"
#include "informe.h"
#include "preparacion.h"
#include "procedencia_de_prueba.h"
#include "tabla_dbase.h"
#include "tabla_de_prueba.h"

#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <gtest/gtest.h>
#include <optional>
#include <pugixml.hpp>
#include <set>
#include <sstream>
#ifndef _WIN32
#include <csignal>
#include <sys/wait.h>
#include <unistd.h>
#endif

using namespace pontavia::prueba;
using pontavia::kNombreInforme;

TEST(CLI, ExportarSusCodigosDeSalida) {
    KTEMPTemporal ktemp;
    CarpetaTemporal datos;
    auto r = ejecutarCLI({"exportar", (datos / "no-existe.xml").string()});
    EXPECT_EQ(r.codigo, 2);
    EXPECT_EQ(r.salida, "");
    EXPECT_EQ(r.errores, "No se encuentra el archivo de VELMORA " +
                             (datos / "no-existe.xml").string() +
                             ": elija el archivo XML que exportó VELMORA. No se ha cambiado "
                             "nada.\n\nNo existe archivo\n");

    escribirArchivo(datos / "vacio.xml", documento(""));
    r = ejecutarCLI({"exportar", (datos / "vacio.xml").string()});
    EXPECT_EQ(r.codigo, 0);
    EXPECT_EQ(r.salida.rfind("Proceso finalizado\n\nResumen del informe:\n", 0), 0u) << r.salida;
    const auto antes = instantanea(ktemp.ruta());
    EXPECT_EQ(tablasEn(ktemp.ruta()).size(), 6u);

    for (const std::string& contenido : {std::string("no es XML"), std::string("<escuela/>")}) {
        escribirArchivo(datos / "malo.xml", contenido);
        r = ejecutarCLI({"exportar", (datos / "malo.xml").string()});
        EXPECT_EQ(r.codigo, 1);
        EXPECT_EQ(r.salida, "");
        EXPECT_NE(r.errores.find("malo.xml"), std::string::npos) << r.errores;
        EXPECT_EQ(instantanea(ktemp.ruta()), antes);
    }
}

// Each kind of fault has its own exit code, so that a script can tell input to mend (1) from
// input missing (2), a table Tamberlo holds (3), a folder it cannot write (4), nothing to undo
// (5) and a command line it cannot read (64); the message still goes to standard error.
TEST(CLI, UnCodigoDeSalidaPorCadaClaseDeFallo) {
    KTEMPTemporal ktemp;
    CarpetaTemporal datos;
    const std::string xml = (datos / "c.xml").string();
    escribirArchivo(xml, documento("<aulas><daula codigo=\"A\" nombre=\"A\" "
                                   "capacidad_alumnos=\"30\" idaula=\"7\"/></aulas>"));
    ASSERT_EQ(ejecutarCLI({"exportar", xml}).codigo, 0);
    escribirArchivo(ktemp / "SOLUC.DBF", "");
    escribirArchivo(datos / "archivo", "no es una carpeta");
    struct Caso {
        std::string nombre;
        std::vector<std::string> argumentos;
        int codigo;
        std::string mensaje;   // a piece of what standard error says
        std::string carpeta{}; // the KTEMP folder, when not the test's own
    };
    const std::vector<Caso> casos = {
        {"XML no válido", {"importar", (datos / "malo.xml").string()}, 1, "no es un XML válido"},
        {"SOLUC dañada", {"importar", xml}, 1, "está dañada"},
        {"tabla que no existe", {"mostrar", "NOEXISTE"}, 2, "No existe la tabla"},
        {"tabla en uso", {"exportar", xml}, 3, "en uso por otro programa"},
        {"carpeta de Tamberlo que es un archivo",
         {"exportar", xml},
         4,
         "no es una carpeta",
         (datos / "archivo").string()},
        {"nada que restaurar", {"restaurar"}, 5, "No hay tablas"},
        {"orden desconocida", {"deshacer"}, 64, "Uso incorrecto"},
        {"sin archivo", {"exportar"}, 64, "Uso incorrecto"},
    };
    escribirArchivo(datos / "malo.xml", "no es XML");
    fs::remove_all(ktemp / ".pontavia-anterior");
    for (const auto& c : casos) {
        SCOPED_TRACE(c.nombre);
        if (!c.carpeta.empty()) fijarVariable("PONTAVIA_KTEMP", c.carpeta);
        std::optional<TablaRetenida> tamberlo;
        if (c.codigo == 3) tamberlo.emplace(ktemp / "AULAT.DBF");
        const auto r = ejecutarCLI(c.argumentos);
        EXPECT_EQ(r.codigo, c.codigo) << r.errores;
        EXPECT_NE(r.errores.find(c.mensaje), std::string::npos) << r.errores;
        // What to do comes first; a refused run says that nothing was changed.
        if (c.codigo != 64) {
            EXPECT_NE(r.errores.find("No se ha cambiado nada.\n\n"), std::string::npos)
                << r.errores;
        }
        if (!c.carpeta.empty()) fijarVariable("PONTAVIA_KTEMP", ktemp.ruta().string());
    }
    // The codes are listed in the help.
    const auto ayuda = ejecutarCLI({"--ayuda"});
    for (const char* codigo :
         {"\n  0 ", "\n  1 ", "\n  2 ", "\n  3 ", "\n  4 ", "\n  5 ", "\n  64 ", "\n  70 "})
        EXPECT_NE(ayuda.salida.find(codigo), std::string::npos) << codigo;
}

// The exit codes the README lists for scripts are those pontavia-cli has and --ayuda lists:
// one table in the program makes the help, and the README is checked against it.
TEST(CLI, LosCodigosDelREADMESonLosDeLaAyuda) {
    std::set<int> enAyuda, enREADME;
    const std::string ayuda = ejecutarCLI({"--ayuda"}).salida;
    std::istringstream lineasAyuda(ayuda.substr(ayuda.find("Códigos de salida:")));
    std::string linea;
    while (std::getline(lineasAyuda, linea))
        if (linea.size() > 2 && linea.rfind("  ", 0) == 0 &&
            std::isdigit(static_cast<unsigned char>(linea[2])))
            enAyuda.insert(std::stoi(linea.substr(2)));
    std::ifstream readme(fs::path(PONTAVIA_EJEMPLOS) / ".." / "README.md");
    ASSERT_TRUE(readme);
    bool enTabla = false;
    while (std::getline(readme, linea)) {
        if (linea.rfind("| code |", 0) == 0)
            enTabla = true;
        else if (enTabla && linea.rfind("|", 0) != 0)
            break;
        else if (enTabla && linea.size() > 2 && std::isdigit(static_cast<unsigned char>(linea[2])))
            enREADME.insert(std::stoi(linea.substr(2)));
    }
    EXPECT_EQ(enAyuda.size(), 8u);
    EXPECT_EQ(enREADME, enAyuda);
}

// A table the user names by its path is spoken of as that file: neither missing from
// Tamberlo's folder nor to be exported again.
TEST(CLI, MostrarHablaDelArchivoElegido) {
    KTEMPTemporal ktemp;
    CarpetaTemporal datos;
    std::string vieja = tablaBytes(0x03, {{"NOMBRE", 'C', 4}}, {" Ana "});
    vieja[0] = 0x02;
    escribirArchivo(datos / "vieja.dbf", vieja);
    auto r = ejecutarCLI({"mostrar", (datos / "vieja.dbf").string()});
    EXPECT_EQ(r.codigo, 1);
    EXPECT_NE(r.errores.find("FoxBASE"), std::string::npos) << r.errores;
    EXPECT_EQ(r.errores.find("carpeta de Tamberlo"), std::string::npos) << r.errores;
    EXPECT_EQ(r.errores.find("exporte"), std::string::npos) << r.errores;

    r = ejecutarCLI({"mostrar", "NOEXISTE"});
    EXPECT_EQ(r.codigo, 2);
    EXPECT_NE(r.errores.find("No se encuentra la tabla NOEXISTE.DBF: compruebe su nombre"),
              std::string::npos)
        << r.errores;
    EXPECT_EQ(r.errores.find("exporte"), std::string::npos) << r.errores;
}

TEST(CLI, MostrarComoCSVYSuEstructura) {
    KTEMPTemporal ktemp;
    CarpetaTemporal datos;
    escribirArchivo(
        datos / "c.xml",
        documento(
            "<profesores><profesor codigo=\"A\" nombre=\"Ana, &quot;la&quot;\" apellido1=\"Gª\" "
            "apellido2=\"\" documento=\"1\" idprofesor=\"7\"/></profesores>"));
    ASSERT_EQ(ejecutarCLI({"exportar", (datos / "c.xml").string()}).codigo, 0);
    auto r = ejecutarCLI({"mostrar", "proft"});
    EXPECT_EQ(r.codigo, 0);
    EXPECT_EQ(r.salida, "ABREV,NOMBRE,DEPART,EMAIL,DNI,IDPROF\r\n"
                        "A,\"Ana, \"\"la\"\", Gª\",,,1,7\r\n");
    r = ejecutarCLI({"mostrar", "DIASHORAST", "--estructura"});
    EXPECT_NE(r.salida.find("0x04"), std::string::npos);
    EXPECT_NE(r.salida.find("SESION_ORDEN,I,4,0"), std::string::npos) << r.salida;
    r = ejecutarCLI({"mostrar", "NOEXISTE"});
    EXPECT_EQ(r.codigo, 2);
    EXPECT_NE(r.errores.find("NOEXISTE.DBF"), std::string::npos);
    EXPECT_EQ(ejecutarCLI({"desconocida"}).codigo, 64);
    // The list scripts go through: the tables exportar writes, one a line. A table or the
    // list, one of the two; else a usage error, as an unknown command is.
    r = ejecutarCLI({"mostrar", "--tablas"});
    EXPECT_EQ(r.codigo, 0);
    std::string lista;
    for (const auto& t : nombresExportados())
        lista += t + "\n";
    EXPECT_EQ(r.salida, lista);
    for (const std::vector<std::string>& mal : {std::vector<std::string>{"mostrar"},
                                                {"mostrar", "PROFT", "--tablas"},
                                                {"mostrar", "--estructura"},
                                                {"mostrar", "--tablas", "--estructura"}})
        EXPECT_EQ(ejecutarCLI(mal).codigo, 64) << mal.back();
    r = ejecutarCLI({"--ayuda"});
    EXPECT_EQ(r.codigo, 0);
    EXPECT_NE(r.salida.find("exportar"), std::string::npos);
}

// Every text of the command line is Spanish, CLI11's own included; a wrong command line is
// told on standard error, in one sentence that names what is wrong.
TEST(CLI, LineaDeOrdenesEnEspanol) {
    struct Caso {
        std::vector<std::string> argumentos;
        std::string error;
    };
    const std::vector<Caso> casos = {
        {{}, "Uso incorrecto: Falta la orden: exportar, importar, comprobar, restaurar o mostrar."},
        {{"exportar"}, "Uso incorrecto: Falta ARCHIVO."},
        {{"exportar", "a.xml", "b.xml"}, "Uso incorrecto: Sobra el argumento: b.xml."},
        {{"mostrar", "A", "B", "C"}, "Uso incorrecto: Sobran los argumentos: B C."},
        {{"exportar", "a.xml", "--informe"}, "Uso incorrecto: Falta el valor de --informe."},
        {{"desconocida"}, "Uso incorrecto: Orden desconocida: desconocida."},
        {{"exportar", "a.xml", "--nada"}, "Uso incorrecto: Sobra el argumento: --nada."},
    };
    for (const auto& caso : casos) {
        const auto r = ejecutarCLI(caso.argumentos);
        EXPECT_NE(r.codigo, 0) << caso.error;
        EXPECT_EQ(r.salida, "") << caso.error;
        EXPECT_EQ(r.errores, caso.error + "\nConsulte pontavia-cli --ayuda.\n");
    }

    // The help, as --ayuda or --help, for the program and for each command: no English word of
    // CLI11's in it.
    const auto ayuda = ejecutarCLI({"--ayuda"});
    EXPECT_EQ(ejecutarCLI({"--help"}).salida, ayuda.salida);
    EXPECT_EQ(ejecutarCLI({"-h"}).salida, ayuda.salida);
    for (const std::vector<std::string>& argumentos : {std::vector<std::string>{"--ayuda"},
                                                       {"exportar", "--ayuda"},
                                                       {"importar", "--help"},
                                                       {"comprobar", "-h"},
                                                       {"restaurar", "--ayuda"},
                                                       {"mostrar", "--ayuda"}}) {
        const auto r = ejecutarCLI(argumentos);
        EXPECT_EQ(r.codigo, 0) << argumentos[0];
        EXPECT_NE(r.salida.find("Uso: pontavia-cli"), std::string::npos) << r.salida;
        // One heading for all the options, the help flag's included.
        const auto opciones = r.salida.find("Opciones:");
        EXPECT_NE(opciones, std::string::npos) << r.salida;
        EXPECT_EQ(r.salida.find("Opciones:", opciones + 1), std::string::npos) << r.salida;
        for (const char* ingles : {"Usage", "Options", "Subcommand", "Positionals", "REQUIRED",
                                   "required", "TEXT ", "Run with"})
            EXPECT_EQ(r.salida.find(ingles), std::string::npos) << ingles << " en\n" << r.salida;
    }
    EXPECT_NE(ejecutarCLI({"exportar", "--ayuda"}).salida.find("Argumentos:"), std::string::npos);

    // The version, from the project's own.
    for (const char* bandera : {"--version", "-V"}) {
        const auto r = ejecutarCLI({bandera});
        EXPECT_EQ(r.codigo, 0);
        EXPECT_EQ(r.salida, std::string("pontavia-cli ") + PONTAVIA_VERSION_ESPERADA + "\n");
    }
}

// Fields are shown by their place: two of the same name each show their own value; names
// come from the table's code page, as values do (0xD1 is Ñ in Windows-1252).
TEST(CLI, MostrarCamposDelMismoNombreYNombresAcentuados) {
    CarpetaTemporal datos;
    const auto ruta = datos / "T.DBF";
    escribirArchivo(ruta,
                    tablaBytes(0x03, {{"A", 'C', 1}, {"A", 'C', 1}, {"A\xD1O", 'C', 1}}, {" 12x"}));
    auto r = ejecutarCLI({"mostrar", ruta.string()});
    EXPECT_EQ(r.codigo, 0);
    EXPECT_EQ(r.salida, "A,A,AÑO\r\n1,2,x\r\n");
    r = ejecutarCLI({"mostrar", ruta.string(), "--estructura"});
    EXPECT_NE(r.salida.find("\nAÑO,C,1,0\n"), std::string::npos) << r.salida;
}

TEST(CLI, ColegioDeEjemploLeidoPorOtroLector) {
    KTEMPTemporal ktemp;
    const auto r = ejecutarCLI({"exportar", std::string(PONTAVIA_EJEMPLOS) + "/centro.xml"});
    ASSERT_EQ(r.codigo, 0) << r.errores;
#ifndef _WIN32 // the independent reader is Linux's python3-dbf
    // python3-dbf, an independent reader, must see the same rows and values as mostrar.
    const std::string orden = "/usr/bin/python3 " + std::string(PONTAVIA_SCRIPTS) +
                              "/comparar_con_dbf.py " + ktemp.ruta().string() + " " + PONTAVIA_CLI;
    EXPECT_EQ(std::system(orden.c_str()), 0);
#endif
    // One row for each teacher, group, room and time slot of the school.
    pugi::xml_document centro;
    ASSERT_TRUE(centro.load_file((std::string(PONTAVIA_EJEMPLOS) + "/centro.xml").c_str()));
    for (const auto& [tabla, ruta] : std::vector<std::pair<std::string, std::string>>{
             {"PROFT", "/centro/profesores/profesor"},
             {"GRUPOST", "/centro/grupos/dgrupo"},
             {"AULAT", "/centro/aulas/daula"},
             {"DIASHORAST", "/centro/franjashorarias/franjahoraria"}}) {
        const std::size_t elementos = centro.select_nodes(ruta.c_str()).size();
        EXPECT_GT(elementos, 0u) << ruta;
        EXPECT_EQ(leerTabla(ktemp / (tabla + ".DBF")).size(), elementos) << tabla;
    }
}

namespace {

// Each line that starts with one of the prefixes keeps only the prefix: what changes from
// one run to the next (the date, the folders of the test) is not compared.
std::string enmascarar(std::string texto, const std::vector<std::string>& prefijos) {
    for (const auto& prefijo : prefijos)
        for (auto inicio = texto.find(prefijo); inicio != std::string::npos;
             inicio = texto.find(prefijo, inicio + 1)) {
            if (inicio != 0 && texto[inicio - 1] != '\n' && texto[inicio - 1] != '\xBF') continue;
            const auto desde = inicio + prefijo.size();
            texto.erase(desde, texto.find_first_of("\r\n", desde) - desde);
        }
    return texto;
}

// The output against its expected file in tests/esperado. With PONTAVIA_ACTUALIZAR_ESPERADOS
// set, the file is written instead: for a change meant to alter the output, reviewed in the
// diff.
void comoEsperado(const std::string& salida, const std::string& nombre) {
    const auto ruta = fs::path(PONTAVIA_ESPERADOS) / nombre;
    if (std::getenv("PONTAVIA_ACTUALIZAR_ESPERADOS")) {
        fs::create_directories(ruta.parent_path());
        escribirArchivo(ruta, salida);
    }
    ASSERT_TRUE(fs::exists(ruta)) << ruta;
    EXPECT_EQ(salida, leerArchivo(ruta)) << nombre;
}

} // namespace

// The sample school as pontavia-cli writes it: its messages, the six tables as mostrar shows
// them, and the report; and the help text.
TEST(CLI, SalidasComoLosArchivosEsperados) {
    KTEMPTemporal ktemp;
    const auto r = ejecutarCLI({"exportar", std::string(PONTAVIA_EJEMPLOS) + "/centro.xml"});
    ASSERT_EQ(r.codigo, 0) << r.errores;
    comoEsperado(enmascarar(r.salida, {"Informe completo en "}), "colegio/exportar.txt");
    for (const std::string& tabla : nombresExportados()) {
        const auto m = ejecutarCLI({"mostrar", tabla});
        ASSERT_EQ(m.codigo, 0) << m.errores;
        comoEsperado(m.salida, "colegio/" + tabla + ".csv");
    }
    comoEsperado(enmascarar(leerArchivo(ktemp / kNombreInforme), {"Archivo: ", "Fecha: "}),
                 std::string("colegio/") + kNombreInforme);

    const auto ayuda = ejecutarCLI({"--ayuda"});
    EXPECT_EQ(ayuda.codigo, 0);
    // The help names Tamberlo's folder as each system has it.
#ifdef _WIN32
    comoEsperado(ayuda.salida, "ayuda-windows.txt");
#else
    comoEsperado(ayuda.salida, "ayuda.txt");
#endif
}

TEST(CLI, InformeComprobarYRestaurar) {
    KTEMPTemporal ktemp;
    CarpetaTemporal datos;
    escribirArchivo(datos / "c.xml",
                    documento("<aulas><daula codigo=\"\" nombre=\"Lab, \xC2\xABnorte\xC2\xBB\" "
                              "capacidad_alumnos=\"\" idaula=\"7\"/></aulas>"));

    // comprobar: the whole report, and nothing written but the CSV asked for.
    auto r = ejecutarCLI(
        {"comprobar", (datos / "c.xml").string(), "--informe", (datos / "informe.csv").string()});
    EXPECT_EQ(r.codigo, 0) << r.errores;
    EXPECT_NE(r.salida.find("Informe de Pontavia: comprobar\n"), std::string::npos) << r.salida;
    EXPECT_NE(r.salida.find("  AULAT       1 fila, 1 aviso\n"), std::string::npos) << r.salida;
    EXPECT_TRUE(fs::is_empty(ktemp.ruta()));
    const std::string csv = "tabla,tipo,elemento,campo,valor,resultado,motivo\r\n"
                            "AULAT,código cambiado,\"el aula «Lab, «norte»» (idaula 7)\",codigo,,"
                            "\"Lab,\",no tiene código; se toma de su nombre\r\n";
    EXPECT_EQ(leerArchivo(datos / "informe.csv"), csv);
    EXPECT_EQ(ejecutarCLI({"comprobar", (datos / "no.xml").string()}).codigo, 2);

    // exportar: its message, then the summary; the same CSV.
    r = ejecutarCLI(
        {"exportar", (datos / "c.xml").string(), "--informe", (datos / "exportar.csv").string()});
    EXPECT_EQ(r.codigo, 0) << r.errores;
    EXPECT_NE(r.salida.find("  AULAT       1 fila, 1 aviso\n  GRUPOST     0 filas, 0 avisos\n"),
              std::string::npos)
        << r.salida;
    EXPECT_NE(r.salida.find("Informe completo en " + (ktemp / kNombreInforme).string()),
              std::string::npos);
    EXPECT_EQ(leerArchivo(datos / "exportar.csv"), csv);

    // restaurar: the first exportar found no tables, so they are taken away again.
    r = ejecutarCLI({"restaurar"});
    EXPECT_EQ(r.codigo, 0) << r.errores;
    EXPECT_NE(r.salida.find("AULAT: retirada (no existía antes)\n"), std::string::npos);
    EXPECT_TRUE(tablasEn(ktemp.ruta()).empty());
    fs::remove_all(ktemp / ".pontavia-anterior");
    r = ejecutarCLI({"restaurar"});
    EXPECT_EQ(r.codigo, 5);
    EXPECT_NE(r.errores.find("No hay tablas de una exportación anterior"), std::string::npos);
}

#ifndef _WIN32 // killed by a signal; on Windows a staging folder's hold is a handle
namespace {

// The staging folder of a run in KTEMP once it holds a file; empty when there is none.
fs::path preparacionConArchivos(const fs::path& ktemp) {
    std::error_code ec;
    for (fs::directory_iterator it(ktemp, ec); !ec && it != fs::directory_iterator();
         it.increment(ec))
        if (it->path().filename().string().rfind(".pontavia-preparacion-", 0) == 0 &&
            !fs::is_empty(it->path(), ec) && !ec)
            return it->path();
    return {};
}

} // namespace

// A run killed while it writes its tables (a power cut, Tamberlo ending it) leaves its staging
// folder behind; the next run clears it and leaves the tables, the report and the undo set as
// they were.
TEST(CLI, CorridaMatadaAMitadNoDejaRestos) {
    KTEMPTemporal ktemp;
    CarpetaTemporal datos;
    const std::string ejemplo = std::string(PONTAVIA_EJEMPLOS) + "/centro.xml";
    ASSERT_EQ(ejecutarCLI({"exportar", ejemplo}).codigo, 0);
    ASSERT_EQ(ejecutarCLI({"exportar", ejemplo}).codigo, 0);
    const auto antes = instantanea(ktemp.ruta());
    ASSERT_TRUE(antes.count(pontavia::kCarpetaAnterior));

    const auto grande = datos / "grande.xml";
    const auto generador = fs::path(PONTAVIA_SCRIPTS).parent_path() / "bench" / "generar_centro.py";
    const std::string generar =
        "/usr/bin/python3 '" + generador.string() + "' '" + grande.string() + "' --escala 100";
    ASSERT_EQ(std::system(generar.c_str()), 0);

    const pid_t pid = ::fork();
    if (pid == 0) {
        if (!std::freopen("/dev/null", "w", stdout)) ::_exit(126);
        ::execl(PONTAVIA_CLI, PONTAVIA_CLI, "exportar", grande.c_str(),
                static_cast<char*>(nullptr));
        ::_exit(127);
    }
    // Killed as soon as its staging folder holds a table: long before the tables move.
    fs::path preparacion;
    for (int i = 0; i < 60'000 && preparacion.empty(); ++i) {
        preparacion = preparacionConArchivos(ktemp.ruta());
        if (preparacion.empty()) ::usleep(1'000);
    }
    ::kill(pid, SIGKILL);
    int estado = 0;
    ::waitpid(pid, &estado, 0);
    ASSERT_FALSE(preparacion.empty()) << "la corrida acabó antes de poder matarla";
    ASSERT_TRUE(WIFSIGNALED(estado));
    ASSERT_TRUE(fs::is_directory(preparacion));
    auto conResto = instantanea(ktemp.ruta());
    std::erase_if(conResto, [&](const auto& e) {
        return e.first.rfind(preparacion.filename().string(), 0) == 0;
    });
    EXPECT_EQ(conResto, antes);

    ASSERT_EQ(ejecutarCLI({"exportar", ejemplo}).codigo, 0);
    EXPECT_FALSE(fs::exists(preparacion));
    EXPECT_EQ(sinFecha(instantanea(ktemp.ruta())), sinFecha(antes));
}
#endif

// importar's result chosen for exportar: exit 1, the sentence on standard error, and Tamberlo's
// folder and VELMORA's byte for byte as they were.
TEST(CLI, UnResultadoDeTamberloNoSeExporta) {
    KTEMPTemporal ktemp;
    CarpetaTemporal datos;
    escribirArchivo(datos / "centro.xml", documento(""));
    ASSERT_EQ(ejecutarCLI({"exportar", (datos / "centro.xml").string()}).codigo, 0);
    escribirArchivo(datos / "ResultadoTamberlocentro.xml",
                    documento("<solucion_horario><dsolucion casig=\"1\" dia=\"1\" hora=\"1\"/>"
                              "</solucion_horario>"));
    const auto antesKtemp = instantanea(ktemp.ruta());
    const auto antesDatos = instantanea(datos.ruta());
    for (const char* orden : {"exportar", "comprobar"}) {
        const auto r = ejecutarCLI({orden, (datos / "ResultadoTamberlocentro.xml").string()});
        EXPECT_EQ(r.codigo, 1) << orden;
        EXPECT_EQ(r.salida, "") << orden;
        EXPECT_NE(r.errores.find("es un resultado de Tamberlo, no una exportación de VELMORA"),
                  std::string::npos)
            << r.errores;
        EXPECT_EQ(instantanea(ktemp.ruta()), antesKtemp) << orden;
        EXPECT_EQ(instantanea(datos.ruta()), antesDatos) << orden;
    }
}

namespace {

class ProcedenciaPorLaCLI : public ::testing::TestWithParam<pontavia::prueba::CasoProcedencia> {};

std::string nombreDeCaso(const ::testing::TestParamInfo<pontavia::prueba::CasoProcedencia>& info) {
    return info.param.nombre;
}

} // namespace

// Whether the timetable belongs to the chosen file, as a script sees it: a refusal exits 1
// (refused input) with the advice on standard error and nothing written in either folder;
// otherwise exit 0 with "Proceso finalizado" and, when the file lacks some items, the warning
// right after it.
TEST_P(ProcedenciaPorLaCLI, CodigoDeSalidaYNadaEscritoAlRechazar) {
    const auto& c = GetParam();
    KTEMPTemporal ktemp;
    CarpetaTemporal datos;
    const fs::path elegido = prepararProcedencia(c.procedencia, datos.ruta(), ktemp.ruta());
    const auto antesDatos = instantanea(datos.ruta());
    const auto antesKtemp = instantanea(ktemp.ruta());
    const auto r = ejecutarCLI({"importar", elegido.string()});
    if (c.rechazado) {
        EXPECT_EQ(r.codigo, 1);
        EXPECT_EQ(r.salida.find("Proceso finalizado"), std::string::npos) << r.salida;
        EXPECT_NE(r.errores.find(c.enMensaje), std::string::npos) << r.errores;
        EXPECT_EQ(instantanea(datos.ruta()), antesDatos);
        EXPECT_EQ(instantanea(ktemp.ruta()), antesKtemp);
    } else {
        EXPECT_EQ(r.codigo, 0) << r.errores;
        EXPECT_NE(r.salida.find("Proceso finalizado"), std::string::npos) << r.salida;
        EXPECT_NE(r.salida.find(c.enMensaje), std::string::npos) << r.salida;
        EXPECT_TRUE(fs::exists(pontavia::resultadoDeImportar(elegido)));
    }
}

INSTANTIATE_TEST_SUITE_P(Casos, ProcedenciaPorLaCLI,
                         ::testing::ValuesIn(pontavia::prueba::casosDeProcedencia()), nombreDeCaso);
