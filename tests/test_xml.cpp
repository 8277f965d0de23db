// The XML document: encodings in and out, the prolog kept, clear errors, no entities.
#include "ayudantes.h"
#include "documento_de_prueba.h"
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
            DocumentoDePrueba::cargar(tmp / "centro.xml");
        } else {
            DocumentoDePrueba::desdeBytes(bytes, "centro.xml");
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
        const auto d = DocumentoDePrueba::desdeBytes(bytes, "x.xml");
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

// No entity is expanded in the tree nor any file read: a declared entity stays as its
// reference, an external one in content too; an external one in an attribute value is not
// well-formed XML, and the document is refused.
TEST(DocumentoXML, NoExpandeEntidadesNiLeeArchivosExternos) {
    const std::string dtd = "<?xml version=\"1.0\"?>\n"
                            "<!DOCTYPE centro [<!ENTITY x SYSTEM \"file:///etc/passwd\">"
                            "<!ENTITY a \"aaaaaaaaaa\"><!ENTITY b \"&a;&a;&a;&a;&a;\">]>\n";
    const auto d =
        DocumentoDePrueba::desdeBytes(dtd + "<centro nombre=\"&b;\">&x;&b;</centro>", "x.xml");
    EXPECT_EQ(std::string(d.documentElement().attribute("nombre").value()), "&b;");
    EXPECT_EQ(std::string(d.documentElement().text().get()), "&x;&b;");
    EXPECT_EQ(mensajeDe(dtd + "<centro nombre=\"&x;&b;\"/>"),
              "El archivo centro.xml no es un XML válido: referencia a una entidad externa en "
              "el valor de un atributo (línea 3, columna 17).");
}

namespace {

// The text in UTF-16, with its byte order mark; the characters are all below U+0100.
std::string utf16(const std::string& latin1, bool le) {
    std::string r = le ? "\xFF\xFE" : "\xFE\xFF";
    for (const char c : latin1)
        r += le ? std::string{c, '\0'} : std::string{'\0', c};
    return r;
}

} // namespace

// Each way a document can fail to be well-formed is refused with its reason and where it
// lies in the user's file, counted in characters, whatever the file's encoding.
TEST(DocumentoXML, RechazaLoQueNoEstaBienFormado) {
    struct Caso {
        const char* nombre;
        std::string bytes;
        const char* razon;
        int linea, columna;
    };
    const std::string decl = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n";
    const std::vector<Caso> casos = {
        {"dos raíces", decl + "<centro/>\n<centro/>\n", "contenido después del elemento raíz", 3,
         1},
        {"dos exportaciones pegadas", decl + "<centro/>\n" + decl + "<centro/>\n",
         "contenido después del elemento raíz", 3, 1},
        {"texto tras la raíz", decl + "<centro/>\nfin", "contenido después del elemento raíz", 3,
         1},
        {"atributo repetido", decl + "<centro>\n  <daula idaula=\"1\" idaula=\"2\"/></centro>",
         "atributo repetido en el mismo elemento", 3, 21},
        {"entidad sin declarar", decl + "<centro>\n  <daula nombre=\"&aula;\"/></centro>",
         "entidad no declarada", 3, 3},
        {"entidad sin declarar en el texto", decl + "<centro>&aula;</centro>",
         "entidad no declarada", 2, 9},
        {"referencia al carácter 0", decl + "<centro>\n  <d v=\"a&#0;\"/></centro>",
         "referencia a un carácter no permitido", 3, 10},
        // The position is where the text stops being XML: the blank after a bare &, the > of
        // ]]>.
        {"& suelto en el texto", decl + "<centro>\nLengua & Literatura</centro>",
         "carácter o marca no permitidos en este lugar", 3, 9},
        {"]]> en el texto", decl + "<centro>\nfin ]]> aquí</centro>",
         "carácter o marca no permitidos en este lugar", 3, 7},
        {"error de sintaxis en el DOCTYPE",
         decl + "<!DOCTYPE centro [\n<!ELEMENT centro ANY\n<!ENTITY e \"x\">]>\n<centro/>",
         "error de sintaxis", 4, 1},
        {"declaración XML tras un blanco", "\n" + decl + "<centro/>",
         "declaración XML fuera del comienzo del documento", 2, 1},
        {"declaración XML dentro de la raíz", "<centro>\n" + decl + "</centro>",
         "declaración XML fuera del comienzo del documento", 2, 1},
        {"carácter U+0001", decl + "<centro>\n  <d v=\"Ana\x01\"/></centro>",
         "carácter o marca no permitidos en este lugar", 3, 12},
        {"byte de control en Latin-1",
         "<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?>\n<centro n=\"Mar\xEDtima\x1B\"/>",
         "carácter o marca no permitidos en este lugar", 2, 20},
        {"elementos sin cerrar", decl + "<centro>\n<materias>",
         "el documento termina con elementos sin cerrar", 3, 11},
        {"entidades que crecen sin medida",
         decl + "<!DOCTYPE centro [<!ENTITY a \"" + std::string(100, 'a') + "\">" +
             "<!ENTITY b \"&a;&a;&a;&a;&a;&a;&a;&a;&a;&a;\"><!ENTITY c "
             "\"&b;&b;&b;&b;&b;&b;&b;&b;&b;&b;\">" +
             "<!ENTITY d \"&c;&c;&c;&c;&c;&c;&c;&c;&c;&c;\"><!ENTITY e "
             "\"&d;&d;&d;&d;&d;&d;&d;&d;&d;&d;\">" +
             "<!ENTITY f \"&e;&e;&e;&e;&e;&e;&e;&e;&e;&e;\">]>\n<centro>&f;</centro>",
         "las entidades se expanden más allá del límite permitido", 3, 9},
        // In the user's file a character of UTF-16 is two bytes, and one of windows-1252 is
        // two in the UTF-8 it is read through: the column still counts characters.
        {"UTF-16LE", utf16("<centro>\n  <d v=\"\xF1\xF1\" v=\"2\"/></centro>", true),
         "atributo repetido en el mismo elemento", 2, 13},
        {"UTF-16LE, en la primera línea", utf16("<centro v=\"1\" v=\"2\"/>", true),
         "atributo repetido en el mismo elemento", 1, 15},
        {"UTF-16BE", utf16("<centro>\n  <d v=\"\xF1\xF1\" v=\"2\"/></centro>", false),
         "atributo repetido en el mismo elemento", 2, 13},
        {"windows-1252",
         "<?xml version=\"1.0\" encoding=\"windows-1252\"?>\n<centro n=\"\x80\x80\x80\"> "
         "&</centro>",
         "carácter o marca no permitidos en este lugar", 2, 19},
        {"UTF-16 con un sustituto suelto",
         std::string("\xFF\xFE<\0c\0>\0\n\0a\0\x00\xD8 \0<\0/\0c\0>\0", 24),
         "carácter o marca no permitidos en este lugar", 2, 2},
    };
    for (const auto& c : casos) {
        SCOPED_TRACE(c.nombre);
        const std::string esperado = std::string("centro.xml no es un XML válido: ") + c.razon +
                                     " (línea " + std::to_string(c.linea) + ", columna " +
                                     std::to_string(c.columna) + ").";
        for (const bool desdeArchivo : {false, true}) {
            const std::string m = mensajeDe(c.bytes, desdeArchivo);
            EXPECT_TRUE(m.starts_with("El archivo ")) << m;
            EXPECT_EQ(m.substr(std::min(m.find("centro.xml"), m.size())), esperado);
        }
    }
}

// A large file is checked while its tree is built: the fault, whether the tree could be built
// or not, is still told with its reason and place, and nothing of the tree is kept.
TEST(DocumentoXML, RechazaLoQueNoEstaBienFormadoEnUnArchivoGrande) {
    struct Caso {
        const char* nombre;
        const char* final;
        const char* razon;
        int columna;
    };
    const std::vector<Caso> casos = {
        // pugixml builds this tree; only expat refuses it.
        {"atributo repetido", "<d v=\"1\" v=\"2\"/></centro>",
         "atributo repetido en el mismo elemento", 10},
        // Both refuse it: expat's reason is the one told.
        {"elementos sin cerrar", "<d>", "el documento termina con elementos sin cerrar", 4},
    };
    std::string cuerpo;
    constexpr int kLineas = 40000; // well past the size worth a thread of its own
    for (int i = 0; i < kLineas; ++i)
        cuerpo += "<d n=\"Mar\xEDtima\"/>\n";
    for (const char* codificacion : {"ISO-8859-1", "windows-1252"})
        for (const auto& c : casos) {
            SCOPED_TRACE(std::string(codificacion) + ", " + c.nombre);
            const std::string bytes = std::string("<?xml version=\"1.0\" encoding=\"") +
                                      codificacion + "\"?>\n<centro>\n" + cuerpo + c.final;
            EXPECT_EQ(mensajeDe(bytes), std::string("El archivo centro.xml no es un XML válido: ") +
                                            c.razon + " (línea " + std::to_string(kLineas + 3) +
                                            ", columna " + std::to_string(c.columna) + ").");
        }
}

// What XML allows and pugixml alone also took is still read, in every encoding.
TEST(DocumentoXML, LeeLoBienFormadoPocoComun) {
    struct Caso {
        const char* nombre;
        std::string bytes;
        std::string nombreDelCentro, texto;
    };
    const std::string decl = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n";
    const std::vector<Caso> casos = {
        {"comentarios", decl + "<!-- a -->\n<centro n=\"x\"><!-- b -->t</centro><!-- c -->\n", "x",
         "t"},
        {"instrucciones de proceso",
         decl + "<?xml-stylesheet href=\"c.xsl\"?><centro n=\"x\"><?velmora v=\"2\"?>t</centro>"
                "<?fin?>",
         "x", "t"},
        {"CDATA", decl + "<centro n=\"x\"><![CDATA[a & b <c> ]] >]]></centro>", "x",
         "a & b <c> ]] >"},
        {"referencias a caracteres",
         decl + "<centro n=\"Mar&#237;tima &#x20AC;\">&#60;&amp;</centro>", "Marítima €", "<&"},
        {"DTD interna con una entidad declarada",
         decl + "<!DOCTYPE centro [<!ELEMENT centro ANY><!ATTLIST centro n CDATA #IMPLIED>"
                "<!ENTITY e \"una entidad\">]>\n<centro n=\"&e;\">&e;</centro>",
         "&e;", "&e;"},
        {"DTD externa, que no se lee",
         decl + "<!DOCTYPE centro SYSTEM \"file:///etc/passwd\">\n<centro n=\"x\">&e;</centro>",
         "x", "&e;"},
        {"UTF-16LE",
         utf16("<?xml version=\"1.0\" encoding=\"UTF-16\"?><centro n=\"Mar\xEDtima\">"
               "t</centro>",
               true),
         "Marítima", "t"},
        {"UTF-16BE",
         utf16("<?xml version=\"1.0\" encoding=\"UTF-16\"?><centro n=\"Mar\xEDtima\">"
               "t</centro>",
               false),
         "Marítima", "t"},
        {"ISO-8859-1",
         "<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?><centro n=\"Mar\xEDtima\">"
         "\xF1</centro>",
         "Marítima", "ñ"},
        {"latin1, otro nombre de ISO-8859-1",
         "<?xml version=\"1.0\" encoding=\"latin1\"?><centro n=\"Mar\xEDtima\">\xF1</centro>",
         "Marítima", "ñ"},
        // Written by a Windows program: its quotes, dashes and euro sign are what was typed;
        // the five bytes windows-1252 leaves undefined stay what they are.
        {"ISO-8859-1 escrito en Windows",
         "<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?><centro n=\"\x91Mar\xEDtima\x92\">"
         "\x80 \x96\x97\x81\x9D</centro>",
         "‘Marítima’", "€ –—\xC2\x81\xC2\x9D"},
        {"l1, otro nombre de ISO-8859-1, escrito en Windows",
         "<?xml version=\"1.0\" encoding=\"l1\"?><centro n=\"\x93x\x94\">\x85</centro>", "“x”",
         "…"},
        {"windows-1252",
         "<?xml version=\"1.0\" encoding=\"windows-1252\"?><centro n=\"Mar\xEDtima\">"
         "\x80</centro>",
         "Marítima", "€"},
        {"con marca de orden de bytes UTF-8", "\xEF\xBB\xBF" + decl + "<centro n=\"x\">t</centro>",
         "x", "t"},
    };
    for (const auto& c : casos) {
        SCOPED_TRACE(c.nombre);
        EXPECT_EQ(mensajeDe(c.bytes, true), "");
        const auto d = DocumentoDePrueba::desdeBytes(c.bytes, "centro.xml");
        EXPECT_EQ(std::string(d.documentElement().attribute("n").value()), c.nombreDelCentro);
        EXPECT_EQ(std::string(d.documentElement().text().get()), c.texto);
    }
}

TEST(DocumentoXML, SeleccionYAtributosRecortados) {
    const auto d = DocumentoDePrueba::desdeBytes(
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
    auto d = DocumentoDePrueba::desdeBytes(latin1, "x.xml");
    Nodo viejo = d.documentElement();
    Nodo nuevo = d.createElement("centro");
    anadirAtributo(nuevo, "nombre", "Ωmega ñ");
    anadirAtributo(nuevo, "dia", "3");
    d.replaceChild(nuevo, viejo);
    DocumentoDePrueba::guardar(d, tmp / "r.xml");
    const std::string bytes = leerArchivo(tmp / "r.xml");
    EXPECT_EQ(bytes.rfind("<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?>", 0), 0u) << bytes;
    EXPECT_NE(bytes.find("<!-- cabecera -->"), std::string::npos);
    // ñ as its Latin-1 byte; Ω, which Latin-1 lacks, as a character reference.
    EXPECT_NE(bytes.find("nombre=\"&#937;mega \xF1\" dia=\"3\""), std::string::npos) << bytes;
    const auto releido = DocumentoDePrueba::cargar(tmp / "r.xml");
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
        auto d = DocumentoDePrueba::desdeBytes(fuente, "x.xml");
        Nodo centro = d.documentElement();
        std::vector<std::string> valores;
        for (int i = 0; i < 20000; ++i) {
            valores.push_back(std::string(static_cast<std::size_t>(i % 7), 'a') + "ñ€Łü\"<&" +
                              std::to_string(i));
            anadirAtributo(centro.append_child("d"), "v", valores.back());
        }
        DocumentoDePrueba::guardar(d, tmp / "g.xml");
        const auto releido = DocumentoDePrueba::cargar(tmp / "g.xml");
        EXPECT_EQ(releido.codificacion(), codificacion);
        std::size_t i = 0;
        for (Nodo n : releido.selectNodes("/centro/d"))
            ASSERT_EQ(std::string(n.attribute("v").value()), valores[i++]);
        EXPECT_EQ(i, valores.size());
    }
}

#ifndef _WIN32 // Windows' UTF-7 writer encodes '<' as well: such a file hides its declaration
// In UTF-7 even ASCII is not always itself ('+' opens an encoded run), so no part of the
// document may skip the conversion, be it all ASCII or not.
TEST(DocumentoXML, UTF7NoTomaElASCIIPorSuyo) {
    CarpetaTemporal tmp;
    for (const std::vector<std::string>& valores :
         {std::vector<std::string>{"1+1=2", "+AGE-"}, std::vector<std::string>{"ñ+ü", "a+b"}}) {
        auto d = DocumentoDePrueba::desdeBytes(
            "<?xml version=\"1.0\" encoding=\"UTF-7\"?><centro/>", "x.xml");
        for (const std::string& v : valores)
            anadirAtributo(d.documentElement().append_child("d"), "v", v);
        DocumentoDePrueba::guardar(d, tmp / "r.xml");
        const auto releido = DocumentoDePrueba::cargar(tmp / "r.xml");
        std::vector<std::string> leidos;
        for (Nodo n : releido.selectNodes("/centro/d"))
            leidos.push_back(n.attribute("v").value());
        EXPECT_EQ(leidos, valores);
    }
}
#endif

// Plain paths are walked without XPath; they must select what XPath selects, in its order.
TEST(DocumentoXML, SeleccionComoXPath) {
    const auto d = DocumentoDePrueba::desdeBytes(
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
        auto d = DocumentoDePrueba::desdeBytes(std::string("<?xml version=\"1.0\" encoding=\"") +
                                                   caso.codificacion + "\"?><centro/>",
                                               "x.xml");
        anadirAtributo(d.documentElement(), "v", caso.valor);
        DocumentoDePrueba::guardar(d, tmp / "r.xml");
        const std::string bytes = leerArchivo(tmp / "r.xml");
        EXPECT_NE(bytes.find(std::string("v=\"") + caso.bytes + "\""), std::string::npos) << bytes;
        const auto releido = DocumentoDePrueba::cargar(tmp / "r.xml");
        EXPECT_EQ(std::string(releido.documentElement().attribute("v").value()), caso.valor);
    }
}

namespace {

// The error cargarCabecera raises for these bytes, read from a file, from the file's name on.
std::string mensajeDeCabecera(const std::string& bytes) {
    CarpetaTemporal tmp;
    escribirArchivo(tmp / "centro.xml", bytes);
    try {
        DocumentoXML::cargarCabecera(tmp / "centro.xml", discoDelSistema());
    } catch (const Error& e) {
        const std::string m = e.what();
        return m.substr(std::min(m.find("centro.xml"), m.size()));
    }
    return "";
}

} // namespace

// A byte that is not UTF-8 is named as such wherever it stands, also where expat would
// otherwise be the first to refuse it: in markup, in a comment, after the root.
TEST(DocumentoXML, RechazaLosBytesQueNoSonUtf8EnCualquierLugar) {
    struct Caso {
        const char* nombre;
        std::string bytes;
        int linea, columna;
    };
    const std::string decl = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n";
    const std::vector<Caso> casos = {
        {"en un atributo", decl + "<centro a=\"ñ\xC3\x28\"/>", 2, 13},
        {"en el texto", decl + "<centro>\nab\x80</centro>", 3, 3},
        {"en un comentario antes de la raíz", decl + "<!-- \xFF -->\n<centro/>", 2, 6},
        {"en un comentario tras la raíz", decl + "<centro/>\n<!-- \xFE -->", 3, 6},
        {"en una sección CDATA", decl + "<centro><![CDATA[\xC0\xAF]]></centro>", 2, 18},
        {"en una instrucción de proceso", decl + "<centro><?pi \xF8\x88\x80\x80\x80?></centro>", 2,
         14},
        {"en la DTD", decl + "<!DOCTYPE centro [<!ENTITY e \"\xED\xA0\x80\">]>\n<centro/>", 2, 31},
        {"en un nombre", decl + "<centro><d\xF4\x90\x80\x80/></centro>", 2, 11},
        {"cortado al final", decl + "<centro/><!--\xE2\x82", 2, 14},
    };
    for (const auto& c : casos) {
        SCOPED_TRACE(c.nombre);
        const std::string esperado =
            "centro.xml no es un XML válido: contiene bytes que no son UTF-8 (línea " +
            std::to_string(c.linea) + ", columna " + std::to_string(c.columna) + ").";
        for (const bool desdeArchivo : {false, true}) {
            const std::string m = mensajeDe(c.bytes, desdeArchivo);
            EXPECT_TRUE(m.starts_with("El archivo ")) << m;
            EXPECT_EQ(m.substr(std::min(m.find("centro.xml"), m.size())), esperado);
        }
        EXPECT_EQ(mensajeDeCabecera(c.bytes), esperado);
    }
}

// The header alone is the whole document without the root's content: what comes before and
// after the root and the root's own attributes are read as a full load reads them, in every
// encoding, and save writes the same bytes.
TEST(DocumentoXML, CabeceraEsElDocumentoSinElContenidoDeLaRaiz) {
    const std::string decl = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n";
    const std::string cuerpo = "<materias><dmateria n=\"1\"/>texto<!-- c --></materias>"
                               "<centro n=\"anidado\"><centro/></centro>";
    const std::vector<std::pair<const char*, std::string>> casos = {
        {"comentarios e instrucciones alrededor",
         decl + "<!-- antes -->\n<?pi uno?>\n<centro n=\"x\" m='y'>" + cuerpo +
             "</centro>\n<!-- después --><?fin?>\n"},
        {"raíz vacía", decl + "<!-- c --><centro n=\"x\"/><!-- d -->"},
        {"raíz vacía sin nada más", "<centro n=\"x\" />"},
        {"etiquetas repartidas en líneas",
         decl + "<centro\n  n=\"a&#10;b&amp;c\"\r\n  m=\"&#237;\"\n>" + cuerpo + "</centro\n>"},
        {"DTD con > en sus valores",
         decl + "<!DOCTYPE centro [<!ENTITY e \"a > b\"><!-- > -->]>\n<centro n=\"&e;\">&e;" +
             cuerpo + "</centro>"},
        {"con marca de orden de bytes UTF-8",
         "\xEF\xBB\xBF" + decl + "<centro n=\"x\">" + cuerpo + "</centro>"},
        {"ISO-8859-1", "<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?>\n<!-- \xF1 -->"
                       "<centro n=\"Mar\xEDtima\">\xF1" +
                           cuerpo + "</centro><!-- \xED -->"},
        {"windows-1252", "<?xml version=\"1.0\" encoding=\"windows-1252\"?>\n"
                         "<centro n=\"\x80\">\x80" +
                             cuerpo + "</centro>"},
        {"ISO-8859-1 escrito en Windows", "<?xml version=\"1.0\" encoding=\"latin1\"?>\n"
                                          "<centro n=\"\x93x\x94\x81\">\x97" +
                                              cuerpo + "</centro><!-- \x85 -->"},
        {"UTF-16LE", utf16("<?xml version=\"1.0\" encoding=\"UTF-16\"?><!-- \xF1 -->"
                           "<centro n=\"Mar\xEDtima\">" +
                               cuerpo + "</centro><!-- fin -->",
                           true)},
        {"UTF-16BE",
         utf16("<?xml version=\"1.0\"?><centro n=\"Mar\xEDtima\">" + cuerpo + "</centro>", false)},
    };
    CarpetaTemporal tmp;
    for (const auto& [nombre, bytes] : casos) {
        SCOPED_TRACE(nombre);
        escribirArchivo(tmp / "centro.xml", bytes);
        ASSERT_EQ(mensajeDe(bytes, true), "");
        auto entero = DocumentoDePrueba::cargar(tmp / "centro.xml");
        entero.documentElement().remove_children();
        DocumentoDePrueba::guardar(entero, tmp / "entero.xml");
        const auto cabecera = DocumentoXML::cargarCabecera(tmp / "centro.xml", discoDelSistema());
        EXPECT_FALSE(cabecera.documentElement().first_child());
        EXPECT_EQ(cabecera.codificacion(), entero.codificacion());
        DocumentoDePrueba::guardar(cabecera, tmp / "cabecera.xml");
        EXPECT_EQ(leerArchivo(tmp / "cabecera.xml"), leerArchivo(tmp / "entero.xml"));
    }
}

// The header alone still checks the whole file: a fault deep in the root's content is
// refused with the words and the position a full load gives.
TEST(DocumentoXML, CabeceraRechazaLoQueElDocumentoEnteroRechaza) {
    const std::string decl = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n";
    const std::string cuerpo = "<materias>\n<dmateria n=\"1\"/>\n</materias>\n";
    const std::vector<std::pair<const char*, std::string>> casos = {
        {"atributo repetido",
         decl + "<centro n=\"x\">\n" + cuerpo + "<d v=\"1\" v=\"2\"/></centro>"},
        {"etiquetas cruzadas", decl + "<centro>" + cuerpo + "<a><b></a></b></centro>"},
        {"entidad sin declarar", decl + "<centro>" + cuerpo + "&aula;</centro>"},
        {"elementos sin cerrar", decl + "<centro>" + cuerpo},
        {"dos raíces", decl + "<centro/>\n<centro/>\n"},
        {"texto tras la raíz", decl + "<centro>" + cuerpo + "</centro>fin"},
        {"Latin-1 con un byte de control",
         "<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?>\n<centro>" + cuerpo +
             "<d n=\"Mar\xEDtima\x1B\"/></centro>"},
        {"UTF-16 con un sustituto suelto",
         std::string("\xFF\xFE<\0c\0>\0\n\0a\0\x00\xD8 \0<\0/\0c\0>\0", 24)},
        {"UTF-16 con atributo repetido",
         utf16("<centro>\n  <d v=\"\xF1\xF1\" v=\"2\"/></centro>", true)},
    };
    for (const auto& [nombre, bytes] : casos) {
        SCOPED_TRACE(nombre);
        const std::string m = mensajeDe(bytes, true);
        const std::string completo = m.substr(std::min(m.find("centro.xml"), m.size()));
        EXPECT_NE(completo, "");
        EXPECT_EQ(mensajeDeCabecera(bytes), completo);
    }
}
