// The conversion report of the sample school, item by item against its data; the dry run that
// writes nothing; and restaurar, which brings back the set an exportar replaced.
#include "ayudantes.h"
#include "bloqueo.h"
#include "documento_de_prueba.h"
#include "documento_xml.h"
#include "error.h"
#include "informe.h"
#include "nucleo.h"
#include "texto.h"

#include <cstdlib>
#include <functional>
#include <gtest/gtest.h>
#include <map>
#include <set>
#include <tuple>

using namespace pontavia;
using namespace pontavia::prueba;

// The variable that names the folder for temporary files: GetTempPath reads TMP first.
#ifdef _WIN32
constexpr const char* kVariableTemporal = "TMP";
#else
constexpr const char* kVariableTemporal = "TMPDIR";
#endif

namespace {

// One item as a line that names everything but the wording of its reason.
std::string clave(const std::string& tabla, const std::string& tipo, const std::string& elemento,
                  const std::string& campo, const std::string& valor,
                  const std::string& resultado) {
    return tabla + " | " + tipo + " | " + elemento + " | " + campo + " | " + valor + " | " +
           resultado;
}
std::string clave(const std::string& tabla, TipoAviso tipo, const std::string& elemento,
                  const std::string& campo, const std::string& valor,
                  const std::string& resultado) {
    return clave(tabla, std::string(textoTipo(tipo)), elemento, campo, valor, resultado);
}

// Whether a CSV row is one of the changes since the tables a run replaces (test_cambios.cpp).
bool esCambio(const AvisoLeido& a) {
    return a.motivo == "desde la exportación anterior" ||
           a.motivo == "frente a las tablas de Tamberlo";
}

// The report's items, the changes aside.
std::multiset<std::string> claves(const Informe& informe) {
    std::multiset<std::string> r;
    for (const auto& a : avisosLeidos(informe)) {
        if (esCambio(a)) continue;
        EXPECT_FALSE(a.motivo.empty()) << a.elemento;
        r.insert(clave(a.tabla, a.tipo, a.elemento, a.campo, a.valor, a.resultado));
    }
    return r;
}

// An element as the report names it, from its own attributes.
std::string enInforme(const pugi::xml_node& n, std::size_t i, const char* id) {
    return elementoEnInforme(ElementoXML(n, i, id).lugar());
}

} // namespace

