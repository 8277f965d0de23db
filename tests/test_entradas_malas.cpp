// Every input the program reads, spoiled the ways real files, folders and disks get spoiled.
// Each case gives its clear error, or the behaviour the README documents, and never a crash,
// a hang, or a file changed that should not change.
#include "archivo_atomico.h"
#include "ayudantes.h"
#include "disco_con_fallos.h"
#include "documento_de_prueba.h"
#include "documento_xml.h"
#include "error.h"
#include "nucleo.h"
#include "restos.h"

#include <gtest/gtest.h>
#include <map>
#include <optional>
#ifndef _WIN32
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>
#endif

using namespace pontavia;
using namespace pontavia::prueba;

namespace {

// Every collection and attribute the runs read, with a valid value for each.
struct Coleccion {
    const char* coleccion;
    const char* elemento;
    std::vector<std::pair<const char*, const char*>> atributos;
};
const std::vector<Coleccion> kColecciones = {
    {"materias",
     "dmateria",
     {{"codigo", "MAT"},
      {"nombre", "Matemáticas"},
      {"codigo_actividad", "LECTIVA"},
      {"idmateria", "11"}}},
    {"profesores",
     "profesor",
     {{"codigo", "ANA"},
      {"nombre", "Ana"},
      {"apellido1", "Ruiz"},
      {"apellido2", "Gil"},
      {"documento", "1A"},
      {"idprofesor", "21"}}},
    {"aulas",
     "daula",
     {{"codigo", "A1"}, {"nombre", "Aula 1"}, {"capacidad_alumnos", "30"}, {"idaula", "31"}}},
    {"grupos",
     "dgrupo",
     {{"codigo", "1ESOA"},
      {"nombre", "1º ESO A"},
      {"codigo_nivel", "ESO"},
      {"curso", "1"},
      {"cgrupo", "A"},
      {"idgrupo", "41"},
      {"idcurso", "5"}}},
    {"franjashorarias",
     "franjahoraria",
     {{"dia_semana", "1"}, {"posicion", "1"}, {"hora_inicio", "08:00"}, {"hora_final", "09:00"}}},
    {"asignaturas",
     "dasignatura",
     {{"cgrupo", "41"}, {"casig", "11"}, {"cprofe", "21"}, {"conexion", "0"}, {"nhoras", "3"}}},
};

// doc with its first de replaced by a.
std::string cambiar(std::string doc, const std::string& de, const std::string& a) {
    return doc.replace(doc.find(de), de.size(), a);
}

std::string escapar(const std::string& v) {
    std::string r;
    for (char c : v)
        r += c == '"' ? std::string("&quot;") : c == '&' ? std::string("&amp;") : std::string(1, c);
    return r;
}

// The school of one element per collection; cambios sets "elemento.atributo" to a value, or
// leaves it out when the value is nullopt.
std::string colegio(const std::map<std::string, std::optional<std::string>>& cambios = {}) {
    std::string interior;
    for (const auto& c : kColecciones) {
        interior += std::string("<") + c.coleccion + "><" + c.elemento;
        for (const auto& [nombre, valor] : c.atributos) {
            auto it = cambios.find(std::string(c.elemento) + "." + nombre);
            if (it == cambios.end())
                interior += std::string(" ") + nombre + "=\"" + valor + "\"";
            else if (it->second)
                interior += std::string(" ") + nombre + "=\"" + escapar(*it->second) + "\"";
        }
        interior += std::string("/></") + c.coleccion + ">";
    }
    return documento(interior);
}

// A value padded to a field's width: on the left for numbers, on the right for text.
std::string numero(const std::string& v, std::size_t ancho) {
    return std::string(ancho - v.size(), ' ') + v;
}
std::string texto(const std::string& v, std::size_t ancho) {
    return v + std::string(ancho - v.size(), ' ');
}

const std::vector<CampoBytes> kCamposSoluc = {
    {"DIA", 'N', 2},   {"HORA", 'N', 2},   {"SESIONES", 'C', 4}, {"CODGRUPO", 'C', 10},
    {"ASIG", 'C', 10}, {"TAREA", 'C', 10}, {"PROF", 'C', 10},    {"AULA", 'C', 10}};
const std::string kLeccion = " " + numero("1", 2) + numero("2", 2) + texto("1", 4) +
                             texto("1ESOA", 10) + texto("MAT", 10) + texto("LECT", 10) +
                             texto("ANA", 10) + texto("A1", 10);

class EntradasMalas : public ::testing::Test {
  protected:
    CarpetaTemporal ktemp;
    CarpetaTemporal datos;
    // VELMORA's file and the Tamberlo folder the runs are given.
    fs::path xml = datos / "centro.xml";
    fs::path carpeta = ktemp.ruta();
    Informe informe;

    // A Tamberlo folder with an earlier export, its timetable, and an earlier result.
    void SetUp() override {
        escribirArchivo(xml, colegio());
        ASSERT_EQ(ejecutar(Corrida::Exportar), "");
        escribirArchivo(ktemp / "SOLUC.DBF", tablaBytes(0x03, kCamposSoluc, {kLeccion}));
        ASSERT_EQ(ejecutar(Corrida::Importar), "");
        ASSERT_TRUE(fs::exists(datos / "ResultadoTamberlocentro.xml"));
    }

    // Runs a run on the fixture's files; returns its error, or "" when it does its work.
    std::string ejecutar(Corrida corrida) {
        return desenlace([&] {
            return corrida == Corrida::Exportar ? exportar(xml, carpeta, informe)
                                                : importar(xml, carpeta, informe);
        });
    }

    // The run must fail with a message holding fragmento and leave every file as it was.
    // Returns the message.
    std::string fallaSinCambiarNada(Corrida run, const std::string& fragmento) {
        const auto antesKtemp = instantanea(ktemp.ruta());
        const auto antesDatos = instantanea(datos.ruta());
        const std::string error = ejecutar(run);
        EXPECT_NE(error, "");
        EXPECT_NE(error.find(fragmento), std::string::npos) << error;
        EXPECT_EQ(instantanea(ktemp.ruta()), antesKtemp);
        EXPECT_EQ(instantanea(datos.ruta()), antesDatos);
        return error;
    }
};

} // namespace

