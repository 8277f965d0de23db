// The XML document: encodings in and out, the prolog kept, clear errors, no entities.
#include "ayudantes.h"
#include "documento_xml.h"
#include "error.h"

#include <gtest/gtest.h>

using namespace pontavia;
using namespace pontavia::prueba;

namespace {

// The error for these bytes, given as they are or read from a file.
std::string mensajeDe(const std::string& bytes, bool desdeArchivo = false) {
    CarpetaTemporal tmp;
    try {
        if (desdeArchivo) {
            escribirArchivo(tmp / "centro.xml", bytes);
            DocumentoXML::cargar(tmp / "centro.xml");
        } else {
            DocumentoXML::desdeBytes(bytes, "centro.xml");
        }
    } catch (const Error& e) {
        return e.what();
    }
    return "";
}

} // namespace

TEST(DocumentoXML, LeeLasCodificacionesDeclaradas) {
    const std::string latin1 =
        "<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?><centro nombre=\"Mar\xEDtima\"/>";
    const std::string utf8 =
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?><centro nombre=\"Marítima\"/>";
    const std::string sinDeclaracion = "<centro nombre=\"Marítima\"/>";
    std::string utf16 = "\xFF\xFE";
    for (char c : std::string("<centro nombre=\"Mar\xEDtima\"/>")) {
        utf16 += c;
        utf16 += '\0';
    }
    const std::string w1252 =
        "<?xml version=\"1.0\" encoding=\"windows-1252\"?><centro nombre=\"Mar\xEDtima \x80\"/>";
    for (const auto& [bytes, esperado] :
         std::vector<std::pair<std::string, std::string>>{{latin1, "Marítima"},
                                                          {utf8, "Marítima"},
                                                          {sinDeclaracion, "Marítima"},
                                                          {utf16, "Marítima"},
                                                          {w1252, "Marítima €"}}) {
        const auto d = DocumentoXML::desdeBytes(bytes, "x.xml");
        EXPECT_EQ(std::string(d.documentElement().attribute("nombre").value()), esperado);
    }
}

TEST(DocumentoXML, ErroresConRazonYLinea) {
    const std::vector<std::pair<std::string, std::string>> casos = {
        {"no es XML", "(línea 1"},
        {"<centro>\n<materias>\n</centro>", "línea 3"},
        // Line ends inside a value still count, though the parser turns them into blanks.
        {"\xEF\xBB\xBF<centro a=\"x\ny\r\nz\">\n<materias>\n</centro>", "línea 5"},
        {"<?xml version=\"1.0\" encoding=\"KLINGON-9\"?><centro/>", "codificación desconocida"},
        {"<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<centro nombre=\"\xFF\"/>", "UTF-8"},
        {"", "no hay elemento raíz"},
    };
    for (const auto& [bytes, fragmento] : casos) {
        for (const bool desdeArchivo : {false, true}) {
            const std::string m = mensajeDe(bytes, desdeArchivo);
            EXPECT_NE(m.find("centro.xml"), std::string::npos) << m;
            EXPECT_NE(m.find(fragmento), std::string::npos) << bytes << " -> " << m;
        }
    }
}

TEST(DocumentoXML, NoExpandeEntidadesNiLeeArchivosExternos) {
    const std::string bytes = "<?xml version=\"1.0\"?>\n"
                              "<!DOCTYPE centro [<!ENTITY x SYSTEM \"file:///etc/passwd\">"
                              "<!ENTITY a \"aaaaaaaaaa\"><!ENTITY b \"&a;&a;&a;&a;&a;\">]>\n"
                              "<centro nombre=\"&x;&b;\"/>";
    const auto d = DocumentoXML::desdeBytes(bytes, "x.xml");
    const std::string valor = d.documentElement().attribute("nombre").value();
    EXPECT_EQ(valor.find("root:"), std::string::npos);
    EXPECT_EQ(valor.find("aaaaa"), std::string::npos);
}

