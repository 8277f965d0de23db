// A document written while one of its elements is still being filled must come out byte for
// byte as if the whole tree had been built and saved: Tamberlo's lessons are written that way.
#include "archivo_atomico.h"
#include "ayudantes.h"
#include "documento_de_prueba.h"
#include "documento_xml.h"
#include "hijos_en_curso.h"

#include <gtest/gtest.h>

using namespace pontavia;
using namespace pontavia::prueba;

namespace {

struct TextoXML : pugi::xml_writer {
    std::string texto;
    void write(const void* datos, size_t n) override {
        texto.append(static_cast<const char*>(datos), n);
    }
};

// Values that need escaping, control characters, a NUL and non-ASCII text.
const std::vector<std::string> kValoresDificiles = {
    "",
    "MAT1",
    "a&b<c>d\"e'f",
    "tab\tline\nret\r",
    std::string("\x01\x09\x1F z"),
    std::string("antes\0después", 14),
    "Ñandú € Ωmega",
    "&amp; ya escapado",
};

std::string comoLoEscribePugixml(const std::vector<std::pair<const char*, std::string>>& attrs) {
    pugi::xml_document d;
    pugi::xml_node e = d.append_child("dsolucion");
    for (const auto& [nombre, valor] : attrs)
        e.append_attribute(nombre).set_value(valor.c_str());
    TextoXML t;
    e.print(t, "", pugi::format_indent);
    return t.texto;
}

std::string comoLoEscribeFila(const std::vector<std::pair<const char*, std::string>>& attrs) {
    FilaXML f;
    f.empezar("dsolucion");
    for (const auto& [nombre, valor] : attrs)
        f.anadirAtributo(nombre, valor);
    return f.texto() + " />\n";
}

// The rows that a producer adds, given as (name, value) attribute lists.
using Filas = std::vector<std::vector<std::pair<const char*, std::string>>>;

Filas filasDePrueba(std::size_t n) {
    Filas filas;
    for (std::size_t i = 0; i < n; ++i)
        filas.push_back({{"casig", std::to_string(1000 + i)},
                         {"cgrupo", kValoresDificiles[i % kValoresDificiles.size()]},
                         {"dia", std::to_string(i % 5 + 1)}});
    return filas;
}

// The same document twice: once built whole and saved, once written with the rows streamed
// into contenedor (found by path in each copy).
std::pair<std::string, std::string>
ambasEscrituras(const std::string& fuente, const char* rutaContenedor, const Filas& filas) {
    CarpetaTemporal tmp;
    auto entero = DocumentoDePrueba::desdeBytes(fuente, "x.xml");
    Nodo destino = DocumentoDePrueba::primero(entero, rutaContenedor);
    for (const auto& fila : filas) {
        Nodo e = destino.append_child("dsolucion");
        for (const auto& [nombre, valor] : fila)
            anadirAtributo(e, nombre, valor);
    }
    DocumentoDePrueba::guardar(entero, tmp / "entero.xml");

    auto enCurso = DocumentoDePrueba::desdeBytes(fuente, "x.xml");
    {
        ArchivoPreparado archivo(discoDelSistema(), tmp / "en_curso.xml");
        enCurso.escribirEn(archivo, DocumentoDePrueba::primero(enCurso, rutaContenedor),
                           [&](HijosEnCurso& hijos) {
                               for (const auto& fila : filas) {
                                   FilaXML& f = hijos.crear("dsolucion");
                                   for (const auto& [nombre, valor] : fila)
                                       f.anadirAtributo(nombre, valor);
                                   hijos.escribir(f);
                               }
                           });
        archivo.confirmar();
    }
    return {leerArchivo(tmp / "entero.xml"), leerArchivo(tmp / "en_curso.xml")};
}

std::string enUtf16(const std::string& ascii, bool le) {
    std::string s;
    for (char c : ascii)
        s += le ? std::string{c, '\0'} : std::string{'\0', c};
    return s;
}

} // namespace

TEST(FilaXML, EscapaComoPugixml) {
    for (const std::string& v : kValoresDificiles) {
        SCOPED_TRACE(v);
        EXPECT_EQ(comoLoEscribeFila({{"v", v}}), comoLoEscribePugixml({{"v", v}}));
    }
    EXPECT_EQ(comoLoEscribeFila({}), comoLoEscribePugixml({}));
    const std::vector<std::pair<const char*, std::string>> varios = {
        {"casig", "1"}, {"cgrupo", "<2>"}, {"caula", ""}};
    EXPECT_EQ(comoLoEscribeFila(varios), comoLoEscribePugixml(varios));
}

TEST(EscrituraEnCurso, MismosBytesQueElArbolEntero) {
    const std::string cuerpo = "<!-- cabecera -->\n"
                               "<centro nombre=\"I.E.S. &quot;Mar&quot; &amp; Ñ\" curso=\"2026\">"
                               "<materias><dmateria idmateria=\"1\"/></materias>"
                               "<horario><solucion_horario version=\"2\"/><otros/></horario>"
                               "<final a=\"b\">texto</final></centro>";
    struct Caso {
        const char* nombre;
        const char* contenedor;
        std::size_t filas;
    };
    const std::vector<Caso> casos = {
        {"muchas filas", "/centro/horario/solucion_horario", 3000},
        {"ninguna fila", "/centro/horario/solucion_horario", 0},
        {"tras hijos que ya tiene", "/centro/materias", 5},
        {"en la raíz", "/centro", 2},
    };
    for (const char* codificacion :
         {"UTF-8", "ISO-8859-1", "windows-1252", "UTF-16LE", "UTF-16BE"}) {
        std::string fuente =
            std::string("<?xml version=\"1.0\" encoding=\"") + codificacion + "\"?>\n" + cuerpo;
        const std::string c(codificacion);
        if (c.starts_with("UTF-16")) {
            // The body's non-ASCII characters are only in the Latin-1 range.
            std::string latin1;
            for (std::size_t i = 0; i < fuente.size(); ++i) {
                const auto b = static_cast<unsigned char>(fuente[i]);
                if (b == 0xC3) {
                    latin1 += static_cast<char>(0x40 + static_cast<unsigned char>(fuente[++i]));
                } else {
                    latin1 += fuente[i];
                }
            }
            fuente = (c == "UTF-16LE" ? "\xFF\xFE" : "\xFE\xFF") + enUtf16(latin1, c == "UTF-16LE");
        }
        for (const Caso& caso : casos) {
            SCOPED_TRACE(std::string(codificacion) + ", " + caso.nombre);
            const auto [entero, enCurso] =
                ambasEscrituras(fuente, caso.contenedor, filasDePrueba(caso.filas));
            EXPECT_EQ(enCurso, entero);
        }
    }
}

TEST(EscrituraEnCurso, ContenedorDeOtroDocumento) {
    CarpetaTemporal tmp;
    auto doc = DocumentoDePrueba::desdeBytes("<centro/>", "x.xml");
    auto otro = DocumentoDePrueba::desdeBytes("<centro><a/></centro>", "y.xml");
    ArchivoPreparado archivo(discoDelSistema(), tmp / "r.xml");
    EXPECT_THROW(doc.escribirEn(archivo, DocumentoDePrueba::primero(otro, "/centro/a"),
                                [](HijosEnCurso&) {}),
                 std::invalid_argument);
}