// VELMORA's file, spoiled: both runs refuse it and change nothing.
TEST_F(EntradasMalas, ArchivoXMLDeVelmora) {
    const std::string bueno = colegio();
    const std::vector<std::pair<std::string, std::string>> casos = {
        {"no es XML", "esto no es XML"},
        {"vacío", ""},
        {"cortado", bueno.substr(0, bueno.size() / 2)},
        {"otra raíz", "<escuela/>"},
        {"declara UTF-8 y trae Latin-1",
         "<?xml version=\"1.0\" encoding=\"UTF-8\"?><centro nombre=\"Mar\xEDtima\"/>"},
        {"codificación desconocida", "<?xml version=\"1.0\" encoding=\"X-NO-EXISTE\"?><centro/>"},
        {"UTF-8 no válido", "<centro nombre=\"\xC3\x28\"/>"},
        {"entidad sin declarar", "<centro nombre=\"&desconocida;\"><</centro>"},
        {"dos exportaciones pegadas", bueno + bueno},
        {"atributo repetido",
         cambiar(bueno, "codigo_interno=\"1\"", "codigo_interno=\"1\" codigo_interno=\"2\"")},
        {"& suelto", cambiar(bueno, "IES Prueba", "IES Prueba & Co")},
    };
    const std::map<std::string, std::string> fragmentos = {
        {"otra raíz", "debería ser centro"},
        {"declara UTF-8 y trae Latin-1", "no son UTF-8"},
        {"codificación desconocida", "codificación desconocida"},
        {"UTF-8 no válido", "no son UTF-8"},
        {"dos exportaciones pegadas",
         "no es un XML válido: contenido después del elemento raíz (línea 3, columna 1)."},
        {"atributo repetido",
         "no es un XML válido: atributo repetido en el mismo elemento (línea 2, columna 28)."},
        {"& suelto", "no es un XML válido: carácter o marca no permitidos en este lugar (línea 2, "
                     "columna 48)."},
    };
    for (const auto& [nombre, contenido] : casos) {
        SCOPED_TRACE(nombre);
        escribirArchivo(xml, contenido);
        const auto f = fragmentos.find(nombre);
        const std::string fragmento = f == fragmentos.end() ? "no es un XML válido" : f->second;
        // The message names the file, so that the user knows which one to mend.
        for (const auto run : {Corrida::Exportar, Corrida::Importar})
            EXPECT_NE(fallaSinCambiarNada(run, fragmento).find("centro.xml"), std::string::npos);
    }
}

// A large school is checked while its tables are built, or while the timetable is written: a
// fault that only the check finds, or one that also stops a builder, is told as the check's,
// and nothing is changed, not even a missing Tamberlo folder made.
TEST_F(EntradasMalas, ArchivoXMLGrandeDeVelmora) {
    // A comment well past the size worth a thread of its own, in the encoding VELMORA writes.
    const std::string relleno = "<!--" + std::string(std::size_t{1} << 20, 'x') + "-->";
    auto grande = [&](const std::string& doc) {
        std::string d = cambiar(doc, "encoding=\"UTF-8\"", "encoding=\"ISO-8859-1\"");
        return cambiar(d, "<materias>", relleno + "<materias>");
    };
    const std::string repetido = "no es un XML válido: atributo repetido en el mismo elemento";
    const std::vector<std::pair<std::string, std::string>> casos = {
        {"atributo repetido al final",
         cambiar(grande(colegio()), "</centro>", "<d v=\"1\" v=\"2\"/></centro>")},
        // The builder misses idmateria; the repeated attribute is what the user must mend.
        {"atributo repetido donde falta otro",
         cambiar(grande(colegio({{"dmateria.idmateria", std::nullopt}})), "codigo=\"MAT\"",
                 "codigo=\"MAT\" codigo=\"MAT\"")},
        {"atributo repetido en la raíz",
         cambiar(grande(colegio()), "curso=", "curso=\"1\" curso=")},
    };
    for (const auto& [nombre, contenido] : casos) {
        SCOPED_TRACE(nombre);
        escribirArchivo(xml, contenido);
        fallaSinCambiarNada(Corrida::Importar, repetido);
        fallaSinCambiarNada(Corrida::Exportar, repetido);
        carpeta = ktemp / "nueva";
        fallaSinCambiarNada(Corrida::Exportar, repetido);
        EXPECT_FALSE(fs::exists(carpeta));
        carpeta = ktemp.ruta();
    }
    // The same school, well-formed, is exported, and its timetable imported.
    escribirArchivo(xml, grande(colegio()));
    EXPECT_EQ(ejecutar(Corrida::Exportar), "");
    EXPECT_EQ(ejecutar(Corrida::Importar), "");
}

// Each attribute of each collection, left out, stops exportar before it writes anything.
TEST_F(EntradasMalas, CadaAtributoQueFalta) {
    int casos = 0;
    for (const auto& c : kColecciones)
        for (const auto& [atributo, valor] : c.atributos) {
            SCOPED_TRACE(std::string(c.elemento) + "." + atributo);
            escribirArchivo(xml,
                            colegio({{std::string(c.elemento) + "." + atributo, std::nullopt}}));
            fallaSinCambiarNada(Corrida::Exportar,
                                std::string("El elemento ") + c.elemento + " número 1");
            EXPECT_NE(ejecutar(Corrida::Exportar)
                          .find(std::string("no tiene el atributo ") + atributo + "."),
                      std::string::npos);
            ++casos;
        }
    EXPECT_EQ(casos, 30);
}