// Every code, omission and identifier that the rules change is found in the sample school's
// data and looked for in the report; the report must hold those items and no others.
TEST(InformeEjemplo, CadaAvisoDelColegioDeEjemplo) {
    CarpetaTemporal ktemp;
    const fs::path xml = std::string(PONTAVIA_EJEMPLOS) + "/centro.xml";
    Informe informe;
    exportar(xml, ktemp.ruta(), informe);
    const DocumentoXML doc = DocumentoDePrueba::cargar(xml);

    // id -> code, from a table written by the run.
    auto codigos = [&](const char* tabla, const char* id, const char* codigo) {
        std::map<std::string, std::string> m;
        for (const auto& f : leerTabla(ktemp / (std::string(tabla) + ".DBF")))
            m[f.at(id)] = f.at(codigo);
        return m;
    };
    std::multiset<std::string> esperados;
    // Teachers, rooms and groups: a code that is not the one VELMORA gave.
    struct Coleccion {
        const char* tabla;
        const char* ruta;
        const char* idXML;
        const char* idTabla;
    };
    for (const Coleccion& c :
         {Coleccion{"PROFT", "/centro/profesores/profesor", "idprofesor", "IDPROF"},
          Coleccion{"AULAT", "/centro/aulas/daula", "idaula", "IDAULA"},
          Coleccion{"GRUPOST", "/centro/grupos/dgrupo", "idgrupo", "IDGRUPO"}}) {
        const auto abrev = codigos(c.tabla, c.idTabla, "ABREV");
        const Nodos nodos = doc.selectNodes(c.ruta);
        EXPECT_EQ(abrev.size(), nodos.size()) << c.tabla;
        for (std::size_t i = 0; i < nodos.size(); ++i) {
            const std::string codigo = recortar(nodos[i].attribute("codigo").value());
            const std::string dado = abrev.at(recortar(nodos[i].attribute(c.idXML).value()));
            if (dado != codigo)
                esperados.insert(clave(c.tabla, TipoAviso::CodigoCambiado,
                                       enInforme(nodos[i], i, c.idXML), "codigo", codigo, dado));
        }
    }
    // Subjects: left out (no row for the identifier) or with another code.
    const auto cod = codigos("ASIGNOMT", "IDASIG", "COD");
    const Nodos materias = doc.selectNodes("/centro/materias/dmateria");
    for (std::size_t i = 0; i < materias.size(); ++i) {
        const std::string codigo = recortar(materias[i].attribute("codigo").value());
        const auto fila = cod.find(recortar(materias[i].attribute("idmateria").value()));
        const std::string elemento = enInforme(materias[i], i, "idmateria");
        if (fila == cod.end())
            esperados.insert(clave("ASIGNOMT", TipoAviso::Omitido, elemento, "codigo", codigo, ""));
        else if (fila->second != codigo)
            esperados.insert(clave("ASIGNOMT", TipoAviso::CodigoCambiado, elemento, "codigo",
                                   codigo, fila->second));
    }
    // Assignments whose subject has no row, group or teacher no counterpart; each named by
    // the names VELMORA gives its subject, group and teacher.
    const auto grupos = codigos("GRUPOST", "IDGRUPO", "ABREV");
    const auto profesores = codigos("PROFT", "IDPROF", "ABREV");
    auto nombres = [&](const char* ruta, const char* id) {
        std::map<std::string, std::string> m;
        const Nodos nodos = doc.selectNodes(ruta);
        for (std::size_t i = 0; i < nodos.size(); ++i)
            m.try_emplace(recortar(nodos[i].attribute(id).value()),
                          ElementoXML(nodos[i], i).lugar().nombre);
        return m;
    };
    const auto nombreMateria = nombres("/centro/materias/dmateria", "idmateria");
    const auto nombreGrupo = nombres("/centro/grupos/dgrupo", "idgrupo");
    const auto nombreProfesor = nombres("/centro/profesores/profesor", "idprofesor");
    auto nombreDe = [](const std::map<std::string, std::string>& m, const std::string& id) {
        const auto it = m.find(id);
        return it == m.end() ? std::string() : it->second;
    };
    const Nodos asignaturas = doc.selectNodes("/centro/asignaturas/dasignatura");
    std::size_t omitidas = 0;
    for (std::size_t i = 0; i < asignaturas.size(); ++i) {
        const auto& a = asignaturas[i];
        const std::string casig = recortar(a.attribute("casig").value());
        const std::string cgrupo = recortar(a.attribute("cgrupo").value());
        const std::string cprofe = recortar(a.attribute("cprofe").value());
        LugarError lugar = ElementoXML(a, i).lugar();
        lugar.nombre = nombreDe(nombreMateria, casig);
        lugar.grupo = nombreDe(nombreGrupo, cgrupo);
        lugar.profesor = nombreDe(nombreProfesor, cprofe);
        const std::string elemento = elementoEnInforme(lugar);
        if (!cod.count(casig)) {
            esperados.insert(clave("ASIGT", TipoAviso::Omitido, elemento, "casig", casig, ""));
            ++omitidas;
            continue;
        }
        for (const auto& [atributo, id, tabla] :
             {std::tuple{"cgrupo", cgrupo, &grupos}, std::tuple{"cprofe", cprofe, &profesores}})
            if (!tabla->count(id))
                esperados.insert(
                    clave("ASIGT", TipoAviso::SinCorrespondencia, elemento, atributo, id, ""));
    }
    // The two values the sample plants beyond what a field holds.
    esperados.insert(clave("PROFT", TipoAviso::ValorSustituido,
                           "el profesor «Javier Łukaszewicz Blanco» (código JGB, idprofesor 1138)",
                           "NOMBRE", "Javier, Łukaszewicz Blanco", "Javier, Lukaszewicz Blanco"));
    esperados.insert(clave(
        "AULAT", TipoAviso::ValorRecortado,
        "el aula «Departamento de Geografía e Historia y Seminario de Ciencias Sociales, segunda "
        "planta del edificio B» (código D39, idaula 1226)",
        "NOMBRE",
        "Departamento de Geografía e Historia y Seminario de Ciencias Sociales, segunda planta "
        "del edificio B",
        "Departamento de Geografía e Historia y Seminario de Ciencias Sociales, segunda p"));

    EXPECT_EQ(claves(informe), esperados);
    // The sample is made to show every kind of exportar item.
    const auto avisos = avisosLeidos(informe);
    for (TipoAviso t : {TipoAviso::Omitido, TipoAviso::CodigoCambiado, TipoAviso::ValorRecortado,
                        TipoAviso::ValorSustituido})
        EXPECT_TRUE(std::any_of(avisos.begin(), avisos.end(), [t](const AvisoLeido& a) {
            return a.tipo == textoTipo(t);
        })) << textoTipo(t);
    EXPECT_EQ(esperados.size(), 75u);

    // Rows per table, as written; with the omitted ones they make up VELMORA's elements.
    std::map<std::string, std::size_t> filas(informe.filas().begin(), informe.filas().end());
    for (const std::string& t : nombresExportados())
        EXPECT_EQ(filas.at(t), leerTabla(ktemp / (t + ".DBF")).size()) << t;
    EXPECT_EQ(filas.at("ASIGT") + omitidas, asignaturas.size());
    EXPECT_EQ(filas.at("ASIGNOMT") + 1, materias.size()); // LCL1ESO, given twice

    // The same report waits in Tamberlo's folder, for Windows' editors.
    const std::string archivo = leerArchivo(ktemp / kNombreInforme);
    EXPECT_EQ(archivo, informe.contenidoArchivo());
    EXPECT_EQ(archivo.rfind("\xEF\xBB\xBFInforme de Pontavia: exportar\r\n", 0), 0u);
    EXPECT_NE(archivo.find("  omitido: la materia «Lengua Castellana y Literatura 1º ESO» (código "
                           "LCL1ESO, idmateria 1120), el código (codigo) \"LCL1ESO\""),
              std::string::npos);
    // Every omission is read before the first renamed code, though the subjects' renamed
    // codes came before the assignments left out.
    EXPECT_LT(archivo.rfind("  omitido: "), archivo.find("  código cambiado: "));
}

