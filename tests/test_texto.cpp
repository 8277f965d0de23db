// Text helpers: trimming, characters rather than bytes, case folding, number conversions.
#include "ayudantes.h"
#include "codigo_pagina.h"
#include "conversor.h"
#include "conversor_latin1.h"
#include "error.h"
#include "sistema.h"
#include "texto.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

using namespace pontavia;
using namespace pontavia::prueba;

TEST(Texto, RecortarQuitaBlancosYControlesDeAmbosLados) {
    EXPECT_EQ(recortar(" \t\r\n ANA \x01"), "ANA");
    EXPECT_EQ(recortar("   "), "");
    EXPECT_EQ(recortar("a b"), "a b");
    EXPECT_EQ(recortar("\xC2\xA0x"), "\xC2\xA0x"); // a no-break space is a character, not a blank
}

TEST(Texto, PrimerosYUltimosCuentanCaracteres) {
    EXPECT_EQ(primeros("Matemáticas I", 10), "Matemática");
    EXPECT_EQ(primeros("Ñu", 10), "Ñu");
    EXPECT_EQ(ultimos("TUTORÍA", 2), "ÍA");
    EXPECT_EQ(subcadena("08:30", 3, 2), "30");
    EXPECT_EQ(subcadena("08:", 3, 2), "");
    EXPECT_EQ(longitud("Miércoles"), 9u);
}

TEST(Texto, PlegarMayusculasRespetaLosAcentos) {
    EXPECT_EQ(plegarMayusculas("ÁNGEL"), plegarMayusculas("ángel"));
    EXPECT_NE(plegarMayusculas("ÁNGEL"), plegarMayusculas("angel"));
    EXPECT_EQ(plegarMayusculas("ANA"), plegarMayusculas("ana"));
}

TEST(Texto, EnterosEstrictos) {
    const std::vector<std::pair<std::string, bool>> casos = {
        {"0", true},   {"-13", true},  {"+7", true},          {"07", true},   {"2147483647", true},
        {"", false},   {"8:", false},  {"2147483648", false}, {"1.0", false}, {" 1", false},
        {"1 ", false}, {"--1", false}, {"+-1", false}};
    for (const auto& [texto, valido] : casos) {
        if (valido) {
            EXPECT_NO_THROW(aEntero(texto)) << texto;
        } else {
            try {
                aEntero(texto);
                ADD_FAILURE() << texto;
            } catch (const Error& e) {
                EXPECT_EQ(std::string(e.what()), "'" + texto + "' is not a valid integer value");
            }
        }
    }
}

TEST(Texto, DecimalesConElSeparadorDeLaConfiguracionRegional) {
    {
        LocaleTemporal es("es_ES.UTF-8");
        EXPECT_DOUBLE_EQ(aDecimal("2,5", sistema::separadorDecimal()), 2.5);
        EXPECT_DOUBLE_EQ(aDecimal("-3", sistema::separadorDecimal()), -3.0);
        EXPECT_THROW(aDecimal("2.5", sistema::separadorDecimal()), Error);
    }
    {
        LocaleTemporal c("C");
        EXPECT_DOUBLE_EQ(aDecimal("2.5", sistema::separadorDecimal()), 2.5);
        for (std::string malo : {"", "dos", "2,5", "2.5.1", "e3", "."}) {
            try {
                aDecimal(malo, sistema::separadorDecimal());
                ADD_FAILURE() << malo;
            } catch (const Error& e) {
                EXPECT_EQ(std::string(e.what()),
                          "'" + malo + "' is not a valid floating point value");
            }
        }
    }
}

// The multibyte dBase pages are the system's to convert: what the page lacks becomes '?'.
TEST(Texto, PaginaDeCodigosMultibyte) {
    const CodigoPagina& gbk = CodigoPagina::porNombre("windows-936");
    EXPECT_FALSE(gbk.asciiIgual());
    bool sustituido = false;
    EXPECT_EQ(gbk.desdeUtf8("中文 A", &sustituido), "\xD6\xD0\xCE\xC4 A");
    EXPECT_FALSE(sustituido);
    EXPECT_EQ(gbk.desdeUtf8("中Ł", &sustituido), "\xD6\xD0?");
    EXPECT_TRUE(sustituido);
    EXPECT_EQ(gbk.aUtf8("\xD6\xD0\xCE\xC4 A"), "中文 A");
    try {
        CodigoPagina::porNombre("ibm-999");
        FAIL() << "una página que nadie conoce";
    } catch (const Error& e) {
        EXPECT_STREQ(e.what(), "Página de códigos desconocida: ibm-999");
    }
}