// Numbers and times that cannot be read, or that no field can hold, stop exportar with their
// value, after the element and the attribute that hold it.
TEST_F(EntradasMalas, NumerosFueraDeRango) {
    const std::vector<std::tuple<std::string, std::string, std::string>> casos = {
        {"daula.capacidad_alumnos", "99999999999",
         "El elemento daula número 1 (idaula 31), atributo capacidad_alumnos: '99999999999' is "
         "not a valid integer value for field 'MAXALUM'"},
        {"daula.capacidad_alumnos", "treinta",
         "El elemento daula número 1 (idaula 31), atributo capacidad_alumnos: 'treinta' is not a "
         "valid integer value for field 'MAXALUM'"},
        {"franjahoraria.dia_semana", "99999999999",
         "El elemento franjahoraria número 1, atributo dia_semana: '99999999999' is not a valid "
         "integer value"},
        {"franjahoraria.posicion", "-",
         "El elemento franjahoraria número 1, atributo posicion: '-' is not a valid integer "
         "value"},
        {"franjahoraria.hora_inicio", "ab:cd",
         "El elemento franjahoraria número 1, atributo hora_inicio: 'ab' is not a valid integer "
         "value"},
        {"franjahoraria.hora_final", "09:xy",
         "El elemento franjahoraria número 1, atributo hora_final: 'xy' is not a valid integer "
         "value"},
        {"dasignatura.nhoras", "1e999",
         "El elemento dasignatura número 1, atributo nhoras: '1e999' is not a valid floating "
         "point value"},
        {"dasignatura.nhoras", "nan",
         "El elemento dasignatura número 1, atributo nhoras: 'nan' is not a valid floating point "
         "value"},
        {"dasignatura.nhoras", "1e300",
         "El elemento dasignatura número 1, atributo nhoras: El número de horas 1e300 está fuera "
         "de rango."},
        {"dasignatura.nhoras", "-1e30",
         "El elemento dasignatura número 1, atributo nhoras: El número de horas -1e30 está fuera "
         "de rango."},
        {"dasignatura.nhoras", "1e15",
         "El elemento dasignatura número 1, atributo nhoras: El número de horas 1e15 está fuera "
         "de rango."},
    };
    for (const auto& [atributo, valor, mensaje] : casos) {
        SCOPED_TRACE(atributo + "=" + valor);
        escribirArchivo(xml, colegio({{atributo, valor}}));
        fallaSinCambiarNada(Corrida::Exportar, mensaje);
        EXPECT_EQ(ejecutar(Corrida::Exportar), mensaje);
    }
    // The largest hours HORAS can hold still go through.
    escribirArchivo(xml, colegio({{"dasignatura.nhoras", "99999"}}));
    EXPECT_EQ(ejecutar(Corrida::Exportar), "");
    EXPECT_EQ(columna(ktemp / "ASIGT.DBF", "HORAS"), std::vector<std::string>{"99999.0000"});
}

// Entities are never expanded nor fetched: a declared one stays as its reference, in a row
// like any other, and a run ends at once however deep the entities nest. A reference to an
// external entity in an attribute value is not well-formed: both runs refuse the file.
TEST_F(EntradasMalas, EntidadesNoSeExpandenNiSeLeen) {
    const std::string dtd =
        "<?xml version=\"1.0\"?><!DOCTYPE centro [\n"
        "<!ENTITY fuera SYSTEM \"file:///etc/passwd\">"
        "<!ENTITY a \"aaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaa\">"
        "<!ENTITY b \"&a;&a;&a;&a;&a;&a;&a;&a;&a;&a;&a;&a;&a;&a;&a;&a;&a;&a;&a;&a;\">"
        "<!ENTITY c \"&b;&b;&b;&b;&b;&b;&b;&b;&b;&b;&b;&b;&b;&b;&b;&b;&b;&b;&b;&b;\">"
        "<!ENTITY d \"&c;&c;&c;&c;&c;&c;&c;&c;&c;&c;&c;&c;&c;&c;&c;&c;&c;&c;&c;&c;\">]>";
    std::string doc = colegio();
    doc = dtd + doc.substr(doc.find("<centro"));
    escribirArchivo(xml, cambiar(doc, "Ruiz", "&d;"));
    EXPECT_EQ(ejecutar(Corrida::Exportar), "");
    const auto nombres = columna(ktemp / "PROFT.DBF", "NOMBRE");
    ASSERT_EQ(nombres.size(), 1u);
    EXPECT_EQ(nombres[0], "Ana, &d; Gil");

    escribirArchivo(xml, cambiar(doc, "Ruiz", "&fuera;&d;"));
    const std::string razon = "no es un XML válido: referencia a una entidad externa en el "
                              "valor de un atributo (línea 2, columna ";
    fallaSinCambiarNada(Corrida::Exportar, razon);
    fallaSinCambiarNada(Corrida::Importar, razon);
}

// A huge value is cut to its field and reported; a million elements load and pass.
TEST_F(EntradasMalas, ValoresEnormesYMillonDeElementos) {
    const std::string enorme(10'000'000, 'x');
    escribirArchivo(xml, colegio({{"daula.nombre", enorme}}));
    EXPECT_EQ(ejecutar(Corrida::Exportar), "");
    EXPECT_EQ(columna(ktemp / "AULAT.DBF", "NOMBRE"),
              std::vector<std::string>{std::string(80, 'x')});
    // The report's items, the changes since the earlier export aside.
    auto avisos = avisosLeidos(informe);
    std::erase_if(avisos,
                  [](const AvisoLeido& a) { return a.motivo == "desde la exportación anterior"; });
    ASSERT_EQ(avisos.size(), 1u);
    EXPECT_EQ(avisos[0].tipo, textoTipo(TipoAviso::ValorRecortado));

    std::string muchos = colegio();
    std::string relleno;
    relleno.reserve(5'000'000);
    for (int i = 0; i < 1'000'000; ++i)
        relleno += "<x/>";
    muchos.insert(muchos.find("</centro>"), relleno);
    escribirArchivo(xml, muchos);
    EXPECT_EQ(ejecutar(Corrida::Exportar), "");
    EXPECT_EQ(leerTabla(ktemp / "ASIGT.DBF").size(), 1u);
}