namespace {

// A small school whose report is known: one teacher code taken twice.
std::string centroPequeno(const std::string& segundo) {
    return documento("<profesores>"
                     "<profesor codigo=\"ANA\" nombre=\"Ana\" apellido1=\"a\" apellido2=\"b\" "
                     "documento=\"1\" idprofesor=\"1\"/>"
                     "<profesor codigo=\"" +
                     segundo +
                     "\" nombre=\"Ana\" apellido1=\"c\" apellido2=\"d\" documento=\"2\" "
                     "idprofesor=\"2\"/>"
                     "</profesores>");
}

// exportar of a school into a Tamberlo folder, its report left aside.
void exportarEn(const fs::path& ktemp, const fs::path& xml) {
    Informe informe;
    exportar(xml, ktemp, informe);
}

// Tamberlo's files in its folder: everything but the report and the kept set.
std::map<std::string, std::string> archivosDeTamberlo(const fs::path& ktemp) {
    auto archivos = instantanea(ktemp);
    std::erase_if(archivos, [](const auto& par) {
        return par.first == kNombreInforme || par.first.rfind(".pontavia-anterior", 0) == 0;
    });
    return archivos;
}

} // namespace

TEST(Comprobar, NoEscribeNadaYDaElInformeDeLaExportacion) {
    CarpetaTemporal ktemp;
    CarpetaTemporal datos, temporal;
    escribirArchivo(datos / "anterior.xml", centroPequeno("LUIS"));
    exportarEn(ktemp.ruta(), datos / "anterior.xml");
    escribirArchivo(datos / "centro.xml", centroPequeno("ana"));
    const auto ktempAntes = instantanea(ktemp.ruta());
    const auto datosAntes = instantanea(datos.ruta());

    fijarVariable(kVariableTemporal, temporal.ruta().string());
    fijarVariable("PONTAVIA_KTEMP", ktemp.ruta().string());
    Informe prueba;
    comprobar(datos / "centro.xml", prueba);
    fijarVariable(kVariableTemporal, "");
    fijarVariable("PONTAVIA_KTEMP", "");
    EXPECT_EQ(instantanea(ktemp.ruta()), ktempAntes);
    EXPECT_EQ(instantanea(datos.ruta()), datosAntes);
    EXPECT_TRUE(fs::is_empty(temporal.ruta())); // its tables are gone too

    Informe real;
    exportar(datos / "centro.xml", ktemp.ruta(), real);
    // The same items, and the same changes: the dry run's against the tables exportar then
    // replaced.
    EXPECT_EQ(claves(prueba), claves(real));
    EXPECT_EQ(prueba.resumenCambios(),
              "Cambios que haría la exportación en las tablas de Tamberlo: 1 código cambiado");
    EXPECT_EQ(real.resumenCambios(), "Cambios desde la exportación anterior: 1 código cambiado");
    EXPECT_EQ(claves(prueba),
              (std::multiset<std::string>{clave("PROFT", TipoAviso::CodigoCambiado,
                                                "el profesor «Ana c d» (código ana, idprofesor 2)",
                                                "codigo", "ana", "ana1")}));
}