TEST(DocumentoXML, SeleccionYAtributosRecortados) {
    const auto d = DocumentoXML::desdeBytes(
        documento("<aulas><daula codigo=\" A1 \" idaula=\"501\"/><daula idaula=\"502\"/></aulas>"),
        "x.xml");
    const Nodos nodos = d.selectNodes("/centro/aulas/daula");
    ASSERT_EQ(nodos.size(), 2u);
    EXPECT_EQ(ElementoXML(nodos[0], 0, "idaula").leer("codigo"), "A1");
    try {
        ElementoXML(nodos[1], 1, "idaula").leer("codigo");
        ADD_FAILURE();
    } catch (const Error& e) {
        EXPECT_EQ(std::string(e.what()),
                  "El elemento daula número 2 (idaula 502) no tiene el atributo codigo.");
    }
    EXPECT_TRUE(d.selectNodes("/centro/materias/dmateria").empty());
}

TEST(DocumentoXML, GuardaConSuPrologoYSuCodificacion) {
    CarpetaTemporal tmp;
    const std::string latin1 =
        "<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?>\n<!-- cabecera -->\n"
        "<centro nombre=\"Mar\xEDtima\"/>";
    auto d = DocumentoXML::desdeBytes(latin1, "x.xml");
    Nodo viejo = d.documentElement();
    Nodo nuevo = d.createElement("centro");
    setAttribute(nuevo, "nombre", "Ωmega ñ");
    setAttribute(nuevo, "dia", 3LL);
    d.replaceChild(nuevo, viejo);
    d.save(tmp / "r.xml");
    const std::string bytes = leerArchivo(tmp / "r.xml");
    EXPECT_EQ(bytes.rfind("<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?>", 0), 0u) << bytes;
    EXPECT_NE(bytes.find("<!-- cabecera -->"), std::string::npos);
    // ñ as its Latin-1 byte; Ω, which Latin-1 lacks, as a character reference.
    EXPECT_NE(bytes.find("nombre=\"&#937;mega \xF1\" dia=\"3\""), std::string::npos) << bytes;
    const auto releido = DocumentoXML::cargar(tmp / "r.xml");
    EXPECT_EQ(std::string(releido.documentElement().attribute("nombre").value()), "Ωmega ñ");
}

// A large document is written a piece at a time, so characters fall across the pieces'
// edges; every encoding must still give back exactly what was set.
TEST(DocumentoXML, DocumentoGrandeIdaYVueltaEnCadaCodificacion) {
    CarpetaTemporal tmp;
    for (const char* codificacion :
         {"UTF-8", "ISO-8859-1", "windows-1252", "UTF-16LE", "UTF-16BE"}) {
        SCOPED_TRACE(codificacion);
        std::string fuente =
            std::string("<?xml version=\"1.0\" encoding=\"") + codificacion + "\"?><centro/>";
        const std::string c16(codificacion);
        if (c16.starts_with("UTF-16")) {
            std::string utf16 = c16 == "UTF-16LE" ? "\xFF\xFE" : "\xFE\xFF";
            for (char c : fuente)
                utf16 += c16 == "UTF-16LE" ? std::string{c, '\0'} : std::string{'\0', c};
            fuente = utf16;
        }
        auto d = DocumentoXML::desdeBytes(fuente, "x.xml");
        Nodo centro = d.documentElement();
        std::vector<std::string> valores;
        for (int i = 0; i < 20000; ++i) {
            valores.push_back(std::string(static_cast<std::size_t>(i % 7), 'a') + "ñ€Łü\"<&" +
                              std::to_string(i));
            setAttribute(centro.append_child("d"), "v", valores.back());
        }
        d.save(tmp / "g.xml");
        const auto releido = DocumentoXML::cargar(tmp / "g.xml");
        EXPECT_EQ(releido.codificacion(), codificacion);
        std::size_t i = 0;
        for (Nodo n : releido.selectNodes("/centro/d"))
            ASSERT_EQ(std::string(n.attribute("v").value()), valores[i++]);
        EXPECT_EQ(i, valores.size());
    }
}