namespace {

// SOLUC as other writers leave it: the header's count, the field list and the bytes vary.
std::string soluc(const std::vector<CampoBytes>& campos, const std::vector<std::string>& filas,
                  long cuenta = -1, std::uint8_t idioma = 0x57) {
    return tablaBytes(0x03, campos, filas, idioma, cuenta);
}

std::vector<CampoBytes> camposCon(const std::string& nombre, std::optional<CampoBytes> nuevo) {
    std::vector<CampoBytes> r;
    for (const auto& c : kCamposSoluc) {
        if (c.nombre != nombre)
            r.push_back(c);
        else if (nuevo)
            r.push_back(*nuevo);
    }
    return r;
}

} // namespace

// SOLUC and the tables it is read with, spoiled: a clear error that names the table and
// changes nothing, or, where the README says so, a result from the records that are whole.
TEST_F(EntradasMalas, SolucYTablasDeConsulta) {
    const std::string buena = soluc(kCamposSoluc, {kLeccion, kLeccion});
    const std::string sinAula = " " + kLeccion.substr(1, kLeccion.size() - 11);
    const std::vector<std::tuple<std::string, std::string, std::string, std::string>> fallan = {
        {"vacía", "SOLUC.DBF", "", "SOLUC.DBF"},
        {"cabecera cortada", "SOLUC.DBF", buena.substr(0, 20), "SOLUC.DBF"},
        {"lista de campos cortada", "SOLUC.DBF", buena.substr(0, 80), "SOLUC.DBF"},
        {"DIA de tipo fecha", "SOLUC.DBF",
         soluc(camposCon("DIA", CampoBytes{"DIA", 'D', 2}), {kLeccion}), "DIA"},
        {"DIA que no es un número", "SOLUC.DBF", soluc(kCamposSoluc, {" ab" + kLeccion.substr(3)}),
         "El registro número 1 de SOLUC, campo DIA: 'ab' is not a valid"},
        {"HORA que no es un número en el registro 2", "SOLUC.DBF",
         soluc(kCamposSoluc, {kLeccion, kLeccion.substr(0, 3) + "xy" + kLeccion.substr(5)}),
         "El registro número 2 de SOLUC, campo HORA: 'xy' is not a valid"},
        {"sin el campo AULA", "SOLUC.DBF", soluc(camposCon("AULA", std::nullopt), {sinAula}),
         "no tiene el campo AULA"},
        {"CODGRUPO de ancho 0", "SOLUC.DBF",
         soluc(camposCon("CODGRUPO", CampoBytes{"CODGRUPO", 'C', 0}),
               {kLeccion.substr(0, 9) + kLeccion.substr(19)}),
         "su campo CODGRUPO mide 0 bytes"},
        {"DIA de ancho 0", "SOLUC.DBF",
         soluc(camposCon("DIA", CampoBytes{"DIA", 'N', 0}), {" " + kLeccion.substr(3)}),
         "su campo DIA mide 0 bytes"},
        {"GRUPOST vacía", "GRUPOST.DBF", "", "GRUPOST.DBF"},
        {"GRUPOST cortada", "GRUPOST.DBF", leerArchivo(ktemp / "GRUPOST.DBF").substr(0, 100),
         "GRUPOST.DBF"},
        {"ASIGNOMT sin IDASIG", "ASIGNOMT.DBF",
         tablaBytes(0x03, {{"COD", 'C', 10}}, {" MAT       "}), "no tiene el campo IDASIG"},
    };
    const auto original = leerArchivo(ktemp / "SOLUC.DBF");
    for (const auto& [nombre, tabla, bytes, fragmento] : fallan) {
        SCOPED_TRACE(nombre);
        const auto anterior = leerArchivo(ktemp / tabla);
        escribirArchivo(ktemp / tabla, bytes);
        fallaSinCambiarNada(Corrida::Importar, fragmento);
        escribirArchivo(ktemp / tabla, anterior);
    }
    EXPECT_EQ(leerArchivo(ktemp / "SOLUC.DBF"), original);

    // Read as far as the records are whole, and as the header counts them.
    const std::string dos = soluc(kCamposSoluc, {kLeccion, kLeccion});
    const std::vector<std::tuple<std::string, std::string, std::size_t>> leen = {
        {"registro final cortado", dos.substr(0, dos.size() - 20), 1},
        {"cuenta mayor que los registros", soluc(kCamposSoluc, {kLeccion}, 5), 1},
        {"cuenta menor que los registros", soluc(kCamposSoluc, {kLeccion, kLeccion}, 1), 1},
        {"página de códigos desconocida", soluc(kCamposSoluc, {kLeccion}, -1, 0xEE), 1},
        {"ASIG de 255 caracteres",
         soluc(camposCon("ASIG", CampoBytes{"ASIG", 'C', 255}),
               {kLeccion.substr(0, 19) + texto("MAT", 255) + kLeccion.substr(29)}),
         1},
    };
    for (const auto& [nombre, bytes, lecciones] : leen) {
        SCOPED_TRACE(nombre);
        escribirArchivo(ktemp / "SOLUC.DBF", bytes);
        EXPECT_EQ(ejecutar(Corrida::Importar), "");
        const auto r = DocumentoDePrueba::cargar(datos / "ResultadoTamberlocentro.xml");
        EXPECT_EQ(r.selectNodes("/centro/solucion_horario/dsolucion").size(), lecciones);
    }
}