// A character the page lacks is written as its nearest one, as Windows' best-fit conversion
// writes it, and '?' only when there is none; either way the caller is told, so the report
// can list it.
TEST(Texto, LoQueLaPaginaNoTieneSeEscribeComoSuMasCercano) {
    struct Caso {
        const char* pagina;
        const char* texto;
        const char* escrito;
        bool sustituido;
    };
    const std::vector<Caso> casos = {
        {"windows-1252", "Łukaszewicz", "Lukaszewicz", true},
        {"windows-1252", "Erdős", "Erdos", true},
        {"windows-1252", "Đorđe Øst", "Dorde \xD8st", true},
        {"windows-1252", "ﬁn 😀", "?n ?", true},
        {"windows-1252", "’clásica’ — 5 €",
         "\x92"
         "cl\xE1sica\x92 \x97 5 \x80",
         false},
        {"ibm-850", "“Física” — 1º", "\"F\xA1sica\" - 1\xA7", true},
        {"ibm-437", "Ørsted ‹a›", "Orsted <a>", true},
        {"ibm-437", "´¨", "??", true},
        {"windows-1250", "Łódź ő",
         "\xA3\xF3"
         "d\x9F \xF5",
         false},
    };
    for (const Caso& c : casos) {
        SCOPED_TRACE(std::string(c.pagina) + " " + c.texto);
        bool sustituido = false;
        EXPECT_EQ(CodigoPagina::porNombre(c.pagina).desdeUtf8(c.texto, &sustituido), c.escrito);
        EXPECT_EQ(sustituido, c.sustituido);
    }
}

// ISO-8859-1 and its other names read as windows-1252, as browsers and Windows read them:
// bytes 0x80 to 0x9F are what a Windows program wrote there, and the five that windows-1252
// leaves undefined read as themselves. It is written as ISO-8859-1 proper.
TEST(Texto, Latin1SeLeeComoWindows1252) {
    const std::string bytes = "\x80\x81\x8D\x8F\x90\x92\x93\x94\x96\x97\x9D\x9F\xA0\xE1\xFF";
    const std::string leido = "€\xC2\x81\xC2\x8D\xC2\x8F\xC2\x90’“”–—\xC2\x9DŸ\xC2\xA0áÿ";
    for (const char* nombre : {"ISO-8859-1", "iso-8859-1", "latin1", "L1", "ISO_8859-1", "cp819",
                               "iso_8859-1:1987", "CSISOLATIN1"}) {
        SCOPED_TRACE(nombre);
        auto conv = Conversor::abrir(nombre, Conversor::Sustituto::ReferenciaXML);
        ASSERT_TRUE(conv);
        EXPECT_EQ(conv->aUtf8(bytes), leido);
        EXPECT_EQ(conv->desdeUtf8("á’€\xC2\x81"), "\xE1&#8217;&#8364;\x81");
    }
    EXPECT_FALSE(esLatin1("windows-1252"));
    EXPECT_FALSE(esLatin1("latin2"));

    // Whether a file holds such a byte, wherever it lies (words of eight are tested at once).
    for (std::size_t largo : {1u, 7u, 8u, 9u, 31u, 32u, 33u, 70u}) {
        for (std::size_t en = 0; en < largo; ++en) {
            for (const char b : {'\x80', '\x9F', '\x7F', '\xA0', '\xE0', '\x00'}) {
                std::string t(largo, 'a');
                t[en] = b;
                const bool esperado = b == '\x80' || b == '\x9F';
                EXPECT_EQ(conBytesDeWindows(t), esperado) << largo << " " << en << " " << int(b);
            }
        }
    }
    EXPECT_FALSE(conBytesDeWindows(""));
}