TEST(Comprobar, NoNecesitaLaCarpetaDeTamberlo) {
    CarpetaTemporal datos;
    const auto ktemp = datos / "no-existe";
    fijarVariable("PONTAVIA_KTEMP", ktemp.string());
    escribirArchivo(datos / "centro.xml", centroPequeno("ANA"));
    Informe informe;
    comprobar(datos / "centro.xml", informe);
    fijarVariable("PONTAVIA_KTEMP", "");
    EXPECT_FALSE(fs::exists(ktemp));
    EXPECT_EQ(informe.avisos(), 1u);
}

TEST(Restaurar, DevuelveLasTablasAnterioresByteAByteYSePuedeDeshacer) {
    CarpetaTemporal ktemp;
    CarpetaTemporal datos;
    escribirArchivo(datos / "a.xml", centroPequeno("LUIS"));
    escribirArchivo(datos / "b.xml", centroPequeno("ana"));
    exportarEn(ktemp.ruta(), datos / "a.xml");
    // Tamberlo's own touches: a table under a lower-case name, index files.
    fs::rename(ktemp / "PROFT.DBF", ktemp / "proft.dbf");
    escribirArchivo(ktemp / "ASIGT.MDX", "índice de Tamberlo");
    escribirArchivo(ktemp / "DIASHORAST.MDX", "no es de Pontavia");
    escribirArchivo(ktemp / "SOLUC.DBF", "el horario");
    const auto antes = archivosDeTamberlo(ktemp.ruta());
    exportarEn(ktemp.ruta(), datos / "b.xml");
    const auto despues = archivosDeTamberlo(ktemp.ruta());
    ASSERT_NE(despues, antes);
    EXPECT_FALSE(despues.count("ASIGT.MDX"));

    // First the export it goes back to, then each table.
    const auto plan = planRestaurar(ktemp.ruta());
    const auto lineas = restaurar(ktemp.ruta());
    ASSERT_EQ(lineas.size(), 7u);
    const std::string exportacion = "las tablas exportadas de «IES Prueba» (curso 2026/2027, "
                                    "archivo " +
                                    (datos / "a.xml").string() + ", el ";
    EXPECT_EQ(plan.front().rfind("Volverán " + exportacion, 0), 0u) << plan.front();
    EXPECT_EQ(lineas.front().rfind("Han vuelto " + exportacion, 0), 0u) << lineas.front();
    // Asked before, in the future and by what each table holds; told after, as done.
    ASSERT_EQ(plan.size(), lineas.size());
    EXPECT_EQ(plan[1], "Materias y actividades (ASIGNOMT): se volverá a poner la de antes");
    EXPECT_EQ(lineas[1], "ASIGNOMT: restaurada");
    EXPECT_EQ(archivosDeTamberlo(ktemp.ruta()), antes);
    restaurar(ktemp.ruta());
    EXPECT_EQ(archivosDeTamberlo(ktemp.ruta()), despues);
}