// Tamberlo's folder missing, read-only, or a file where it should be.
TEST_F(EntradasMalas, CarpetaDeTamberlo) {
    // Missing: it is made, as Tamberlo would have it.
    const auto nueva = datos / "nueva" / "KTEMP";
    carpeta = nueva;
    EXPECT_EQ(ejecutar(Corrida::Exportar), "");
    EXPECT_EQ(tablasEn(nueva).size(), 6u);

    // A file in its place: a clear error, and the file as it was.
    escribirArchivo(datos / "archivo", "no es una carpeta");
    carpeta = datos / "archivo";
    fallaSinCambiarNada(Corrida::Exportar, "no es una carpeta: ya existe un archivo");
    fallaSinCambiarNada(Corrida::Importar, "no es una carpeta: ya existe un archivo");
    carpeta = ktemp.ruta();

#ifndef _WIN32 // Windows' rights are not mode bits, and Wine lets anyone write anywhere
    // Read-only: both runs refuse, nothing is written there or beside the file.
    fs::permissions(datos.ruta(), fs::perms::all);
    fs::permissions(ktemp.ruta(), fs::perms::owner_read | fs::perms::owner_exec |
                                      fs::perms::group_read | fs::perms::group_exec |
                                      fs::perms::others_read | fs::perms::others_exec);
    {
        ComoOtroUsuario otro;
        fallaSinCambiarNada(Corrida::Exportar, "Permission denied");
        fallaSinCambiarNada(Corrida::Importar, "Permission denied");
    }
    fs::permissions(ktemp.ruta(), fs::perms::owner_all);
#endif
}

// A disk that fills up after any number of bytes, every one of them, while importar writes
// its result and its report: the result and Tamberlo's folder stay exactly as they were.
TEST_F(EntradasMalas, DiscoLlenoAlImportar) {
    const auto antesKtemp = instantanea(ktemp.ruta());
    const auto antesDatos = instantanea(datos.ruta());
    const std::size_t total = leerArchivo(datos / "ResultadoTamberlocentro.xml").size() +
                              leerArchivo(ktemp / kNombreInforme).size();
    for (std::size_t limite = 0; limite < total; ++limite) {
        SCOPED_TRACE(limite);
        DiscoConFallos disco;
        disco.limitarEscritura(limite);
        EXPECT_THROW(importar(datos / "centro.xml", ktemp.ruta(), informe, disco), Error);
        ASSERT_EQ(instantanea(ktemp.ruta()), antesKtemp);
        ASSERT_EQ(instantanea(datos.ruta()), antesDatos);
    }
    EXPECT_EQ(ejecutar(Corrida::Importar), "");
}

// The k-th file operation of importar fails, whatever it is, for every k: the result and
// Tamberlo's folder are as they were, or the run did its whole work.
namespace {

// A snapshot without the run's date and time: in the report, and in the result's root.
std::map<std::string, std::string> sinFechas(const fs::path& carpeta) {
    auto foto = sinFecha(instantanea(carpeta));
    for (auto& [ruta, bytes] : foto) {
        const std::string atributo = "fecha_exportacion=\"";
        const auto inicio = bytes.find(atributo);
        if (inicio != std::string::npos)
            bytes.erase(inicio, bytes.find('"', inicio + atributo.size()) - inicio);
    }
    return foto;
}

} // namespace

TEST_F(EntradasMalas, FalloEnCadaPasoAlImportar) {
    // A timetable of two lessons, so that the new result differs from the one in place.
    escribirArchivo(ktemp / "SOLUC.DBF", tablaBytes(0x03, kCamposSoluc, {kLeccion, kLeccion}));
    const auto antesKtemp = instantanea(ktemp.ruta());
    const auto antesDatos = instantanea(datos.ruta());
    const auto antesSinFechas = sinFechas(datos.ruta());
    std::size_t pasos = 0;
    {
        DiscoConFallos cuenta;
        cuenta.fallarEnPaso(0);
        importar(datos / "centro.xml", ktemp.ruta(), informe, cuenta);
        pasos = cuenta.pasos();
    }
    const auto nuevoKtemp = sinFechas(ktemp.ruta());
    const auto nuevoDatos = sinFechas(datos.ruta());
    ASSERT_NE(nuevoDatos, antesSinFechas);
    std::size_t comoAntes = 0;
    for (std::size_t k = 1; k <= pasos; ++k) {
        SCOPED_TRACE(k);
        escribirArchivo(datos / "ResultadoTamberlocentro.xml",
                        antesDatos.at("ResultadoTamberlocentro.xml"));
        // importar's own report, as it was before the first run (none, or the one in place).
        if (antesKtemp.count(kNombreInformeImportar))
            escribirArchivo(ktemp / kNombreInformeImportar, antesKtemp.at(kNombreInformeImportar));
        else
            std::filesystem::remove(ktemp / kNombreInformeImportar);
        DiscoConFallos disco;
        disco.fallarEnPaso(k);
        bool fallo = false;
        try {
            importar(datos / "centro.xml", ktemp.ruta(), informe, disco);
        } catch (const Error&) {
            fallo = true;
        }
        // What the next run does first: a removal that failed may have left a hidden name.
        retirarAbandonados(discoDelSistema(), datos.ruta(), ".ResultadoTamberlocentro.xml.");
        if (instantanea(ktemp.ruta()) == antesKtemp && instantanea(datos.ruta()) == antesDatos) {
            EXPECT_TRUE(fallo);
            ++comoAntes;
        } else {
            EXPECT_EQ(sinFechas(ktemp.ruta()), nuevoKtemp);
            EXPECT_EQ(sinFechas(datos.ruta()), nuevoDatos);
        }
    }
    EXPECT_GT(comoAntes, 0u);
}