// In UTF-7 even ASCII is not always itself ('+' opens an encoded run), so no part of the
// document may skip the conversion, be it all ASCII or not.
TEST(DocumentoXML, UTF7NoTomaElASCIIPorSuyo) {
    CarpetaTemporal tmp;
    for (const std::vector<std::string>& valores :
         {std::vector<std::string>{"1+1=2", "+AGE-"}, std::vector<std::string>{"ñ+ü", "a+b"}}) {
        auto d = DocumentoXML::desdeBytes("<?xml version=\"1.0\" encoding=\"UTF-7\"?><centro/>",
                                          "x.xml");
        for (const std::string& v : valores)
            setAttribute(d.documentElement().append_child("d"), "v", v);
        d.save(tmp / "r.xml");
        const auto releido = DocumentoXML::cargar(tmp / "r.xml");
        std::vector<std::string> leidos;
        for (Nodo n : releido.selectNodes("/centro/d"))
            leidos.push_back(n.attribute("v").value());
        EXPECT_EQ(leidos, valores);
    }
}

// Plain paths are walked without XPath; they must select what XPath selects, in its order.
TEST(DocumentoXML, SeleccionComoXPath) {
    const auto d = DocumentoXML::desdeBytes(
        "<?xml version=\"1.0\"?><!-- c --><centro>"
        "<materias><dmateria id=\"1\"/>texto<!-- x --><dmateria id=\"2\"><dmateria id=\"3\"/>"
        "</dmateria></materias><aulas/><materias><dmateria id=\"4\"/></materias>"
        "<materias2><dmateria id=\"5\"/></materias2></centro>",
        "x.xml");
    for (const char* ruta :
         {"/centro/materias/dmateria", "/centro/materias", "/centro", "/centro/aulas/daula",
          "/otro/materias/dmateria", "/centro/materias/dmateria/dmateria",
          "/centro/materias/dmateria[@id='2']", "/centro/*/dmateria", "//dmateria"}) {
        SCOPED_TRACE(ruta);
        Nodos esperados;
        for (const auto& n : d.documentElement().root().select_nodes(ruta))
            esperados.push_back(n.node());
        EXPECT_EQ(d.selectNodes(ruta), esperados);
    }
}

// Every encoding that the system converts writes what it lacks as a character reference and
// reads back the same text, whichever system converts it.
TEST(DocumentoXML, OtrasCodificacionesEscribenComoReferenciaLoQueNoTienen) {
    struct Caso {
        const char* codificacion;
        const char* valor;
        const char* bytes;
    };
    const std::vector<Caso> casos = {
        {"windows-1252", "ñ€Ł", "\xF1\x80&#321;"},
        {"windows-1251", "Жñ", "\xC6&#241;"},
        {"KOI8-R", "Жñ", "\xF6&#241;"},
        {"Shift_JIS", "日本Ł", "\x93\xFA\x96\x7B&#321;"},
        {"windows-1252", "a😀b", "a&#128512;b"},
    };
    CarpetaTemporal tmp;
    for (const Caso& caso : casos) {
        SCOPED_TRACE(std::string(caso.codificacion) + " " + caso.valor);
        auto d = DocumentoXML::desdeBytes(std::string("<?xml version=\"1.0\" encoding=\"") +
                                              caso.codificacion + "\"?><centro/>",
                                          "x.xml");
        setAttribute(d.documentElement(), "v", caso.valor);
        d.save(tmp / "r.xml");
        const std::string bytes = leerArchivo(tmp / "r.xml");
        EXPECT_NE(bytes.find(std::string("v=\"") + caso.bytes + "\""), std::string::npos) << bytes;
        const auto releido = DocumentoXML::cargar(tmp / "r.xml");
        EXPECT_EQ(std::string(releido.documentElement().attribute("v").value()), caso.valor);
    }
}