TEST(Restaurar, TrasLaPrimeraExportacionRetiraLasTablas) {
    CarpetaTemporal ktemp;
    CarpetaTemporal datos;
    escribirArchivo(ktemp / "SOLUC.DBF", "el horario");
    escribirArchivo(datos / "a.xml", centroPequeno("LUIS"));
    exportarEn(ktemp.ruta(), datos / "a.xml");
    const auto lineas = restaurar(ktemp.ruta());
    ASSERT_EQ(lineas.size(), 7u);
    EXPECT_EQ(lineas[0], "Han vuelto la carpeta de Tamberlo sin tablas, como estaba antes de la "
                         "primera exportación.");
    EXPECT_EQ(lineas[1], "ASIGNOMT: retirada (no existía antes)");
    // The folder as it was, and its record says so: no table, from no export.
    EXPECT_EQ(
        archivosDeTamberlo(ktemp.ruta()),
        (std::map<std::string, std::string>{{"SOLUC.DBF", "el horario"},
                                            {".pontavia-conjunto", "pontavia-conjunto 1\nfin\n"}}));
}

TEST(Restaurar, SinExportacionAnteriorOConUnaTablaEnUsoNoCambiaNada) {
    CarpetaTemporal ktemp;
    EXPECT_EQ(desenlace([&] { restaurar(ktemp.ruta()); }),
              "No hay tablas de una exportación anterior que restaurar en " +
                  ktemp.ruta().string() + ".");

    CarpetaTemporal datos;
    escribirArchivo(datos / "a.xml", centroPequeno("LUIS"));
    escribirArchivo(datos / "b.xml", centroPequeno("ana"));
    exportarEn(ktemp.ruta(), datos / "a.xml");
    exportarEn(ktemp.ruta(), datos / "b.xml");
    const auto antes = instantanea(ktemp.ruta());
    BloqueoExclusivo tamberlo(discoDelSistema(), ktemp / "ASIGT.DBF");
    const std::string error = desenlace([&] { restaurar(ktemp.ruta()); });
    EXPECT_NE(error.find("ASIGT.DBF"), std::string::npos) << error;
    EXPECT_EQ(instantanea(ktemp.ruta()), antes);
}

// A kept set that does not say what it is, or is not whole as it says, is refused, nothing
// changed, by restaurar and its plan alike: never read as a folder that had no table, which
// would remove all six. An emptied folder (a sync tool, a cleaner, a file system that lost it)
// and a set an older Pontavia kept are sets without a record.
TEST(Restaurar, ConjuntoSinRegistroDanadoOIncompletoSeRechaza) {
    struct Caso {
        const char* nombre;
        std::function<void(const fs::path& guardado)> estropear;
        ClaseError clase;
        Hecho hecho;
        int salida;       // pontavia-cli's exit code
        const char* dice; // in the message the user reads
    };
    const std::vector<Caso> casos = {
        {"sin registro", [](const fs::path& g) { fs::remove(g / ".pontavia-conjunto"); },
         ClaseError::NadaQueRestaurar, Hecho::ConjuntoSinRegistro, 5, "versión anterior"},
        {"carpeta vaciada",
         [](const fs::path& g) {
             for (const auto& e : fs::directory_iterator(g))
                 fs::remove_all(e.path());
         },
         ClaseError::NadaQueRestaurar, Hecho::ConjuntoSinRegistro, 5, "vació"},
        {"registro dañado",
         [](const fs::path& g) {
             escribirArchivo(g / ".pontavia-conjunto", "pontavia-conjunto 1\ntabla\tPROFT\n");
         },
         ClaseError::TablaDanada, Hecho::RegistroConjuntoDanado, 1, "está dañado"},
        {"tabla perdida", [](const fs::path& g) { fs::remove(g / "PROFT.DBF"); },
         ClaseError::TablaDanada, Hecho::TablaGuardadaPerdida, 1, "Falta la tabla PROFT"},
    };
    for (const auto& caso : casos) {
        SCOPED_TRACE(caso.nombre);
        KTEMPTemporal ktemp;
        CarpetaTemporal datos;
        escribirArchivo(datos / "a.xml", centroPequeno("LUIS"));
        escribirArchivo(datos / "b.xml", centroPequeno("ana"));
        exportarEn(ktemp.ruta(), datos / "a.xml");
        exportarEn(ktemp.ruta(), datos / "b.xml");
        caso.estropear(ktemp / ".pontavia-anterior");
        const auto antes = instantanea(ktemp.ruta());
        for (const auto& [quien, correr] :
             std::vector<std::pair<const char*, std::function<void()>>>{
                 {"planRestaurar", [&] { planRestaurar(ktemp.ruta()); }},
                 {"restaurar", [&] { restaurar(ktemp.ruta()); }}}) {
            SCOPED_TRACE(quien);
            try {
                correr();
                ADD_FAILURE() << "restaurado";
            } catch (const Error& e) {
                EXPECT_EQ(e.clase(), caso.clase) << e.what();
                EXPECT_EQ(e.hecho(), caso.hecho) << e.what();
                const std::string mensaje = mensajeParaElUsuario(e);
                EXPECT_NE(mensaje.find(caso.dice), std::string::npos) << mensaje;
                EXPECT_NE(mensaje.find("No se ha cambiado nada."), std::string::npos) << mensaje;
            }
            EXPECT_EQ(instantanea(ktemp.ruta()), antes);
        }
        const auto r = ejecutarCLI({"restaurar"});
        EXPECT_EQ(r.codigo, caso.salida) << r.errores;
        EXPECT_EQ(instantanea(ktemp.ruta()), antes);
    }
}