// A table that cannot be read half-way (the device fails once half its bytes have come), on a
// system that maps no table and reads each instead: the run names the table it could not
// read and changes nothing. Every table read is tried, in both runs that read tables.
TEST_F(EntradasMalas, TablaQueNoSePuedeLeer) {
    for (const Corrida corrida : {Corrida::Exportar, Corrida::Importar}) {
        SCOPED_TRACE(corrida == Corrida::Exportar ? "exportar" : "importar");
        const auto correr = [&](DiscoConFallos& disco) {
            disco.sinVistas();
            return desenlace([&] {
                return corrida == Corrida::Exportar ? exportar(xml, carpeta, informe, disco)
                                                    : importar(xml, carpeta, informe, disco);
            });
        };
        // Each read as a step of its own, with the table it reads.
        std::vector<std::pair<std::size_t, std::string>> lecturas;
        {
            DiscoConFallos cuenta;
            cuenta.fallarEnPaso(0);
            ASSERT_EQ(correr(cuenta), "");
            std::string tabla;
            for (std::size_t i = 0; i < cuenta.registro().size(); ++i) {
                const auto& op = cuenta.registro()[i];
                if (op.nombre == "abrirExclusivo") tabla = op.ruta.filename().string();
                if (op.nombre == "leerTodo") lecturas.emplace_back(i + 1, tabla);
            }
        }
        ASSERT_FALSE(lecturas.empty());
        const auto antesKtemp = instantanea(ktemp.ruta());
        const auto antesDatos = instantanea(datos.ruta());
        for (const auto& [paso, tabla] : lecturas) {
            SCOPED_TRACE(tabla);
            DiscoConFallos disco;
            disco.fallarEnPaso(paso);
            const std::string error = correr(disco);
            EXPECT_NE(error.find("No se pudo leer la tabla "), std::string::npos) << error;
            EXPECT_NE(error.find(tabla), std::string::npos) << error;
            EXPECT_EQ(instantanea(ktemp.ruta()), antesKtemp);
            EXPECT_EQ(instantanea(datos.ruta()), antesDatos);
        }
    }
}

// Tamberlo holding a table, or a table this process has open: exportar and importar say which
// one is in use and change nothing; once it is free, both work again.
TEST_F(EntradasMalas, TablaEnUsoPorOtroPrograma) {
    struct Caso {
        Corrida run;
        const char* tabla;
        bool enEsteProceso;
    };
    for (const auto& c : std::vector<Caso>{{Corrida::Exportar, "ASIGT.DBF", false},
                                           {Corrida::Exportar, "PROFT.DBF", false},
                                           {Corrida::Exportar, "GRUPOST.DBF", true},
                                           {Corrida::Importar, "SOLUC.DBF", false},
                                           {Corrida::Importar, "AULAT.DBF", false},
                                           {Corrida::Importar, "AULAT.DBF", true}}) {
        SCOPED_TRACE(std::string(c.tabla) + (c.enEsteProceso ? " en este proceso" : ""));
        std::optional<TablaRetenida> tamberlo;
        std::optional<TablaDBase> abierta;
        if (c.enEsteProceso)
            abierta.emplace(TablaDBase::abrir(ktemp / c.tabla, Durable::Si, discoDelSistema()));
        else
            tamberlo.emplace(ktemp / c.tabla);
        EXPECT_NE(fallaSinCambiarNada(c.run, c.tabla).find("en uso"), std::string::npos);
    }
    EXPECT_EQ(ejecutar(Corrida::Exportar), "");
    EXPECT_EQ(ejecutar(Corrida::Importar), "");
}

