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
#include <gtest/gtest.h>
#include <set>

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

std::multiset<std::string> claves(const Informe& informe) {
    std::multiset<std::string> r;
    for (const auto& a : avisosLeidos(informe)) {
        EXPECT_FALSE(a.motivo.empty()) << a.elemento;
        r.insert(clave(a.tabla, a.tipo, a.elemento, a.campo, a.valor, a.resultado));
    }
    return r;
}

std::string descripcion(const pugi::xml_node& n, std::size_t i, const char* id = nullptr) {
    std::string d = std::string(n.name()) + " número " + std::to_string(i + 1);
    if (id) d += std::string(" (") + id + " " + recortar(n.attribute(id).value()) + ")";
    return d;
}

} // namespace

// Every code, omission and identifier that the rules change is found in the sample school's
// data and looked for in the report; the report must hold those items and no others.
TEST(InformeEjemplo, CadaAvisoDelColegioDeEjemplo) {
    CarpetaTemporal ktemp;
    const fs::path xml = std::string(PONTAVIA_EJEMPLOS) + "/centro.xml";
    Informe informe;
    ASSERT_EQ(exportar(xml, ktemp.ruta(), informe), Resultado::Hecho);
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
                                       descripcion(nodos[i], i, c.idXML), "codigo", codigo, dado));
        }
    }
    // Subjects: left out (no row for the identifier) or with another code.
    const auto cod = codigos("ASIGNOMT", "IDASIG", "COD");
    const Nodos materias = doc.selectNodes("/centro/materias/dmateria");
    for (std::size_t i = 0; i < materias.size(); ++i) {
        const std::string codigo = recortar(materias[i].attribute("codigo").value());
        const auto fila = cod.find(recortar(materias[i].attribute("idmateria").value()));
        const std::string elemento = descripcion(materias[i], i, "idmateria");
        if (fila == cod.end())
            esperados.insert(clave("ASIGNOMT", TipoAviso::Omitido, elemento, "codigo", codigo, ""));
        else if (fila->second != codigo)
            esperados.insert(clave("ASIGNOMT", TipoAviso::CodigoCambiado, elemento, "codigo",
                                   codigo, fila->second));
    }
    // Assignments whose subject has no row, group or teacher no counterpart.
    const auto grupos = codigos("GRUPOST", "IDGRUPO", "ABREV");
    const auto profesores = codigos("PROFT", "IDPROF", "ABREV");
    const Nodos asignaturas = doc.selectNodes("/centro/asignaturas/dasignatura");
    std::size_t omitidas = 0;
    for (std::size_t i = 0; i < asignaturas.size(); ++i) {
        const auto& a = asignaturas[i];
        const std::string casig = recortar(a.attribute("casig").value());
        if (!cod.count(casig)) {
            esperados.insert(
                clave("ASIGT", TipoAviso::Omitido, descripcion(a, i), "casig", casig, ""));
            ++omitidas;
            continue;
        }
        for (const auto& [atributo, tabla] :
             {std::pair{"cgrupo", &grupos}, std::pair{"cprofe", &profesores}}) {
            const std::string id = recortar(a.attribute(atributo).value());
            if (!tabla->count(id))
                esperados.insert(clave("ASIGT", TipoAviso::SinCorrespondencia, descripcion(a, i),
                                       atributo, id, ""));
        }
    }
    // The two values the sample plants beyond what a field holds.
    esperados.insert(clave("PROFT", TipoAviso::ValorSustituido,
                           "profesor número 12 (idprofesor 1138)", "NOMBRE",
                           "Javier, Łukaszewicz Blanco", "Javier, ?ukaszewicz Blanco"));
    esperados.insert(clave(
        "AULAT", TipoAviso::ValorRecortado, "daula número 40 (idaula 1226)", "NOMBRE",
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
    EXPECT_NE(archivo.find("  omitido: dmateria número 121 (idmateria 1120), codigo \"LCL1ESO\""),
              std::string::npos);
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
    EXPECT_EQ(exportar(xml, ktemp, informe), Resultado::Hecho);
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
    Informe prueba;
    EXPECT_EQ(comprobar(datos / "centro.xml", prueba), Resultado::Hecho);
    fijarVariable(kVariableTemporal, "");
    EXPECT_EQ(instantanea(ktemp.ruta()), ktempAntes);
    EXPECT_EQ(instantanea(datos.ruta()), datosAntes);
    EXPECT_TRUE(fs::is_empty(temporal.ruta())); // its tables are gone too

    Informe real;
    EXPECT_EQ(exportar(datos / "centro.xml", ktemp.ruta(), real), Resultado::Hecho);
    EXPECT_EQ(prueba.csv(), real.csv());
    EXPECT_EQ(claves(prueba), (std::multiset<std::string>{clave("PROFT", TipoAviso::CodigoCambiado,
                                                                "profesor número 2 (idprofesor 2)",
                                                                "codigo", "ana", "ana1")}));
}

TEST(Comprobar, NoNecesitaLaCarpetaDeTamberlo) {
    CarpetaTemporal datos;
    const auto ktemp = datos / "no-existe";
    fijarVariable("PONTAVIA_KTEMP", ktemp.string());
    escribirArchivo(datos / "centro.xml", centroPequeno("ANA"));
    Informe informe;
    EXPECT_EQ(comprobar(datos / "centro.xml", informe), Resultado::Hecho);
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

    EXPECT_EQ(restaurar(ktemp.ruta()).size(), 6u);
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
    EXPECT_EQ(lineas.front(), "ASIGNOMT: retirada (no existía antes)");
    EXPECT_EQ(archivosDeTamberlo(ktemp.ruta()),
              (std::map<std::string, std::string>{{"SOLUC.DBF", "el horario"}}));
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

// Items come as the builders meet them, tables interleaved; the report prints them grouped by
// table in the order they came, and keeps a value's own line break whatever the line ends.
TEST(InformeTexto, AgrupaPorTablaYRespetaLosSaltosDeLosValores) {
    Informe informe;
    informe.empezar("exportar", "centro.xml");
    informe.agregar({"AULAT", TipoAviso::ValorRecortado, "daula número 1", "NOMBRE", "Aula\nnorte",
                     "Aula", "el campo admite 4 caracteres"});
    informe.agregar({"PROFT", TipoAviso::CodigoCambiado, "", "codigo", "ana", "ana1",
                     "el código ya lo tiene otro"});
    informe.agregar({"AULAT", TipoAviso::Omitido, "daula número 2", "codigo", "B", "", "x"});
    informe.filas("PROFT", 2);
    const std::string cuerpo =
        "  PROFT       2 filas, 1 aviso\n"
        "  AULAT       2 avisos\n"
        "  Total: 3 avisos\n"
        "\n"
        "PROFT\n"
        "  código cambiado: codigo \"ana\" -> \"ana1\" (el código ya lo tiene otro)\n"
        "\n"
        "AULAT\n"
        "  valor recortado: daula número 1, NOMBRE \"Aula\nnorte\" -> \"Aula\" (el campo admite 4 "
        "caracteres)\n"
        "  omitido: daula número 2, codigo \"B\" (x)\n";
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
    EXPECT_EQ(informe.avisos(), 3u);
    EXPECT_EQ(informe.avisosDe("AULAT"), 2u);
    EXPECT_EQ(avisosLeidos(informe)[0].valor, "Aula\nnorte");
}