// Items come as the builders meet them, tables and kinds interleaved; the report prints them
// kind by kind, what was lost first (an omission met last comes before a code renamed first),
// then table by table in the order the run wrote them, and keeps a value's own line break
// whatever the line ends. The CSV rows follow the same order.
TEST(InformeTexto, PorImportanciaYTablaYRespetaLosSaltosDeLosValores) {
    Informe informe;
    informe.empezar("exportar", "centro.xml");
    informe.agregar({"AULAT", TipoAviso::ValorRecortado, "daula número 1", "NOMBRE", "Aula\nnorte",
                     "Aula", "el campo admite 4 caracteres"});
    informe.agregar({"PROFT", TipoAviso::CodigoCambiado, "", "codigo", "ana", "ana1",
                     "el código ya lo tiene otro"});
    informe.agregar({"AULAT", TipoAviso::CodigoCambiado, "daula número 3", "codigo", "C", "C1",
                     "el código ya lo tiene otro"});
    informe.agregar({"AULAT", TipoAviso::Omitido, "daula número 2", "codigo", "B", "", "x"});
    informe.filas("PROFT", 2);
    const std::string cuerpo =
        "  PROFT       2 filas, 1 aviso\n"
        "  AULAT       3 avisos\n"
        "  Total: 4 avisos\n"
        "\n"
        "Omitidos: 1\n"
        "Cómo corregirlo: son datos perdidos; busque cada uno en VELMORA por su nombre o su "
        "código, complete lo que falta y exporte de nuevo.\n"
        "\n"
        "AULAT\n"
        "  omitido: daula número 2, el código (codigo) \"B\" (x)\n"
        "\n"
        "Valores recortados: 1\n"
        "Cómo corregirlo: el texto no cabía en el campo de Tamberlo; si importa, acórtelo en "
        "VELMORA.\n"
        "\n"
        "AULAT\n"
        "  valor recortado: daula número 1, el nombre (NOMBRE) \"Aula\nnorte\" -> \"Aula\" (el "
        "campo admite 4 caracteres)\n"
        "\n"
        "Códigos cambiados: 2\n"
        "Cómo corregirlo: no hace falta, no se pierde nada; si prefiere otro código, cámbielo en "
        "VELMORA para que sea corto y no se repita.\n"
        "\n"
        "PROFT\n"
        "  código cambiado: el código (codigo) \"ana\" -> \"ana1\" (el código ya lo tiene otro)\n"
        "\n"
        "AULAT\n"
        "  código cambiado: daula número 3, el código (codigo) \"C\" -> \"C1\" (el código ya lo "
        "tiene otro)\n";
    auto terminaEn = [](const std::string& s, const std::string& fin) {
        return s.size() >= fin.size() && s.compare(s.size() - fin.size(), fin.size(), fin) == 0;
    };
    EXPECT_TRUE(terminaEn(informe.texto(), cuerpo)) << informe.texto();
    std::string cuerpoCRLF;
    for (char c : cuerpo)
        cuerpoCRLF += c == '\n' ? std::string("\r\n") : std::string(1, c);
    const std::string saltoPropio = "Aula\r\nnorte";
    cuerpoCRLF.replace(cuerpoCRLF.find(saltoPropio), saltoPropio.size(), "Aula\nnorte");
    EXPECT_TRUE(terminaEn(informe.contenidoArchivo(), cuerpoCRLF)) << informe.contenidoArchivo();
    EXPECT_EQ(informe.avisos(), 4u);
    EXPECT_EQ(informe.avisosDe("AULAT"), 3u);
    std::vector<std::string> filasCSV;
    for (const auto& a : avisosLeidos(informe))
        filasCSV.push_back(a.tabla + " " + a.valor);
    EXPECT_EQ(filasCSV,
              (std::vector<std::string>{"AULAT B", "AULAT Aula\nnorte", "PROFT ana", "AULAT C"}));
}