#ifndef _WIN32 // a run's hold on its staging folder is a lock here, a handle on Windows
// What a killed run leaves (its staging folder, a file it had not yet put in place) goes
// with the next run; what only looks like it, a link, or what a live run holds, stays.
TEST_F(EntradasMalas, RestosDeCorridasInterrumpidas) {
    struct Resto {
        fs::path ruta;
        bool carpeta;
        bool seRetira;
    };
    const std::string aMedias = std::string(".") + kNombreInformeImportar + ".";
    const std::vector<Resto> restos = {
        {ktemp / ".pontavia-preparacion-aB3xYz", true, true},
        {ktemp / (aMedias + "k9LmN0"), false, true},
        {datos / ".ResultadoTamberlocentro.xml.Zz09aA", false, true},
        {ktemp / ".pontavia-preparacion-abc", true, false},
        {ktemp / ".pontavia-preparacion-abc-12", true, false},
        {ktemp / "pontavia-preparacion-aB3xYz", true, false},
        {ktemp / (aMedias + "k9LmN"), false, false},
        {ktemp / (aMedias + "k9-mN0"), false, false},
        {ktemp / ".SOLUC.DBF.k9LmN0", false, false},
        {datos / ".otro.xml.Zz09aA", false, false},
    };
    for (const auto& r : restos) {
        if (r.carpeta) {
            fs::create_directory(r.ruta);
            escribirArchivo(r.ruta / "ASIGNOMT.DBF", "a medias");
        } else {
            escribirArchivo(r.ruta, "a medias");
        }
    }
    // A link named like a staging folder: neither it nor what it points to is touched.
    const auto fuera = datos / "fuera";
    fs::create_directory(fuera);
    escribirArchivo(fuera / "ASIGNOMT.DBF", "ajeno");
    const auto enlace = ktemp / ".pontavia-preparacion-Enlac1";
    fs::create_directory_symlink(fuera, enlace);
    // The staging folder of a run still going on.
    const auto viva = ktemp / ".pontavia-preparacion-Viva01";
    fs::create_directory(viva);
    {
        TablaRetenida otraCorrida(viva);
        EXPECT_EQ(ejecutar(Corrida::Exportar), "");
        EXPECT_EQ(ejecutar(Corrida::Importar), "");
        EXPECT_TRUE(fs::is_directory(viva));
    }
    for (const auto& r : restos)
        EXPECT_EQ(fs::exists(r.ruta), !r.seRetira) << r.ruta;
    EXPECT_TRUE(fs::is_symlink(enlace));
    EXPECT_EQ(leerArchivo(fuera / "ASIGNOMT.DBF"), "ajeno");
    // Once that run has ended without clearing up (its last process gone: the lock is free),
    // its folder goes too.
    for (int i = 0; i < 500; ++i) {
        const int fd = ::open(viva.c_str(), O_RDONLY | O_CLOEXEC);
        const bool libre = fd >= 0 && ::flock(fd, LOCK_EX | LOCK_NB) == 0;
        if (fd >= 0) ::close(fd);
        if (libre) break;
        ::usleep(10'000);
    }
    EXPECT_EQ(ejecutar(Corrida::Exportar), "");
    EXPECT_FALSE(fs::exists(viva));
}
#endif

namespace {

// The error a run raised, or nothing when it ended without one.
template <typename Corrida> std::optional<Error> errorDe(Corrida&& corrida) {
    try {
        corrida();
    } catch (const Error& e) {
        return e;
    }
    return std::nullopt;
}

} // namespace

// Every refusal says what kind of fault it is, for a front end to act on, and where it lies:
// the file with its line and column, the element with its identifier and attribute, the
// table with its record and field. The sentence the user reads is checked by the cases above.
TEST_F(EntradasMalas, CadaErrorDiceQueEsYDonde) {
    const std::string bueno = colegio();
    const std::string x = xml.string();
    const LugarError aula{.elemento = "daula",
                          .posicion = 1,
                          .atributoIdentificador = "idaula",
                          .identificador = "31",
                          .codigo = "A1",
                          .nombre = "Aula 1"};
    auto en = [](LugarError l, auto cambiar) {
        cambiar(l);
        return l;
    };
    struct Caso {
        std::string nombre;
        Corrida run;
        std::string archivoXML; // VELMORA's file, or "" to leave it
        std::vector<std::pair<std::string, std::string>> tablas; // Tamberlo's, replaced
        ClaseError clase;
        LugarError lugar;
    };
    const std::vector<Caso> casos = {
        {"dos exportaciones pegadas",
         Corrida::Exportar,
         bueno + bueno,
         {},
         ClaseError::MalFormada,
         {.archivo = x, .linea = 3, .columna = 1}},
        {"atributo repetido",
         Corrida::Importar,
         cambiar(bueno, "codigo_interno=\"1\"", "codigo_interno=\"1\" codigo_interno=\"2\""),
         {},
         ClaseError::MalFormada,
         {.archivo = x, .linea = 2, .columna = 28}},
        {"UTF-8 no válido",
         Corrida::Exportar,
         "<centro nombre=\"\xC3\x28\"/>",
         {},
         ClaseError::MalFormada,
         {.archivo = x, .linea = 1, .columna = 17}},
        {"otra raíz",
         Corrida::Importar,
         "<escuela/>",
         {},
         ClaseError::NoEsDeVelmora,
         {.archivo = x, .elemento = "escuela"}},
        {"sin capacidad",
         Corrida::Exportar,
         colegio({{"daula.capacidad_alumnos", std::nullopt}}),
         {},
         ClaseError::ValorNoValido,
         en(aula, [](LugarError& l) { l.atributo = "capacidad_alumnos"; })},
        {"capacidad en letras",
         Corrida::Exportar,
         colegio({{"daula.capacidad_alumnos", "treinta"}}),
         {},
         ClaseError::ValorNoValido,
         en(aula,
            [](LugarError& l) {
                l.atributo = "capacidad_alumnos";
                l.tabla = "AULAT.DBF";
                l.campo = "MAXALUM";
            })},
        {"horas fuera de rango",
         Corrida::Exportar,
         colegio({{"dasignatura.nhoras", "1e300"}}),
         {},
         ClaseError::ValorNoValido,
         {.elemento = "dasignatura", .posicion = 1, .atributo = "nhoras"}},
        {"DIA en letras",
         Corrida::Importar,
         "",
         {{"SOLUC.DBF", soluc(kCamposSoluc, {kLeccion, " ab" + kLeccion.substr(3)})}},
         ClaseError::ValorNoValido,
         {.tabla = "SOLUC", .registro = 2, .campo = "DIA"}},
        {"SOLUC sin AULA",
         Corrida::Importar,
         "",
         {{"SOLUC.DBF", soluc(camposCon("AULA", std::nullopt),
                              {" " + kLeccion.substr(1, kLeccion.size() - 11)})}},
         ClaseError::TablaDanada,
         {.tabla = (ktemp / "SOLUC.DBF").string(), .campo = "AULA"}},
        {"CODGRUPO de ancho 0",
         Corrida::Importar,
         "",
         {{"SOLUC.DBF", soluc(camposCon("CODGRUPO", CampoBytes{"CODGRUPO", 'C', 0}),
                              {kLeccion.substr(0, 9) + kLeccion.substr(19)})}},
         ClaseError::TablaDanada,
         {.tabla = "SOLUC.DBF", .campo = "CODGRUPO"}},
        {"SOLUC vacía",
         Corrida::Importar,
         "",
         {{"SOLUC.DBF", ""}},
         ClaseError::TablaDanada,
         {.tabla = "SOLUC.DBF"}},
    };
    for (const auto& c : casos) {
        SCOPED_TRACE(c.nombre);
        const auto antesXML = leerArchivo(xml);
        std::map<std::string, std::string> antes;
        if (!c.archivoXML.empty()) escribirArchivo(xml, c.archivoXML);
        for (const auto& [tabla, bytes] : c.tablas) {
            antes[tabla] = leerArchivo(ktemp / tabla);
            escribirArchivo(ktemp / tabla, bytes);
        }
        const auto e = errorDe([&] {
            return c.run == Corrida::Exportar ? exportar(xml, carpeta, informe)
                                              : importar(xml, carpeta, informe);
        });
        ASSERT_TRUE(e.has_value());
        EXPECT_EQ(e->clase(), c.clase) << e->what();
        EXPECT_TRUE(e->lugar() == c.lugar) << e->what();
        escribirArchivo(xml, antesXML);
        for (const auto& [tabla, bytes] : antes)
            escribirArchivo(ktemp / tabla, bytes);
    }
}

// What does not lie in VELMORA's file: Tamberlo's folder and tables, and the undo.
TEST_F(EntradasMalas, CadaErrorDeCarpetaYTablasDiceQueEsYDonde) {
    auto errorAl = [&](Corrida run) {
        return errorDe([&] {
            return run == Corrida::Exportar ? exportar(xml, carpeta, informe)
                                            : importar(xml, carpeta, informe);
        });
    };
    // Tamberlo holds a table.
    {
        TablaRetenida tamberlo(ktemp / "AULAT.DBF");
        const auto e = errorAl(Corrida::Importar);
        ASSERT_TRUE(e.has_value());
        EXPECT_EQ(e->clase(), ClaseError::TablaRetenida);
        EXPECT_TRUE(e->lugar() == LugarError{.tabla = (ktemp / "AULAT.DBF").string()}) << e->what();
    }
    // A table importar reads, missing.
    {
        const auto grupos = leerArchivo(ktemp / "GRUPOST.DBF");
        fs::remove(ktemp / "GRUPOST.DBF");
        const auto e = errorAl(Corrida::Importar);
        ASSERT_TRUE(e.has_value());
        EXPECT_EQ(e->clase(), ClaseError::FaltaEntrada);
        EXPECT_TRUE(e->lugar() == LugarError{.tabla = (ktemp / "GRUPOST.DBF").string()})
            << e->what();
        escribirArchivo(ktemp / "GRUPOST.DBF", grupos);
    }
    // A file where Tamberlo's folder should be.
    escribirArchivo(datos / "archivo", "no es una carpeta");
    carpeta = datos / "archivo";
    for (const auto run : {Corrida::Exportar, Corrida::Importar}) {
        const auto e = errorAl(run);
        ASSERT_TRUE(e.has_value());
        EXPECT_EQ(e->clase(), ClaseError::FalloDeDisco);
        EXPECT_TRUE(e->lugar() == LugarError{.archivo = carpeta.string()}) << e->what();
    }
    // A full disk.
    carpeta = ktemp.ruta();
    {
        DiscoConFallos disco;
        disco.limitarEscritura(0);
        const auto e = errorDe([&] { return exportar(xml, carpeta, informe, disco); });
        ASSERT_TRUE(e.has_value());
        EXPECT_EQ(e->clase(), ClaseError::FalloDeDisco) << e->what();
    }
    // Nothing kept to restore.
    CarpetaTemporal vacia;
    const auto e = errorDe([&] { return restaurar(vacia.ruta()); });
    ASSERT_TRUE(e.has_value());
    EXPECT_EQ(e->clase(), ClaseError::NadaQueRestaurar);
    EXPECT_TRUE(e->lugar() == LugarError{.archivo = vacia.ruta().string()}) << e->what();
}

// What the user reads: first the item or table by the name and code VELMORA or Tamberlo show,
// what is wrong, what to do and that nothing was changed; then the fault's own sentence, the
// system's words unchanged.
TEST_F(EntradasMalas, ElMensajeDiceQueHacerYQueNadaCambio) {
    struct Caso {
        std::string nombre;
        Corrida run;
        std::string archivoXML; // VELMORA's file, or "" to leave it
        std::string soluc;      // SOLUC's bytes, or "" to leave it
        std::string inicio;     // how the message starts
        std::string propio;     // how the fault's own sentence ends
    };
    const std::vector<Caso> casos = {
        {"capacidad en letras", Corrida::Exportar,
         colegio({{"daula.capacidad_alumnos", "treinta"}}), "",
         "El aula «Aula 1» (código A1) tiene en «capacidad_alumnos» un valor que no sirve: "
         "corríjalo en VELMORA",
         "'treinta' is not a valid integer value for field 'MAXALUM'"},
        {"horas que no son un número", Corrida::Exportar, colegio({{"dasignatura.nhoras", "nan"}}),
         "", "La asignatura número 1 tiene en «nhoras» un valor que no sirve",
         "'nan' is not a valid floating point value"},
        {"profesor sin documento", Corrida::Exportar,
         colegio({{"profesor.documento", std::nullopt}}), "",
         "El profesor «Ana Ruiz Gil» (código ANA) no tiene el dato «documento», que hace falta",
         "no tiene el atributo documento."},
        {"otra raíz", Corrida::Importar, "<escuela/>", "",
         "El archivo " + xml.string() + " no es una exportación de VELMORA",
         "y debería ser centro."},
        {"DIA en letras", Corrida::Importar, "", soluc(kCamposSoluc, {" ab" + kLeccion.substr(3)}),
         "La lección número 1 del horario de Tamberlo (SOLUC) tiene en su campo DIA un valor que "
         "no se puede leer: vuelva a guardar el horario en Tamberlo",
         "'ab' is not a valid floating point value"},
        {"SOLUC vacía", Corrida::Importar, "", std::string(1, '\0'),
         "La tabla SOLUC.DBF de la carpeta de Tamberlo está dañada",
         "menos que la cabecera más corta (33)."},
    };
    for (const auto& c : casos) {
        SCOPED_TRACE(c.nombre);
        const auto antesXML = leerArchivo(xml);
        const auto antesSoluc = leerArchivo(ktemp / "SOLUC.DBF");
        if (!c.archivoXML.empty()) escribirArchivo(xml, c.archivoXML);
        if (!c.soluc.empty()) escribirArchivo(ktemp / "SOLUC.DBF", c.soluc);
        try {
            c.run == Corrida::Exportar ? exportar(xml, carpeta, informe)
                                       : importar(xml, carpeta, informe);
            ADD_FAILURE() << "sin error";
        } catch (const Error& e) {
            const std::string mensaje = mensajeParaElUsuario(e);
            EXPECT_EQ(mensaje.rfind(c.inicio, 0), 0u) << mensaje;
            EXPECT_TRUE(mensaje.ends_with(" No se ha cambiado nada.\n\n" + std::string(e.what())))
                << mensaje;
            EXPECT_TRUE(std::string(e.what()).ends_with(c.propio)) << e.what();
        }
        escribirArchivo(xml, antesXML);
        escribirArchivo(ktemp / "SOLUC.DBF", antesSoluc);
    }
    // A table Tamberlo holds, by its file's name.
    TablaRetenida tamberlo(ktemp / "AULAT.DBF");
    try {
        exportar(xml, carpeta, informe);
        ADD_FAILURE() << "sin error";
    } catch (const Error& e) {
        EXPECT_EQ(mensajeParaElUsuario(e).rfind("Otro programa, seguramente Tamberlo, tiene "
                                                "abierta la tabla AULAT.DBF: cierre Tamberlo",
                                                0),
                  0u)
            << mensajeParaElUsuario(e);
    }
}