// A large school's items of one table and kind fill many of the report's blocks; one longer
// than a block, and ones with nothing in them, among them: every item comes back whole, once,
// in the order it came, in the text and in the CSV alike.
TEST(InformeTexto, MilesDeAvisosVuelvenEnterosYEnOrden) {
    Informe informe;
    informe.empezar("exportar", "centro.xml");
    std::vector<std::string> valores;
    for (int i = 0; i < 3000; ++i)
        valores.push_back(i % 250 == 7 ? std::string()
                                       : "v" + std::to_string(i) + std::string(i % 97, 'x'));
    valores[1500] = std::string(100000, 'y');
    for (const auto& v : valores)
        informe.agregar({"PROFT", TipoAviso::ValorRecortado, v.empty() ? "" : "el profesor «A»",
                         v.empty() ? "" : "NOMBRE", v, "", v.empty() ? "" : "m"});
    const std::string texto = informe.texto();
    std::size_t desde = 0;
    for (const auto& v : valores) {
        const std::string linea =
            v.empty()
                ? "  valor recortado:  \"\" ()\n"
                : "  valor recortado: el profesor «A», el nombre (NOMBRE) \"" + v + "\" (m)\n";
        const auto en = texto.find(linea, desde);
        ASSERT_NE(en, std::string::npos) << v.substr(0, 20);
        desde = en + linea.size();
    }
    EXPECT_EQ(desde, texto.size());
    std::vector<std::string> leidos;
    for (const auto& a : avisosLeidos(informe))
        leidos.push_back(a.valor);
    EXPECT_EQ(leidos, valores);
}

// Each kind of element an item can be about, named as the timetabler finds it in VELMORA and
// with what finds its row; one with no name or code keeps its place in the file.
TEST(InformeNombres, CadaElementoComoLoMuestraVelmora) {
    CarpetaTemporal ktemp, datos;
    escribirArchivo(
        datos / "centro.xml",
        documento(
            "<materias>"
            "<dmateria codigo=\"MATEMATICAS1\" nombre=\"Matemáticas\" codigo_actividad=\"LECTIVA\" "
            "idmateria=\"10\"/>"
            "<dmateria codigo=\"LECTIVA\" nombre=\"Lectiva\" codigo_actividad=\"LECTIVA\" "
            "idmateria=\"11\"/>"
            "</materias><profesores>"
            "<profesor codigo=\"ANA\" nombre=\"Ana\" apellido1=\"Ruiz\" apellido2=\"Gil\" "
            "documento=\"1\" idprofesor=\"20\"/>"
            "<profesor codigo=\"ana\" nombre=\"Ana\" apellido1=\"Sanz\" apellido2=\"Paz\" "
            "documento=\"2\" idprofesor=\"21\"/>"
            "<profesor codigo=\"\" nombre=\"\" apellido1=\"\" apellido2=\"\" documento=\"3\" "
            "idprofesor=\"22\"/>"
            "<profesor codigo=\"\" nombre=\"\" apellido1=\"\" apellido2=\"\" documento=\"4\" "
            "idprofesor=\"23\"/>"
            "</profesores><aulas>"
            "<daula codigo=\"\" nombre=\"Laboratorio\" capacidad_alumnos=\"20\" idaula=\"30\"/>"
            "<daula codigo=\"A1\" nombre=\"Aula 1\" capacidad_alumnos=\"30\" idaula=\"31\"/>"
            "</aulas><grupos>"
            "<dgrupo codigo=\"1BACHILLERATOA\" nombre=\"1º Bachillerato A\" codigo_nivel=\"B\" "
            "curso=\"1\" cgrupo=\"A\" idgrupo=\"40\" idcurso=\"4\"/>"
            "<dgrupo codigo=\"1B\" nombre=\"1º B\" codigo_nivel=\"B\" curso=\"1\" cgrupo=\"B\" "
            "idgrupo=\"41\" idcurso=\"4\"/>"
            "</grupos><franjashorarias>"
            "<franjahoraria dia_semana=\"1\" posicion=\"1\" hora_inicio=\"08:30:00\" "
            "hora_final=\"09:25\"/>"
            "<franjahoraria dia_semana=\"1\" posicion=\"2\" hora_inicio=\"09:25\" "
            "hora_final=\"10:20\"/>"
            "</franjashorarias><asignaturas>"
            "<dasignatura cgrupo=\"40\" casig=\"99\" cprofe=\"20\" conexion=\"0\" nhoras=\"2\"/>"
            "<dasignatura cgrupo=\"49\" casig=\"10\" cprofe=\"21\" conexion=\"0\" nhoras=\"2\"/>"
            "<dasignatura cgrupo=\"\" casig=\"98\" cprofe=\"\" conexion=\"0\" nhoras=\"2\"/>"
            "</asignaturas>"));
    Informe informe;
    exportar(datos / "centro.xml", ktemp.ruta(), informe);

    struct Caso {
        const char* que;
        const char* tabla;
        const char* campo;
        const char* elemento;
    };
    const Caso casos[] = {
        {"una materia, por nombre, código e idmateria", "ASIGNOMT", "codigo",
         "la materia «Matemáticas» (código MATEMATICAS1, idmateria 10)"},
        {"un profesor, por nombre y apellidos", "PROFT", "codigo",
         "el profesor «Ana Sanz Paz» (código ana, idprofesor 21)"},
        {"un profesor sin nombre ni código, por su lugar", "PROFT", "codigo",
         "profesor número 4 (idprofesor 23)"},
        {"un aula sin código, por su nombre", "AULAT", "codigo",
         "el aula «Laboratorio» (idaula 30)"},
        {"un grupo", "GRUPOST", "codigo",
         "el grupo «1º Bachillerato A» (código 1BACHILLERATOA, idgrupo 40)"},
        {"una franja horaria, por su día, su hora y sus horas", "DIASHORAST", "TEXTOHOR",
         "la franja horaria «Lunes, hora 1, 08:30:00-09:25» (franjahoraria número 1)"},
        {"una asignatura sin materia, por su grupo y su profesor", "ASIGT", "casig",
         "la asignatura del grupo «1º Bachillerato A» con el profesor «Ana Ruiz Gil» "
         "(dasignatura número 1)"},
        {"una asignatura sin grupo, por su materia y su profesor", "ASIGT", "cgrupo",
         "la asignatura «Matemáticas» con el profesor «Ana Sanz Paz» (dasignatura número 2)"},
        {"una asignatura que no lleva a nada, por su lugar", "ASIGT", "casig",
         "dasignatura número 3"},
    };
    const auto avisos = avisosLeidos(informe);
    const std::string texto = informe.texto();
    for (const Caso& c : casos) {
        const auto a = std::find_if(avisos.begin(), avisos.end(), [&](const AvisoLeido& x) {
            return x.tabla == c.tabla && x.campo == c.campo && x.elemento == c.elemento;
        });
        ASSERT_NE(a, avisos.end()) << c.que << "\n" << texto;
        // The line of the text names it so, before the field, which it names in words.
        const auto linea = texto.find(": " + a->elemento + ", ");
        ASSERT_NE(linea, std::string::npos) << c.que;
        EXPECT_LT(texto.find(" (" + a->campo + ") \"", linea), texto.find('\n', linea)) << c.que;
    }
}
